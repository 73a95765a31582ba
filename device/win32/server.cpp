// The exports of devsim.dll: class object, unloading, and guarded self-registration
// (DllInstall with the command line "force" replaces another file's registration).
#include <windows.h>

#include "activex/class_factory.h"
#include "activex/error_info.h"
#include "activex/server_module.h"
#include "device/win32/registration.h"
#include "device/win32/tevrin5_control.h"

namespace {

const activex::ClassEntry kDeviceClass{CLSID_Tevrin5, &device::Tevrin5Control::Create};
activex::ClassFactory deviceFactory(kDeviceClass);
activex::ClassFactory* const kFactories[] = {&deviceFactory};

template <class Step>
HRESULT Registration(Step&& step) noexcept {
  return activex::Guard(IID_NULL, L"devsim", std::forward<Step>(step));
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return activex::GetClassObject(kFactories, clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return activex::CanUnloadNow(); }

HRESULT STDAPICALLTYPE DllRegisterServer() {
  return Registration([] { device::RegisterDevice(false); });
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return Registration([] { device::UnregisterDevice(); });
}

HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool force = commandLine && lstrcmpiW(commandLine, L"force") == 0;
  return Registration([&] {
    if (install) device::RegisterDevice(force);
    else device::UnregisterDevice();
  });
}

}  // extern "C"
