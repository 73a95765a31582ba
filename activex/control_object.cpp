// IUnknown's table, class information, connection points, object safety and error support of
// the control object. The OLE embedding and view interfaces are in control_object_ole.cpp.
#include "activex/control_object.h"

#include <memory>
#include <vector>

#include "activex/bstr.h"
#include "activex/enumerator.h"
#include "activex/server_module.h"

namespace activex {

namespace {
constexpr DWORD kSafetyOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
}  // namespace

ControlObject::LiveObject::LiveObject() noexcept { ObjectCreated(); }
ControlObject::LiveObject::~LiveObject() { ObjectDestroyed(); }

ControlObject::ControlObject(const ControlDescription& description)
    : description_(description),
      interfaceInfo_(ModuleTypeInfo(description.defaultInterface)),
      classInfo_(ModuleTypeInfo(description.clsid)),
      eventPoint_(*this, description.events, 1, [this] { OnEventSinkChanged(); }),
      propertyPoint_(*this, IID_IPropertyNotifySink, 0) {}

ControlObject::~ControlObject() = default;

void* ControlObject::Find(REFIID iid) noexcept {
  if (IsEqualIID(iid, IID_IUnknown)) return Identity();
  if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, description_.defaultInterface)) return DefaultDispatch();
  if (IsEqualIID(iid, IID_IOleObject)) return static_cast<IOleObject*>(this);
  if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
    return static_cast<IOleInPlaceObject*>(this);
  if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) return static_cast<IOleInPlaceActiveObject*>(this);
  if (IsEqualIID(iid, IID_IOleControl)) return static_cast<IOleControl*>(this);
  if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) return static_cast<IViewObject2*>(this);
  if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
    return static_cast<IPersistStreamInit*>(this);
  if (IsEqualIID(iid, IID_IPersistPropertyBag)) return static_cast<IPersistPropertyBag*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
    return static_cast<IProvideClassInfo2*>(this);
  if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  if (IsEqualIID(iid, IID_IObjectSafety)) return static_cast<IObjectSafety*>(this);
  if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
  return nullptr;
}

HRESULT ControlObject::QueryInterfaceImpl(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = Find(iid);
  if (!*out) return E_NOINTERFACE;
  AddRefImpl();
  return S_OK;
}

ULONG ControlObject::AddRefImpl() noexcept { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG ControlObject::ReleaseImpl() noexcept {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) {
    references_ = 1;  // a reference taken and dropped while tearing down must not delete again
    delete this;
  }
  return static_cast<ULONG>(left);
}

// --- events -------------------------------------------------------------------------------

void ControlObject::FireEvent(DISPID id, DISPPARAMS& parameters) {
  if (eventFreezes_ > 0) return;
  const ComPtr<IUnknown> alive = KeepAlive();
  for (const ComPtr<IUnknown>& sink : eventPoint_.Sinks()) {
    // The sink answered the event interface, a dispinterface: an IDispatch.
    auto* dispatch = static_cast<IDispatch*>(static_cast<void*>(sink.Get()));
    dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
  }
}

void ControlObject::FireEvent(DISPID id, std::initializer_list<std::wstring_view> arguments) {
  FireEvent(id, std::vector<std::wstring_view>(arguments));
}

void ControlObject::FireEvent(DISPID id, const std::vector<std::wstring_view>& arguments) {
  if (eventFreezes_ > 0 || !HasEventSink()) return;
  std::vector<Bstr> texts;
  texts.reserve(arguments.size());
  for (std::wstring_view text : arguments) {
    texts.emplace_back(text);
    if (!texts.back().Get()) throw std::bad_alloc();
  }
  // Automation wants the first argument last.
  std::vector<VARIANTARG> variants(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    VARIANTARG& variant = variants[texts.size() - 1 - i];
    V_VT(&variant) = VT_BSTR;
    V_BSTR(&variant) = texts[i].Get();
  }
  DISPPARAMS parameters{variants.data(), nullptr, static_cast<UINT>(variants.size()), 0};
  FireEvent(id, parameters);
}

void ControlObject::NotifyPropertyChanged(DISPID id) {
  const ComPtr<IUnknown> alive = KeepAlive();
  for (const ComPtr<IUnknown>& sink : propertyPoint_.Sinks())
    static_cast<IPropertyNotifySink*>(static_cast<void*>(sink.Get()))->OnChanged(id);
}

// --- IProvideClassInfo2 -------------------------------------------------------------------

HRESULT ControlObject::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = classInfo_.Get();
  (*info)->AddRef();
  return S_OK;
}

HRESULT ControlObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
    *guid = GUID_NULL;
    return E_INVALIDARG;
  }
  *guid = description_.events;
  return S_OK;
}

// --- IConnectionPointContainer ------------------------------------------------------------

HRESULT ControlObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  return Guard([&] {
    *points = MakeConnectionPointEnumerator({ComPtr<IConnectionPoint>(&eventPoint_),
                                             ComPtr<IConnectionPoint>(&propertyPoint_)})
                  .Detach();
  });
}

HRESULT ControlObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (IsEqualIID(iid, description_.events)) *point = &eventPoint_;
  else if (IsEqualIID(iid, IID_IPropertyNotifySink)) *point = &propertyPoint_;
  else return CONNECT_E_NOCONNECTION;
  (*point)->AddRef();
  return S_OK;
}

// --- IObjectSafety ------------------------------------------------------------------------

HRESULT ControlObject::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  if (!Find(iid)) {
    *supported = *enabled = 0;
    return E_NOINTERFACE;
  }
  *supported = kSafetyOptions;
  *enabled = safety_ & kSafetyOptions;
  return S_OK;
}

HRESULT ControlObject::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  if (!Find(iid)) return E_NOINTERFACE;
  safety_ = mask & enabled;
  return S_OK;
}

// --- ISupportErrorInfo --------------------------------------------------------------------

HRESULT ControlObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, description_.defaultInterface) ? S_OK : S_FALSE;
}

}  // namespace activex
