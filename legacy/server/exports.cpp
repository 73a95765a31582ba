// The exports of tevrin4.dll (ordinals in tevrin4.def): the one class factory, the server's
// counts, and self-registration. No failure crosses them.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "activex/class_factory.h"
#include "activex/error_info.h"
#include "activex/registry_table.h"
#include "activex/server_module.h"
#include "common/error.h"
#include "legacy/control/kallora_plus_control.h"
#include "legacy/kallora_plus_class.h"
#include "legacy/kallora_plus_interface.h"
#include "legacy/server/creation_failure_text.h"

namespace {

// The user hears of a control that could not be made; the host gets E_UNEXPECTED.
void ShowCreationFailure(const std::exception_ptr& failure) {
  const std::wstring text = legacy::server::CreationFailureText(activex::FailureMessage(failure));
  MessageBoxW(nullptr, text.c_str(), L"DAX Error", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

const activex::ClassEntry kKalloraPlusEntry{legacy::CLSID_KalloraPlus, &legacy::control::KalloraPlusControl::Create,
                                            &ShowCreationFailure};
activex::ClassFactory kalloraPlusFactory(kKalloraPlusEntry);
activex::ClassFactory* const kFactories[] = {&kalloraPlusFactory};

constexpr bool kWin64 = sizeof(void*) == 8;

// The library's registration for one width: TypeLib\{LIBID}\1.0\0\win32 or \win64.
std::wstring TypeLibraryPathKey(bool win64) {
  return L"TypeLib\\" + activex::RegistryForm(legacy::LIBID_Upgrade_v4) + L"\\" +
         std::to_wstring(legacy::kTypeLibMajor) + L"." + std::to_wstring(legacy::kTypeLibMinor) +
         (win64 ? L"\\0\\win64" : L"\\0\\win32");
}

// Only when the automation library is already in the process; its answer does not matter.
// Both widths share the library's key and its interfaces' keys, which UnRegisterTypeLib takes
// away whole: while the other width's server is registered, only this width's path goes.
void UnregisterTypeLibrary() {
  if (!activex::ReadRegistryText(HKEY_CLASSES_ROOT, TypeLibraryPathKey(!kWin64)).empty()) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, TypeLibraryPathKey(kWin64).c_str());
    return;
  }
  using Unregister = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  HMODULE automation = GetModuleHandleW(L"oleaut32.dll");
  if (!automation) return;
  auto unregister = reinterpret_cast<Unregister>(reinterpret_cast<void*>(GetProcAddress(automation, "UnRegisterTypeLib")));
  if (unregister)
    unregister(legacy::LIBID_Upgrade_v4, legacy::kTypeLibMajor, legacy::kTypeLibMinor, 0,
               kWin64 ? SYS_WIN64 : SYS_WIN32);
}

// The class's keys are each width's own, but both widths share its ProgIDs' keys: while the
// other width's server is registered, they stay with it.
void RemoveClassEntries() {
  std::vector<activex::RegistryEntry> entries = activex::ControlRegistryEntries(legacy::KalloraPlusRegistration());
  if (!activex::ReadRegistryText(HKEY_CLASSES_ROOT, TypeLibraryPathKey(!kWin64)).empty())
    std::erase_if(entries, [](const activex::RegistryEntry& entry) { return entry.key.rfind(L"CLSID\\", 0) != 0; });
  activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, entries);
}

// A registration step's failure as regsvr32 shows it: the system's code when it has one (access
// denied stays access denied), E_FAIL otherwise.
template <class Step>
HRESULT Registration(Step&& step) noexcept {
  try {
    step();
    return S_OK;
  } catch (const common::Error& failure) {
    return failure.SystemCode() != 0 ? static_cast<HRESULT>(failure.SystemCode()) : E_FAIL;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return activex::GetClassObject(kFactories, clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return activex::CanUnloadNow(); }

STDAPI DllRegisterServer() {
  return Registration([] {
    activex::RegisterModuleTypeLibrary();
    activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, activex::ControlRegistryEntries(legacy::KalloraPlusRegistration()));
  });
}

STDAPI DllUnregisterServer() {
  return Registration([] {
    UnregisterTypeLibrary();
    RemoveClassEntries();
  });
}

}  // extern "C"
