// The settings window under Wine, driven as a user would through its controls' messages: each
// choice lands in its scope and is read back as the device control reads it, and who answers as
// the device control changes only in an elevated run.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "activex/registry_table.h"
#include "common/utf16.h"
#include "device/win32/registration.h"
#include "opencid/win32/settings/device_owner.h"
#include "opencid/win32/settings/settings_window.h"
#include "opencid/win32/source_settings.h"

namespace opencid::settings {
namespace {

std::wstring WinePath(const char* built) {
  std::wstring path = common::FromUtf8(built);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path.starts_with(L"\\") ? L"Z:" + path : path;
}

class SettingsWindow {
 public:
  explicit SettingsWindow(bool elevated, const std::wstring& devsimPath = WinePath(DEVSIM_PATH))
      : window_(CreateSettingsWindow(GetModuleHandleW(nullptr), {elevated, WinePath(OPENCID_PATH), devsimPath})) {}
  ~SettingsWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;

  HWND Control(int id) const { return GetDlgItem(window_, id); }
  std::wstring Text(int id) const {
    wchar_t text[512] = {};
    GetWindowTextW(Control(id), text, 512);
    return text;
  }
  // Chooses as a click does, fills the fields, and presses "Kaydet"; returns what the window says.
  std::wstring Save(int choice, const wchar_t* host = L"", const wchar_t* port = L"", const wchar_t* serialPort = L"") {
    SendMessageW(Control(choice), BM_CLICK, 0, 0);
    SetWindowTextW(Control(kHostEdit), host);
    SetWindowTextW(Control(kPortEdit), port);
    SetWindowTextW(Control(kSerialPortBox), serialPort);
    SendMessageW(Control(kSaveButton), BM_CLICK, 0, 0);
    return Text(kResultText);
  }

 private:
  HWND window_;
};

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

TEST(SourceSettingsWindow, SavesEachChoiceInItsScopeAndChangesTheDeviceOnlyWhenElevated) {
  ForgetSource(SourceScope::User);
  ForgetSource(SourceScope::Machine);
  {
    SettingsWindow machine(true);
    EXPECT_EQ(L"Bu bilgisayarın tüm kullanıcıları için kaydedilir.", machine.Text(kScopeText));
    EXPECT_EQ(L"Arayan numara kaynağı", [&] {
      wchar_t title[64] = {};
      GetWindowTextW(GetParent(machine.Control(kSaveButton)), title, 64);
      return std::wstring(title);
    }());

    EXPECT_EQ(0u, machine.Save(kServerChoice, L"192.0.2.7", L"4444").find(L"Kaydedildi."));
    EffectiveSource read = ReadSource();
    EXPECT_EQ(SourceScope::Machine, read.scope);
    EXPECT_EQ(L"ncid=192.0.2.7:4444", read.source.Text());
    EXPECT_TRUE(EndsWith(device::RegisteredServer(), L"opencid.dll")) << device::RegisteredServer();

    EXPECT_EQ(L"Kaydedilmedi: Bağlantı noktası 1 ile 65535 arasında bir sayı olmalı.",
              machine.Save(kServerChoice, L"192.0.2.8", L"70000"));
    EXPECT_EQ(L"ncid=192.0.2.7:4444", ReadSource().source.Text());

    EXPECT_EQ(0u, machine.Save(kSimulatedChoice).find(L"Kaydedildi."));
    EXPECT_TRUE(EndsWith(device::RegisteredServer(), L"devsim.dll")) << device::RegisteredServer();
    EXPECT_EQ(L"ncid=192.0.2.7:4444", ReadSource().source.Text()) << "the source stays for a later choice";

    EXPECT_EQ(0u, machine.Save(kVendorChoice).find(L"Kaydedildi."));
    EXPECT_EQ(L"", device::RegisteredServer()) << "the place is left to the vendor's own registration";

    const auto vendor = device::DeviceRegistryEntries(L"C:\\vendor\\tevrin5.ocx");
    activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, vendor);
    const std::wstring refused = machine.Save(kServerChoice, L"192.0.2.9", L"3333");
    EXPECT_EQ(0u, refused.find(L"Kaynak kaydedildi, ama cihaz denetiminin yerine geçilemedi: ")) << common::ToUtf8(refused);
    EXPECT_EQ(L"ncid=192.0.2.9:3333", ReadSource().source.Text());
    EXPECT_EQ(0u, machine.Save(kVendorChoice).find(L"Kaydedildi."));
    EXPECT_EQ(L"C:\\vendor\\tevrin5.ocx", device::RegisteredServer()) << "the vendor's registration is never taken";
    activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, vendor);
  }
  {
    // An installation without the simulated device.
    SettingsWindow withoutSimulated(true, WinePath(DEVSIM_PATH) + L".absent");
    EXPECT_FALSE(IsWindowEnabled(withoutSimulated.Control(kSimulatedChoice)));
    EXPECT_EQ(0u, withoutSimulated.Save(kServerChoice, L"192.0.2.9", L"3333").find(L"Kaydedildi."));
    EXPECT_TRUE(EndsWith(device::RegisteredServer(), L"opencid.dll")) << device::RegisteredServer();
    EXPECT_EQ(0u, withoutSimulated.Save(kVendorChoice).find(L"Kaydedildi."));
    EXPECT_EQ(L"", device::RegisteredServer());
  }
  {
    SettingsWindow user(false);
    EXPECT_EQ(L"Yalnızca sizin için kaydedilir.", user.Text(kScopeText));
    EXPECT_FALSE(IsWindowEnabled(user.Control(kVendorChoice)));
    EXPECT_FALSE(IsWindowEnabled(user.Control(kSimulatedChoice)));
    EXPECT_EQ(L"192.0.2.9", user.Text(kHostEdit)) << "the window opens on the source in force";

    EXPECT_EQ(0u, user.Save(kModemChoice, L"", L"", L"COM5").find(L"Kaydedildi."));
    EffectiveSource read = ReadSource();
    EXPECT_EQ(SourceScope::User, read.scope);
    EXPECT_EQ(L"modem=COM5", read.source.Text());
    EXPECT_EQ(L"", device::RegisteredServer());
    ForgetSource(SourceScope::User);
    EXPECT_EQ(L"ncid=192.0.2.9:3333", ReadSource().source.Text()) << "the machine's setting was left alone";
  }
  ForgetSource(SourceScope::Machine);
}

}  // namespace
}  // namespace opencid::settings
