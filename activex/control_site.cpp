// Creating, activating, connecting and tearing down a hosted control.
#include "activex/control_site.h"

#include <olectl.h>

#include "activex/bstr.h"
#include "activex/event_sink.h"
#include "activex/site_object.h"
#include "common/error.h"

namespace activex {

namespace {

std::wstring SystemMessage(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) {
    wchar_t code[32];
    swprintf(code, 32, L"Error 0x%08lX", static_cast<unsigned long>(hr));
    message = code;
  }
  return message;
}

std::wstring PostedMessage(IUnknown* object, const IID& iid) {
  if (!object || IsEqualIID(iid, IID_NULL)) return {};
  ComPtr<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.PutVoid())) ||
      support->InterfaceSupportsErrorInfo(iid) != S_OK)
    return {};
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return {};
  Bstr description;
  info->GetDescription(description.Put());
  return description.Text();
}

}  // namespace

void ThrowIfFailed(HRESULT hr, IUnknown* object, const IID& iid) {
  if (SUCCEEDED(hr)) return;
  std::wstring message = PostedMessage(object, iid);
  throw common::Error(message.empty() ? SystemMessage(hr) : message, static_cast<std::int32_t>(hr));
}

ControlSite::ControlSite(HWND parent, const CLSID& clsid, const RECT& position, FailureHandler onFailure)
    : site_(ComPtr<SiteObject>::Attach(new SiteObject(parent, position))),
      sink_(ComPtr<EventSink>::Attach(new EventSink(std::move(onFailure)))) {
  ThrowIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid()));
  try {
    DWORD status = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &status);
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) ThrowIfFailed(object_->SetClientSite(site_.Get()));
    if (auto stream = object_.As<IPersistStreamInit>(IID_IPersistStreamInit)) {
      ThrowIfFailed(stream->InitNew());
    } else if (auto bag = object_.As<IPersistPropertyBag>(IID_IPersistPropertyBag)) {
      ThrowIfFailed(bag->InitNew());
    }
    if (!siteFirst) ThrowIfFailed(object_->SetClientSite(site_.Get()));
    RECT place = position;
    ThrowIfFailed(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &place));
    object_->DoVerb(OLEIVERB_HIDE, nullptr, site_.Get(), 0, parent, &place);
    if (HWND window = Window()) ShowWindow(window, SW_HIDE);
  } catch (...) {
    Teardown();
    throw;
  }
}

ControlSite::~ControlSite() { Teardown(); }

void ControlSite::Teardown() noexcept {
  if (eventPoint_) eventPoint_->Unadvise(eventCookie_);
  eventPoint_.Reset();
  if (sink_) sink_->Clear();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.Reset();
}

HWND ControlSite::Window() const {
  HWND window = nullptr;
  if (auto inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) inPlace->GetWindow(&window);
  return window;
}

void ControlSite::OnEvent(DISPID id, EventHandler handler) { sink_->SetHandler(id, std::move(handler)); }

void ControlSite::ConnectEvents(const IID& events) {
  if (eventPoint_) return;
  IID iid = events;
  if (IsEqualIID(iid, IID_NULL)) {
    auto classInfo = object_.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
    if (!classInfo) throw common::Error(L"The control does not name its events", E_NOINTERFACE);
    ThrowIfFailed(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid));
  }
  auto container = object_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!container) throw common::Error(L"The control raises no events", E_NOINTERFACE);
  ComPtr<IConnectionPoint> point;
  ThrowIfFailed(container->FindConnectionPoint(iid, point.Put()));
  sink_->SetEventInterface(iid);
  ThrowIfFailed(point->Advise(static_cast<IDispatch*>(sink_.Get()), &eventCookie_));
  eventPoint_ = point;
}

}  // namespace activex
