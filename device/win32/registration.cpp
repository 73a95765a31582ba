// Registration of the stand-in under the device control's class identifier.
#include "device/win32/registration.h"

#include <windows.h>

#include <olectl.h>

#include "activex/registry_table.h"
#include "activex/server_module.h"
#include "common/error.h"
#include "tevrin5_typelib.h"

namespace device {

namespace {

std::vector<activex::RegistryEntry> Entries() { return DeviceRegistryEntries(activex::ModulePath()); }

std::wstring LongPath(const std::wstring& path) {
  std::wstring longPath(MAX_PATH * 2, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (length == 0 || length >= longPath.size()) return path;
  longPath.resize(length);
  return longPath;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(LongPath(a).c_str(), -1, LongPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool TakenByAnother() { return RegisteredToAnother(CLSID_Tevrin5); }

}  // namespace

std::vector<activex::RegistryEntry> DeviceRegistryEntries(const std::wstring& modulePath,
                                                          const std::wstring& inprocServerPath) {
  return activex::ControlRegistryEntries({CLSID_Tevrin5, L"Tevrin5 Control", modulePath, L"Apartment",
                                          L"SimulatedDevice.Tevrin5", L"1.0", activex::RegistryForm(LIBID_SimulatedDeviceLib),
                                          OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                                              OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE,
                                          L"", {}, inprocServerPath});
}

std::wstring RegisteredServer(const CLSID& clsid) {
  return activex::ReadRegistryText(HKEY_CLASSES_ROOT, activex::ClassKey(clsid) + L"\\InprocServer32");
}

bool RegisteredToAnother(const CLSID& clsid) {
  std::wstring server = RegisteredServer(clsid);
  return !server.empty() && !SameFile(server, activex::ModulePath());
}

std::wstring RegisteredServer() { return RegisteredServer(CLSID_Tevrin5); }

void RegisterDevice(bool force) {
  if (!force && TakenByAnother())
    throw common::Error(L"The device control is already registered to " + RegisteredServer() +
                            L"; the simulated device leaves it in place (devctl register --force replaces it).",
                        kClassHeldByAnother);
  activex::RegisterModuleTypeLibrary();
  activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, Entries());
}

void UnregisterDevice() {
  if (TakenByAnother())
    throw common::Error(L"The device control is registered to " + RegisteredServer() +
                            L", not to the simulated device; its registration is left in place.",
                        kClassHeldByAnother);
  if (!RegisteredServer().empty()) activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, Entries());
  activex::UnregisterModuleTypeLibrary();
}

}  // namespace device
