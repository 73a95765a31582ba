// The version record of tevrin4.dll, as installers and file-property pages read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/tests/wine_paths.h"

namespace {

class VersionRecordTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = test::Tevrin4Path();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_NE(size, 0u);
    record_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, record_.data()));
  }

  std::wstring Text(const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\041F04E6\\" + name;
    if (!VerQueryValueW(record_.data(), query.c_str(), &value, &length)) return L"<missing>";
    return length ? std::wstring(static_cast<const wchar_t*>(value)) : std::wstring();
  }

  std::vector<BYTE> record_;
};

TEST_F(VersionRecordTest, FixedPart) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 4));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 4));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, static_cast<DWORD>(VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(VersionRecordTest, TurkishStrings) {
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x041F);
  EXPECT_EQ(translation[1], 1254);

  EXPECT_EQ(Text(L"FileDescription"), L"Upgrade tevrin45");
  EXPECT_EQ(Text(L"FileVersion"), L"4.5.0.0");
  EXPECT_EQ(Text(L"InternalName"), L"Upgrade tevrin45");
  EXPECT_EQ(Text(L"LegalTrademarks"), L"Kallora");
  EXPECT_EQ(Text(L"OriginalFilename"), L"tevrin45");
  EXPECT_EQ(Text(L"ProductName"), L"tevrin45");
  EXPECT_EQ(Text(L"ProductVersion"), L"4.5.x.x");
  EXPECT_EQ(Text(L"Comments"), L"Upgrade tevrin45");
  EXPECT_EQ(Text(L"OleSelfRegister"), L"1");
  EXPECT_EQ(Text(L"PrivateBuild"), L"");
  EXPECT_EQ(Text(L"SpecialBuild"), L"");
  EXPECT_EQ(Text(L"CompanyName"), L"www.kallora.com");
  EXPECT_EQ(Text(L"LegalCopyright"), L"www.kallora.com");
}

}  // namespace
