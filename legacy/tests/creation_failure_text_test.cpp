#include <gtest/gtest.h>

#include "legacy/server/creation_failure_text.h"

namespace legacy::server {
namespace {

TEST(CreationFailureText, EndsInAFullStopUnlessTheMessageEndsBeforeIt) {
  EXPECT_EQ(CreationFailureText(L"Class not registered"), L"Class not registered.");
  EXPECT_EQ(CreationFailureText(L"Out of memory."), L"Out of memory.");
  EXPECT_EQ(CreationFailureText(L"Failed!"), L"Failed!");     // '!' sorts before '.'
  EXPECT_EQ(CreationFailureText(L"code (5)"), L"code (5)");   // ')' too
  EXPECT_EQ(CreationFailureText(L"error 5"), L"error 5.");    // digits sort after it
  EXPECT_EQ(CreationFailureText(L"Cihaz yok ğ"), L"Cihaz yok ğ.");
  EXPECT_EQ(CreationFailureText(L"a/"), L"a/.");
  EXPECT_EQ(CreationFailureText(L""), L"");
}

}  // namespace
}  // namespace legacy::server
