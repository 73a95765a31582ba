// A test fixture with OLE initialised on the test's thread (a single-threaded apartment).
#pragma once

#include <ole2.h>

#include <gtest/gtest.h>

namespace activex::test {

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(S_OK, OleInitialize(nullptr)); }
  void TearDown() override { OleUninitialize(); }
};

// Sends and posts every waiting message of the thread.
void PumpMessages();

}  // namespace activex::test
