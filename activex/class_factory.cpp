// Class factory: creation, references and locks counted by the server.
#include "activex/class_factory.h"

#include <ole2.h>

#include "activex/server_module.h"

namespace activex {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
  FactoryReferenced();
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG ClassFactory::Release() {
  FactoryReleased();
  return static_cast<ULONG>(InterlockedDecrement(&references_));
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // The objects are not built to be aggregated, whatever interface the outer object asks for.
  if (outer) return CLASS_E_NOAGGREGATION;
  IUnknown* object = nullptr;
  try {
    object = entry_.create();
  } catch (...) {
    if (entry_.reportFailure) {
      try {
        entry_.reportFailure(std::current_exception());
      } catch (...) {
      }
    }
    return E_UNEXPECTED;
  }
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();  // destroys the object when the interface was refused
  return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    CoLockObjectExternal(this, TRUE, TRUE);
    ObjectCreated();
  } else {
    ObjectDestroyed();
    CoLockObjectExternal(this, FALSE, TRUE);
  }
  return S_OK;
}

HRESULT GetClassObject(std::span<ClassFactory* const> factories, REFCLSID clsid, REFIID iid,
                       void** out) noexcept {
  if (!out) return E_POINTER;
  for (ClassFactory* factory : factories) {
    if (IsEqualCLSID(factory->Clsid(), clsid)) return factory->QueryInterface(iid, out);
  }
  *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace activex
