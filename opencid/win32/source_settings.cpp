// The machine-wide and per-user sources and the registry entries of the open-source device control.
#include "opencid/win32/source_settings.h"

#include <windows.h>

#include <olectl.h>

#include "activex/registry_table.h"
#include "activex/server_module.h"
#include "common/error.h"
#include "common/utf16.h"
#include "device/win32/registration.h"
#include "open_source_device.h"
#include "tevrin5_typelib.h"

namespace opencid {
namespace {

const wchar_t kSettingsKey[] = L"Software\\OpenCallerId";
const wchar_t kSourceValue[] = L"Source";
const wchar_t kLinesKey[] = L"Software\\OpenCallerId\\Lines";
constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE;

std::vector<activex::RegistryEntry> ControlEntries() { return ControlRegistryEntries(activex::ModulePath()); }
std::vector<activex::RegistryEntry> DeviceEntries() { return AsDeviceRegistryEntries(activex::ModulePath()); }

HKEY RootOf(SourceScope scope) { return scope == SourceScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// Both widths of the control read the one machine-wide source, in the 64-bit view.
REGSAM ViewOf(SourceScope scope) { return scope == SourceScope::Machine ? KEY_WOW64_64KEY : 0; }

std::wstring ReadSourceText(SourceScope scope) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootOf(scope), kSettingsKey, 0, KEY_QUERY_VALUE | ViewOf(scope), &key) != ERROR_SUCCESS) return {};
  wchar_t text[512] = {};
  DWORD type = 0, bytes = sizeof text - sizeof(wchar_t);
  const bool read = RegQueryValueExW(key, kSourceValue, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) ==
                        ERROR_SUCCESS && type == REG_SZ;
  RegCloseKey(key);
  return read ? std::wstring(text) : std::wstring();
}

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

EffectiveSource ReadSource() {
  for (SourceScope scope : {SourceScope::User, SourceScope::Machine}) {
    const std::wstring text = ReadSourceText(scope);
    try {
      if (!text.empty()) return {ParseSource(text), scope};
    } catch (const common::Error&) {
    }
  }
  return {};
}

void StoreSource(SourceScope scope, const SourceSetting& source) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(RootOf(scope), kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE | ViewOf(scope), nullptr,
                                &key, nullptr);
  if (status == ERROR_SUCCESS) {
    const std::wstring text = source.Text();
    status = RegSetValueExW(key, kSourceValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS)
    throw common::Error(L"The " + ScopeName(scope) + L" source cannot be stored (error " + std::to_wstring(status) +
                            (status == ERROR_ACCESS_DENIED ? L": run as administrator, or store it per user)" : L")"),
                        static_cast<std::int32_t>(HRESULT_FROM_WIN32(status)));
}

void ForgetSource(SourceScope scope) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(RootOf(scope), kSettingsKey, 0, KEY_SET_VALUE | ViewOf(scope), &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, kSourceValue);
  RegCloseKey(key);
  RegDeleteKeyExW(RootOf(scope), kSettingsKey, ViewOf(scope), 0);  // only when nothing else is in it
}

std::wstring ScopeName(SourceScope scope) {
  switch (scope) {
    case SourceScope::Machine: return L"machine-wide";
    case SourceScope::User: return L"per-user";
    case SourceScope::Default: break;
  }
  return L"default";
}

std::string StoredLineNumbers(const std::wstring& deviceId) {
  return common::ToUtf8(activex::ReadRegistryText(HKEY_CURRENT_USER, kLinesKey, deviceId));
}

void StoreLineNumbers(const std::wstring& deviceId, const std::string& saved) {
  try {
    activex::WriteRegistryEntries(HKEY_CURRENT_USER, std::vector<activex::RegistryEntry>{
                                                         {kLinesKey, deviceId, common::FromUtf8(saved)}});
  } catch (const common::Error&) {
  }
}

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
  if (command.perUser) {
    // A user's own choice: no registration, no elevation.
    if (!install) return ForgetSource(SourceScope::User);
    if (command.source) StoreSource(SourceScope::User, *command.source);
    return;
  }
  if (!install) {
    UnregisterAsDevice();
    UnregisterControl();
    ForgetSource(SourceScope::Machine);
    ForgetSource(SourceScope::User);
    return;
  }
  // Refused before anything is written, so a refusal changes nothing.
  if (command.asDevice && device::RegisteredToAnother(CLSID_Tevrin5)) RegisterAsDevice();
  RegisterControl();
  if (command.source) StoreSource(SourceScope::Machine, *command.source);
  if (command.asDevice) RegisterAsDevice();
}

}  // namespace opencid
