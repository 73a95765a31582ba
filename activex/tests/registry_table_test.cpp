// Registry tables: the entries of a control in their order, written and removed again.
#include "activex/registry_table.h"

#include <gtest/gtest.h>

#include "activex_test_typelib.h"
#include "common/error.h"

namespace activex::test {
namespace {

const wchar_t kRoot[] = L"Software\\ActiveXRegistryTest";

class RegistryTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr));
  }
  void TearDown() override {
    RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
  }
  bool Exists(const std::wstring& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root_, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
  }
  DWORD SubkeyCount() {
    DWORD count = 0;
    RegQueryInfoKeyW(root_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return count;
  }

  HKEY root_ = nullptr;
};

ControlRegistration Registration(const std::wstring& path) {
  return {CLSID_TestControl, L"Test Control", path, L"Both", L"ActiveXTestLib.TestControl", L"1.0",
          RegistryForm(LIBID_ActiveXTestLib), 205201, L"1", {L"Properties,0,2"}, L""};
}

TEST(RegistryForm, IsBracedUpperCase) {
  EXPECT_EQ(L"{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}", RegistryForm(CLSID_TestControl));
  EXPECT_EQ(L"CLSID\\{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}", ClassKey(CLSID_TestControl));
}

TEST(ControlRegistryEntries, ListTheControlsKeysInWritingOrder) {
  auto entries = ControlRegistryEntries(Registration(L"C:\\x\\t.dll"));
  const std::wstring c = L"CLSID\\{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}";
  std::vector<RegistryEntry> expected{
      {c, L"", L"Test Control"},
      {c + L"\\InprocServer32", L"", L"C:\\x\\t.dll"},
      {c + L"\\InprocServer32", L"ThreadingModel", L"Both"},
      {L"ActiveXTestLib.TestControl", L"", L"Test Control"},
      {L"ActiveXTestLib.TestControl\\Clsid", L"", L"{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}"},
      {c + L"\\ProgID", L"", L"ActiveXTestLib.TestControl"},
      {c + L"\\Version", L"", L"1.0"},
      {c + L"\\TypeLib", L"", L"{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E01}"},
      {c + L"\\MiscStatus", L"", L"0"},
      {c + L"\\MiscStatus\\1", L"", L"205201"},
      {c + L"\\ToolboxBitmap32", L"", L"C:\\x\\t.dll,1"},
      {c + L"\\Control", L"", L""},
      {c + L"\\Verb", L"", L""},
      {c + L"\\Verb\\0", L"", L"Properties,0,2"},
  };
  ASSERT_EQ(expected.size(), entries.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].key, entries[i].key) << i;
    EXPECT_EQ(expected[i].valueName, entries[i].valueName) << i;
    EXPECT_EQ(expected[i].value, entries[i].value) << i;
  }
}

TEST_F(RegistryTableTest, WritingTwiceLeavesTheSameEntriesAndRemovingLeavesNothing) {
  auto entries = ControlRegistryEntries(Registration(L"C:\\x\\t.dll"));
  WriteRegistryEntries(root_, entries);
  WriteRegistryEntries(root_, entries);
  for (const auto& entry : entries) EXPECT_EQ(entry.value, ReadRegistryText(root_, entry.key, entry.valueName)) << entry.key.c_str();
  EXPECT_TRUE(Exists(L"CLSID\\{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}\\Control"));
  RemoveRegistryEntries(root_, entries);
  EXPECT_FALSE(Exists(L"CLSID\\{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}"));
  EXPECT_FALSE(Exists(L"ActiveXTestLib.TestControl"));
  EXPECT_TRUE(Exists(L"CLSID"));  // a key outside the table stays
}

TEST_F(RegistryTableTest, RemovingPassesOverKeysItCannotDelete) {
  auto entries = ControlRegistryEntries(Registration(L"C:\\x\\t.dll"));
  WriteRegistryEntries(root_, entries);
  WriteRegistryEntries(root_, std::vector<RegistryEntry>{{L"ActiveXTestLib.TestControl\\Foreign", L"", L"x"}});
  RemoveRegistryEntries(root_, entries);
  EXPECT_TRUE(Exists(L"ActiveXTestLib.TestControl\\Foreign"));
  EXPECT_FALSE(Exists(L"CLSID\\{6E3C8D21-4B1F-4C55-9A0E-2F7B8C1D9E04}"));
}

TEST_F(RegistryTableTest, AFailureToWriteRaisesTheRegistrationError) {
  HKEY closed = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kRoot, 0, KEY_READ, &closed));
  RegCloseKey(closed);
  std::vector<RegistryEntry> entries{{L"Sub", L"", L"x"}};
  try {
    WriteRegistryEntries(closed, entries);
    ADD_FAILURE() << "no failure";
  } catch (const common::Error& error) {
    EXPECT_EQ(L"Error creating system registry entry", error.Message());
  }
}

TEST(InprocServerPath, IsTheShortFormOnlyWhenThePathHasABlank) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"with blank folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring file = folder + L"\\server.dll";
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::wstring shortPath = InprocServerPath(file);
  EXPECT_EQ(std::wstring::npos, shortPath.find(L' '));
  EXPECT_NE(file, shortPath);
  EXPECT_EQ(L"C:\\plain\\server.dll", InprocServerPath(L"C:\\plain\\server.dll"));
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace activex::test
