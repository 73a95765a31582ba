// The exports of opencid.dll: class object, unloading, registration, and DllInstall, which
// also stores the user's source: regsvr32 /n /i:"ncid=HOST:PORT[,as-device]" opencid.dll.
#include <windows.h>

#include "activex/class_factory.h"
#include "activex/error_info.h"
#include "activex/server_module.h"
#include "opencid/win32/source_control.h"
#include "opencid/win32/source_settings.h"

namespace {

// The same object under both class identifiers: its own, and the device control's when it
// is registered there.
const activex::ClassEntry kOwnClass{CLSID_OpenCallerIdDevice, &opencid::SourceControl::Create};
const activex::ClassEntry kDeviceClass{CLSID_Tevrin5, &opencid::SourceControl::Create};
activex::ClassFactory ownFactory(kOwnClass);
activex::ClassFactory deviceFactory(kDeviceClass);
activex::ClassFactory* const kFactories[] = {&ownFactory, &deviceFactory};

template <class Step>
HRESULT Registration(Step&& step) noexcept {
  return activex::Guard(IID_NULL, L"opencid", std::forward<Step>(step));
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return activex::GetClassObject(kFactories, clsid, iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return activex::CanUnloadNow(); }

HRESULT STDAPICALLTYPE DllRegisterServer() {
  return Registration([] { opencid::RegisterControl(); });
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return Registration([] {
    opencid::UnregisterAsDevice();
    opencid::UnregisterControl();
  });
}

HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  return Registration([&] { opencid::Install(install != FALSE, commandLine ? commandLine : L""); });
}

}  // extern "C"
