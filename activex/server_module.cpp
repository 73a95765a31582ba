// Server counts, the module's identity and its type library.
#include "activex/server_module.h"

#include "activex/com_ptr.h"
#include "common/error.h"

namespace activex {
namespace {

volatile LONG liveObjects = 0;
volatile LONG factoryReferences = 0;

[[noreturn]] void ThrowFailure(const wchar_t* what, HRESULT hr) {
  throw common::Error(what, static_cast<std::int32_t>(hr));
}

}  // namespace

void ObjectCreated() noexcept { InterlockedIncrement(&liveObjects); }
void ObjectDestroyed() noexcept { InterlockedDecrement(&liveObjects); }
void FactoryReferenced() noexcept { InterlockedIncrement(&factoryReferences); }
void FactoryReleased() noexcept { InterlockedDecrement(&factoryReferences); }
long LiveObjects() noexcept { return InterlockedCompareExchange(&liveObjects, 0, 0); }
long FactoryReferences() noexcept { return InterlockedCompareExchange(&factoryReferences, 0, 0); }

HRESULT CanUnloadNow() noexcept {
  return LiveObjects() == 0 && FactoryReferences() == 0 ? S_OK : S_FALSE;
}

HMODULE CurrentModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CurrentModule), &module);
  return module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(CurrentModule(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) ThrowFailure(L"Cannot find the module's file", HRESULT_FROM_WIN32(GetLastError()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ModuleFolder() {
  std::wstring path = ModulePath();
  return path.substr(0, path.find_last_of(L"\\/"));
}

ITypeLib* ModuleTypeLibrary() {
  // Loaded on first use; a failed load is tried again next time.
  static ComPtr<ITypeLib> library = [] {
    ComPtr<ITypeLib> loaded;
    HRESULT hr = LoadTypeLib(ModulePath().c_str(), loaded.Put());
    if (FAILED(hr)) ThrowFailure(L"Cannot load the type library", hr);
    return loaded;
  }();
  return library.Get();
}

ComPtr<ITypeInfo> ModuleTypeInfo(REFGUID guid) {
  ComPtr<ITypeInfo> info;
  HRESULT hr = ModuleTypeLibrary()->GetTypeInfoOfGuid(guid, info.Put());
  if (FAILED(hr)) ThrowFailure(L"Cannot find a type description", hr);
  return info;
}

void RegisterModuleTypeLibrary() {
  std::wstring path = ModulePath(), folder = ModuleFolder();
  HRESULT hr = RegisterTypeLib(ModuleTypeLibrary(), path.data(), folder.data());
  if (FAILED(hr)) ThrowFailure(L"Cannot register the type library", hr);
}

void UnregisterModuleTypeLibrary() {
  TLIBATTR* attributes = nullptr;
  ITypeLib* library = ModuleTypeLibrary();
  HRESULT hr = library->GetLibAttr(&attributes);
  if (FAILED(hr)) ThrowFailure(L"Cannot read the type library", hr);
  TLIBATTR copy = *attributes;
  library->ReleaseTLibAttr(attributes);
  UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

}  // namespace activex
