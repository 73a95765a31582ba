// Under Wine the tests run in the Turkish locale: the conversions really use code page 1254.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/code_page.h"
#include "common/device_int.h"
#include "common/error.h"

namespace common {
namespace {

TEST(AnsiCodePage, IsTheTurkishOneAndDrivesTheConversion) {
  ASSERT_EQ(GetACP(), 1254u);
  EXPECT_EQ(ToAnsi(L"\u011f\u0131\u015f"), "\xf0\xfd\xfe");
  EXPECT_EQ(DeviceTextToInt(L" -$1F"), -31);
  EXPECT_THROW(DeviceTextToInt(L"3\u0131"), ConvertError);
}

}  // namespace
}  // namespace common
