#include "opencid/win32/tests/device_support.h"

#include "activex/bstr.h"
#include "activex/control_site.h"
#include "monitor/win32/tests/end_to_end_support.h"

namespace opencid::test {
namespace {

using InstallFunction = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
using RegisterFunction = HRESULT(STDAPICALLTYPE*)();

template <class Function>
Function Export(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

Library::Library(const char* path) : module_(LoadLibraryW(monitor::win32::testing::BuiltPath(path).c_str())) {}

Library::~Library() {
  if (module_) FreeLibrary(module_);
}

HRESULT Library::Install(bool install, const wchar_t* commandLine) const {
  auto function = Export<InstallFunction>(module_, "DllInstall");
  return function ? function(install, commandLine) : E_NOTIMPL;
}

HRESULT Library::Call(const char* name) const {
  auto function = Export<RegisterFunction>(module_, name);
  return function ? function() : E_NOTIMPL;
}

std::wstring Command(ITevrin5* device, const wchar_t* text) {
  activex::Bstr command(text), result;
  activex::ThrowIfFailed(device->Command(command.Get(), result.Put()), device, IID_ITevrin5);
  return result.Text();
}

}  // namespace opencid::test
