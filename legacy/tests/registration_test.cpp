// regsvr32 on tevrin4.dll copied into a folder whose name has a blank: exactly the table's
// entries, the same after a second registration, and nothing of them after /u.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/tests/wine_paths.h"

namespace {

const std::wstring kClassKey = L"CLSID\\{999DD9D2-8906-4232-98EF-9EECB9B10DAD}";
const std::wstring kTypeLibKey = L"TypeLib\\{4AAD3155-8546-42E7-A128-4402831C13C4}";
const std::wstring kFolder = L"C:\\Kallora Legacy Test";
const std::wstring kLibrary = kFolder + L"\\tevrin4.dll";

// The value, or "<missing>" when the key or the value does not exist.
std::wstring Read(const std::wstring& key, const wchar_t* valueName = nullptr) {
  wchar_t text[1024];
  DWORD bytes = sizeof text;
  DWORD type = 0;
  const LONG status = RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), valueName, RRF_RT_ANY, &type, text, &bytes);
  if (status != ERROR_SUCCESS) return L"<missing>";
  if (type != REG_SZ) return L"<not a string>";
  return text;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

DWORD RunRegsvr32(const std::wstring& arguments) {
  std::wstring command = L"regsvr32.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::wstring ShortPathOf(const std::wstring& path) {
  wchar_t text[MAX_PATH];
  const DWORD length = GetShortPathNameW(path.c_str(), text, MAX_PATH);
  return length && length < MAX_PATH ? std::wstring(text, length) : path;
}

class RegistrationTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryW(kFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(test::Tevrin4Path().c_str(), kLibrary.c_str(), FALSE));
  }
  static void TearDownTestSuite() {
    RunRegsvr32(L"/s /u \"" + kLibrary + L"\"");
    DeleteFileW(kLibrary.c_str());
    RemoveDirectoryW(kFolder.c_str());
  }

  void ExpectTheTable() {
    const std::wstring shortPath = ShortPathOf(kLibrary);
    EXPECT_NE(shortPath, kLibrary) << "the test needs a volume with short names";
    EXPECT_EQ(Read(kClassKey), L"KalloraPlus Control");
    EXPECT_EQ(Read(kClassKey + L"\\InprocServer32"), shortPath);
    EXPECT_EQ(Read(kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
    EXPECT_EQ(Read(L"Upgrade_v4.KalloraPlus"), L"KalloraPlus Control");
    EXPECT_EQ(Read(L"Upgrade_v4.KalloraPlus\\Clsid"), L"{999DD9D2-8906-4232-98EF-9EECB9B10DAD}");
    EXPECT_EQ(Read(kClassKey + L"\\ProgID"), L"Upgrade_v4.KalloraPlus");
    EXPECT_EQ(Read(kClassKey + L"\\Version"), L"1.0");
    EXPECT_EQ(Read(kClassKey + L"\\TypeLib"), L"{4AAD3155-8546-42E7-A128-4402831C13C4}");
    EXPECT_EQ(Read(kClassKey + L"\\MiscStatus"), L"0");
    EXPECT_EQ(Read(kClassKey + L"\\MiscStatus\\1"), L"205201");
    EXPECT_EQ(Read(kClassKey + L"\\ToolboxBitmap32"), kLibrary + L",1");
    EXPECT_EQ(Read(kClassKey + L"\\Control"), L"");
    EXPECT_EQ(Read(kClassKey + L"\\Verb"), L"");
    EXPECT_EQ(Read(kClassKey + L"\\Verb\\0"), L"Properties,0,2");
    // The type library is registered under its long path.
    EXPECT_EQ(Read(kTypeLibKey + L"\\1.0\\0\\win32"), kLibrary);
    EXPECT_EQ(Read(kTypeLibKey + L"\\1.0\\HELPDIR"), kFolder);
  }
};

TEST_F(RegistrationTest, WritesTheTableTwiceTheSameAndRemovesIt) {
  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ExpectTheTable();
  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ExpectTheTable();

  ASSERT_EQ(RunRegsvr32(L"/s /u \"" + kLibrary + L"\""), 0u);
  for (const wchar_t* key : {L"\\Verb\\0", L"\\Verb", L"\\Control", L"\\ToolboxBitmap32", L"\\MiscStatus\\1",
                             L"\\MiscStatus", L"\\TypeLib", L"\\Version", L"\\ProgID", L"\\InprocServer32", L""})
    EXPECT_FALSE(KeyExists(kClassKey + key)) << testing::PrintToString(kClassKey + key);
  EXPECT_FALSE(KeyExists(L"Upgrade_v4.KalloraPlus\\Clsid"));
  EXPECT_FALSE(KeyExists(L"Upgrade_v4.KalloraPlus"));
  EXPECT_FALSE(KeyExists(kTypeLibKey + L"\\1.0"));
}

}  // namespace
