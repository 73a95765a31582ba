// The fakes' interface tables and recording.
#include "fakes.h"

namespace activex::test {
namespace {

template <class Interface>
HRESULT Answer(Interface* object, void** out) {
  *out = object;
  object->AddRef();
  return S_OK;
}

HRESULT Refuse(void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

HRESULT FakeSite::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
    return Answer(static_cast<IOleClientSite*>(this), out);
  if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
    return Answer(static_cast<IOleInPlaceSite*>(this), out);
  return Refuse(out);
}

HRESULT FakeSite::GetWindow(HWND* window) {
  calls.emplace_back("GetWindow");
  *window = window_;
  return S_OK;
}

HRESULT FakeSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                   LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  calls.emplace_back("GetWindowContext");
  *frame = nullptr;
  *document = nullptr;
  *position = position_;
  *clip = position_;
  info->fMDIApp = FALSE;
  info->hwndFrame = window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT FakeSink::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_))
    return Answer(static_cast<IDispatch*>(this), out);
  return Refuse(out);
}

HRESULT FakeSink::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                         UINT*) {
  FiredEvent event{id, flags, {}, result != nullptr};
  for (UINT i = parameters->cArgs; i-- > 0;) {
    const VARIANTARG& argument = parameters->rgvarg[i];
    event.arguments.push_back(V_VT(&argument) == VT_BSTR ? std::wstring(V_BSTR(&argument), SysStringLen(V_BSTR(&argument)))
                                                          : L"<not a BSTR>");
  }
  events.push_back(std::move(event));
  return answer_;
}

HRESULT FakePropertySink::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyNotifySink))
    return Answer(static_cast<IPropertyNotifySink*>(this), out);
  return Refuse(out);
}

HRESULT PlainObject::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown)) return Answer(this, out);
  return Refuse(out);
}

}  // namespace activex::test
