// Registration never breaks a machine with the real device control: another file's class is
// left alone unless forced, removal touches only our own registration and leaves nothing.
#include <olectl.h>
#include <ole2.h>

#include "activex/com_ptr.h"
#include "activex/registry_table.h"
#include "activex/server_module.h"
#include "common/utf16.h"
#include "device/win32/registration.h"
#include "device_test_support.h"
#include "tevrin5_typelib.h"

namespace device::test {
namespace {

const std::wstring kClassKey = activex::ClassKey(CLSID_Tevrin5);
const std::wstring kServerKey = kClassKey + L"\\InprocServer32";
const std::wstring kOtherFile = L"C:\\Program Files\\Real\\RealDevice.ocx";

bool KeyExists(const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void RegisterOtherFile() {
  activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, std::vector<activex::RegistryEntry>{
                                                        {kClassKey, L"", L"The real one"}, {kServerKey, L"", kOtherFile}});
}

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(S_OK, OleInitialize(nullptr)); }
  void TearDown() override {
    library_.Install(true, L"force");  // the other tests want the device registered
    OleUninitialize();
  }
  DeviceLibrary library_;
};

TEST_F(RegistrationTest, RegisteringWritesTheClassAndItsTypeLibraryPointingHere) {
  ASSERT_EQ(S_OK, library_.Call("DllRegisterServer"));
  ASSERT_EQ(S_OK, library_.Call("DllRegisterServer"));  // again: already ours
  std::wstring server = activex::ReadRegistryText(HKEY_CLASSES_ROOT, kServerKey);
  EXPECT_NE(std::wstring::npos, server.find(L"devsim.dll"));
  EXPECT_EQ(L"Apartment", activex::ReadRegistryText(HKEY_CLASSES_ROOT, kServerKey, L"ThreadingModel"));
  EXPECT_TRUE(KeyExists(kClassKey + L"\\Control"));
  EXPECT_TRUE(KeyExists(L"TypeLib\\{3B0F6C52-8E7A-4D1C-9F25-6A1D0E4B7C90}"));
}

TEST_F(RegistrationTest, AnotherFilesRegistrationIsRefusedWithAMessageAndKept) {
  library_.Call("DllUnregisterServer");
  RegisterOtherFile();
  EXPECT_EQ(device::kClassHeldByAnother, library_.Call("DllRegisterServer"));
  activex::ComPtr<IErrorInfo> info;
  ASSERT_EQ(S_OK, GetErrorInfo(0, info.Put()));
  BSTR description = nullptr;
  info->GetDescription(&description);
  EXPECT_NE(nullptr, wcsstr(description, kOtherFile.c_str()));
  SysFreeString(description);
  EXPECT_EQ(kOtherFile, activex::ReadRegistryText(HKEY_CLASSES_ROOT, kServerKey));

  EXPECT_EQ(device::kClassHeldByAnother, library_.Call("DllUnregisterServer"));
  EXPECT_EQ(kOtherFile, activex::ReadRegistryText(HKEY_CLASSES_ROOT, kServerKey));

  ToolRun refused = RunDevctl(L"register");
  EXPECT_EQ(1, refused.exitCode);
  EXPECT_NE(std::wstring::npos, refused.output.find(L"already registered to " + kOtherFile));
  ToolRun forced = RunDevctl(L"register --force");
  EXPECT_EQ(0, forced.exitCode);
  EXPECT_NE(std::wstring::npos, activex::ReadRegistryText(HKEY_CLASSES_ROOT, kServerKey).find(L"devsim.dll"));
}

TEST_F(RegistrationTest, RemovalLeavesNothingOfOursBehind) {
  ASSERT_EQ(S_OK, library_.Install(true, L"force"));
  ASSERT_EQ(S_OK, library_.Call("DllUnregisterServer"));
  EXPECT_FALSE(KeyExists(kClassKey));
  EXPECT_FALSE(KeyExists(L"SimulatedDevice.Tevrin5"));
  EXPECT_FALSE(KeyExists(L"TypeLib\\{3B0F6C52-8E7A-4D1C-9F25-6A1D0E4B7C90}"));
  EXPECT_FALSE(KeyExists(L"Interface\\{0A16189E-10E9-4A76-8D2D-0A8F1AD4729A}"));
  EXPECT_TRUE(KeyExists(L"CLSID"));
}

TEST_F(RegistrationTest, TheToolRefusesALibraryWithoutDllInstall) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"devctl-without-install\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(BuiltFile(L"devctl.exe").c_str(), (folder + L"devctl.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((activex::ModuleFolder() + L"\\no_install.dll").c_str(), (folder + L"devsim.dll").c_str(), FALSE));
  const ToolRun run = RunProgram(L"\"" + folder + L"devctl.exe\" register");
  EXPECT_EQ(1, run.exitCode);
  EXPECT_NE(std::wstring::npos, run.output.find(L"has no DllInstall")) << common::ToUtf8(run.output);
  DeleteFileW((folder + L"devctl.exe").c_str());
  DeleteFileW((folder + L"devsim.dll").c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace device::test
