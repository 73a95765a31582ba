// Per-user source and the registry entries of the open-source device control.
#include "opencid/win32/source_settings.h"

#include <windows.h>

#include <olectl.h>

#include "activex/registry_table.h"
#include "activex/server_module.h"
#include "common/error.h"
#include "device/win32/registration.h"
#include "open_source_device.h"
#include "tevrin5_typelib.h"

namespace opencid {
namespace {

const wchar_t kSettingsKey[] = L"Software\\OpenCallerId";
const wchar_t kSourceValue[] = L"Source";
constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE;

std::vector<activex::RegistryEntry> ControlEntries() { return ControlRegistryEntries(activex::ModulePath()); }
std::vector<activex::RegistryEntry> DeviceEntries() { return AsDeviceRegistryEntries(activex::ModulePath()); }

}  // namespace

// No type library is registered: the one in the file serves the control's own dispatch, and
// registering it would rewrite the interface keys that the device control's library owns.
std::vector<activex::RegistryEntry> ControlRegistryEntries(const std::wstring& modulePath,
                                                           const std::wstring& inprocServerPath) {
  return activex::ControlRegistryEntries({CLSID_OpenCallerIdDevice, L"Open caller-ID source device", modulePath,
                                          L"Apartment", L"OpenCallerId.Device", L"1.0", L"", kMiscStatus, L"", {},
                                          inprocServerPath});
}

std::vector<activex::RegistryEntry> AsDeviceRegistryEntries(const std::wstring& modulePath,
                                                            const std::wstring& inprocServerPath) {
  return activex::ControlRegistryEntries({CLSID_Tevrin5, L"Tevrin5 Control", modulePath, L"Apartment", L"", L"1.0",
                                          L"", kMiscStatus, L"", {}, inprocServerPath});
}

SourceSetting UserSource() {
  const std::wstring text = activex::ReadRegistryText(HKEY_CURRENT_USER, kSettingsKey, kSourceValue);
  try {
    if (!text.empty()) return ParseSource(text);
  } catch (const common::Error&) {
  }
  return {};
}

void StoreUserSource(const SourceSetting& source) {
  activex::WriteRegistryEntries(HKEY_CURRENT_USER,
                                std::vector<activex::RegistryEntry>{{kSettingsKey, kSourceValue, source.Text()}});
}

void ForgetUserSource() { activex::RemoveRegistryEntries(HKEY_CURRENT_USER, std::vector<activex::RegistryEntry>{{kSettingsKey, L"", L""}}); }

void RegisterControl() { activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, ControlEntries()); }

void UnregisterControl() {
  if (!device::RegisteredToAnother(CLSID_OpenCallerIdDevice) &&
      !device::RegisteredServer(CLSID_OpenCallerIdDevice).empty())
    activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, ControlEntries());
}

void RegisterAsDevice() {
  if (device::RegisteredToAnother(CLSID_Tevrin5))
    throw common::Error(L"The device control is already registered to " + device::RegisteredServer(CLSID_Tevrin5) +
                            L"; this source is not registered in its place.",
                        device::kClassHeldByAnother);
  activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, DeviceEntries());
}

void UnregisterAsDevice() {
  if (!device::RegisteredToAnother(CLSID_Tevrin5) && !device::RegisteredServer(CLSID_Tevrin5).empty())
    activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, DeviceEntries());
}

namespace {

// regsvr32 shows "The parameter is incorrect" for a command line that says nothing we know.
InstallCommand ReadInstallCommand(std::wstring_view commandLine) {
  try {
    return ParseInstallCommand(commandLine);
  } catch (const common::Error& failure) {
    throw common::Error(failure.Message(), static_cast<std::int32_t>(E_INVALIDARG));
  }
}

}  // namespace

void Install(bool install, std::wstring_view commandLine) {
  const InstallCommand command = ReadInstallCommand(commandLine);
  if (!install) {
    UnregisterAsDevice();
    UnregisterControl();
    if (command.source) ForgetUserSource();
    return;
  }
  // Refused before anything is written, so a refusal changes nothing.
  if (command.asDevice && device::RegisteredToAnother(CLSID_Tevrin5)) RegisterAsDevice();
  RegisterControl();
  if (command.source) StoreUserSource(*command.source);
  if (command.asDevice) RegisterAsDevice();
}

}  // namespace opencid
