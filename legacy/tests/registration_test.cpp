// regsvr32 on tevrin4.dll copied into a folder whose name has a blank: exactly the table's
// entries, the same after a second registration, and nothing of them after /u; with the other
// width's server registered too, /u of one leaves the other's registration whole; a refused
// registration returns the system's reason.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/tests/wine_paths.h"

namespace {

const std::wstring kClassKey = L"CLSID\\{999DD9D2-8906-4232-98EF-9EECB9B10DAD}";
const std::wstring kTypeLibKey = L"TypeLib\\{4AAD3155-8546-42E7-A128-4402831C13C4}";
const std::wstring kFolder = L"C:\\Kallora Legacy Test";
const std::wstring kLibrary = kFolder + L"\\tevrin4.dll";
const std::wstring kInterfaceKey = L"Interface\\{9956A803-787B-4B43-8684-7B7A10BFB3AB}";
constexpr bool kWin64 = sizeof(void*) == 8;
const std::wstring kOwnPathKey = kTypeLibKey + (kWin64 ? L"\\1.0\\0\\win64" : L"\\1.0\\0\\win32");
const std::wstring kOtherPathKey = kTypeLibKey + (kWin64 ? L"\\1.0\\0\\win32" : L"\\1.0\\0\\win64");

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

void WriteText(const std::wstring& key, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

DWORD RunProgram(std::wstring command) {
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

DWORD RunRegsvr32(const std::wstring& arguments) { return RunProgram(L"regsvr32.exe " + arguments); }

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
    // The type library is registered under its long path, for the width of this server.
    EXPECT_EQ(Read(kOwnPathKey), kLibrary);
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

TEST_F(RegistrationTest, RemovalLeavesWhatTheOtherWidthShares) {
  const std::wstring otherServer = L"C:\\Other Width\\tevrin4.dll";
  WriteText(kOtherPathKey, otherServer);
  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ASSERT_TRUE(KeyExists(kInterfaceKey));
  ASSERT_EQ(RunRegsvr32(L"/s /u \"" + kLibrary + L"\""), 0u);
  EXPECT_FALSE(KeyExists(kClassKey));
  EXPECT_FALSE(KeyExists(kOwnPathKey));
  EXPECT_EQ(Read(kOtherPathKey), otherServer);
  EXPECT_NE(Read(kTypeLibKey + L"\\1.0\\FLAGS"), L"<missing>");
  EXPECT_TRUE(KeyExists(kInterfaceKey));
  EXPECT_TRUE(KeyExists(L"Upgrade_v4.KalloraPlus\\Clsid"));  // the other width's hosts find it by name

  // Alone again, the server's removal takes the whole library away.
  RegDeleteKeyW(HKEY_CLASSES_ROOT, kOtherPathKey.c_str());
  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ASSERT_EQ(RunRegsvr32(L"/s /u \"" + kLibrary + L"\""), 0u);
  EXPECT_FALSE(KeyExists(kTypeLibKey + L"\\1.0"));
  EXPECT_FALSE(KeyExists(kInterfaceKey));
  EXPECT_FALSE(KeyExists(L"Upgrade_v4.KalloraPlus"));
}

// A registration that the system refuses returns the system's own code, as regsvr32 shows it,
// rather than E_FAIL: here the process's classes root is a scratch key whose CLSID key is
// volatile, so no lasting class key can be made under it.
TEST_F(RegistrationTest, AFailureReturnsTheSystemsReason) {
  const wchar_t scratchName[] = L"Software\\KalloraScratchRoot";
  HKEY scratch = nullptr, classes = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratchName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExW(scratch, L"CLSID", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &classes,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(classes);
  const HMODULE library = LoadLibraryW(kLibrary.c_str());
  ASSERT_NE(library, nullptr);
  using Export = HRESULT(STDAPICALLTYPE*)();
  const auto registerServer =
      reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
  ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, scratch), ERROR_SUCCESS);
  const HRESULT result = registerServer();
  RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
  RegCloseKey(scratch);
  RegDeleteTreeW(HKEY_CURRENT_USER, scratchName);
  FreeLibrary(library);
  EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE));
  EXPECT_FALSE(KeyExists(kClassKey));
}

#ifdef TEVRIN4_32BIT_PATH
// Both real servers in one 64-bit prefix, each registered by the regsvr32 of its own width;
// a 32-bit script host stands for the 32-bit hosts.
bool Creates32Bit() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring script = std::wstring(folder) + L"kallora_32bit.vbs";
  const HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char text[] = "Set k = CreateObject(\"Upgrade_v4.KalloraPlus\")\r\nWScript.Quit 7\r\n";
  DWORD written = 0;
  WriteFile(file, text, sizeof text - 1, &written, nullptr);
  CloseHandle(file);
  const DWORD code = RunProgram(L"C:\\windows\\syswow64\\cscript.exe //Nologo \"" + script + L"\"");
  DeleteFileW(script.c_str());
  return code == 7;
}

bool Creates64Bit() {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(L"Upgrade_v4.KalloraPlus", &clsid))) return false;
  IUnknown* control = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&control))))
    return false;
  control->Release();
  return true;
}

TEST_F(RegistrationTest, BothWidthsRegisteredEachSurvivesTheOthersRemoval) {
  wchar_t runs32[8] = {};
  if (!GetEnvironmentVariableW(L"WINE_32BIT", runs32, 8) || std::wstring(runs32) != L"yes" ||
      GetFileAttributesW(TEVRIN4_32BIT_PATH) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "this machine runs no 32-bit programs, or the 32-bit server is not built";
  // The 32-bit script host's control would need a 32-bit device control registered in this
  // prefix; without one its creation stops at the failure box and the run never ends.
  GTEST_SKIP() << "no 32-bit device control is registered in the 64-bit prefix";
  OleInitialize(nullptr);
  const std::wstring library32 = kFolder + L"\\tevrin4_32.dll";
  ASSERT_TRUE(CopyFileW(TEVRIN4_32BIT_PATH, library32.c_str(), FALSE));
  const std::wstring regsvr32Of32 = L"C:\\windows\\syswow64\\regsvr32.exe /s ";

  ASSERT_EQ(RunProgram(regsvr32Of32 + L"\"" + library32 + L"\""), 0u);
  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ASSERT_EQ(RunRegsvr32(L"/s /u \"" + kLibrary + L"\""), 0u);
  EXPECT_TRUE(Creates32Bit());
  EXPECT_EQ(Read(kTypeLibKey + L"\\1.0\\0\\win32"), library32);

  ASSERT_EQ(RunRegsvr32(L"/s \"" + kLibrary + L"\""), 0u);
  ASSERT_EQ(RunProgram(regsvr32Of32 + L"/u \"" + library32 + L"\""), 0u);
  EXPECT_TRUE(Creates64Bit());
  EXPECT_EQ(Read(kTypeLibKey + L"\\1.0\\0\\win64"), kLibrary);
  EXPECT_TRUE(KeyExists(kInterfaceKey));
  DeleteFileW(library32.c_str());
  OleUninitialize();
}
#endif

}  // namespace
