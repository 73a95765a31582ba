// Control<Dual>: a ControlObject that serves the dual interface Dual. IUnknown comes from the
// object's table, IDispatch from the type description of Dual in the module's type library,
// so the derived control writes only Dual's own members. See control_object.h for the steps.
#pragma once

#include "activex/by_reference_arguments.h"
#include "activex/control_object.h"

namespace activex {

template <class Dual>
class Control : public ControlObject, public Dual {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return QueryInterfaceImpl(iid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = InterfaceInfo();
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(InterfaceInfo(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    // The interface has no by-reference puts: a host that sends one means a put.
    if (flags & DISPATCH_PROPERTYPUTREF) flags = static_cast<WORD>((flags & ~DISPATCH_PROPERTYPUTREF) | DISPATCH_PROPERTYPUT);
    if (!ByReferenceArguments::WellFormed(parameters)) return E_INVALIDARG;
    try {
      ByReferenceArguments arguments(*InterfaceInfo(), id, flags, parameters);
      return InterfaceInfo()->Invoke(static_cast<Dual*>(this), id, flags, arguments.Get(), result, exception,
                                     argumentError);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

 protected:
  explicit Control(const ControlDescription& description) : ControlObject(description) {}

 private:
  IDispatch* DefaultDispatch() noexcept override { return static_cast<Dual*>(this); }
};

}  // namespace activex
