// The control object's OLE embedding: client site, verbs and in-place activation, the view,
// the control interface and (empty) persistence.
#include "activex/control_object.h"

namespace activex {

namespace {

// HIMETRIC (0.01 mm) from pixels of the screen.
SIZEL ToHimetric(SIZE pixels) {
  HDC screen = GetDC(nullptr);
  int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return SIZEL{MulDiv(pixels.cx, 2540, dpiX), MulDiv(pixels.cy, 2540, dpiY)};
}

}  // namespace

// --- IOleObject ---------------------------------------------------------------------------

HRESULT ControlObject::SetClientSite(IOleClientSite* site) {
  if (site != site_.Get() && inPlaceActive_) InPlaceDeactivate();
  site_ = site;
  return S_OK;
}

HRESULT ControlObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_.Get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

HRESULT ControlObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT ControlObject::Close(DWORD) {
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

HRESULT ControlObject::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT ControlObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
HRESULT ControlObject::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT ControlObject::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT ControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT position) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(verb, position);
    case OLEIVERB_HIDE:
      if (inPlaceActive_) ShowWindow(Window(), SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    case OLEIVERB_OPEN:
      return E_NOTIMPL;
    default: {
      // An unknown verb activates as the primary one and says so.
      HRESULT hr = ActivateInPlace(OLEIVERB_PRIMARY, position);
      return FAILED(hr) ? hr : OLEOBJ_S_INVALIDVERB;
    }
  }
}

HRESULT ControlObject::ActivateInPlace(LONG verb, LPCRECT position) {
  if (!site_) return E_UNEXPECTED;
  if (!inPlaceActive_) {
    ComPtr<IOleInPlaceSite> inPlaceSite = site_.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!inPlaceSite) return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
    HRESULT hr = inPlaceSite->OnInPlaceActivate();
    if (FAILED(hr)) return hr;
    inPlaceSite_ = inPlaceSite;
    inPlaceActive_ = true;
    HWND parent = nullptr;
    RECT contextPosition{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    if (FAILED(inPlaceSite->GetWindow(&parent)) ||
        FAILED(inPlaceSite->GetWindowContext(frame_.Put(), uiWindow_.Put(), &contextPosition, &clip, &frameInfo))) {
      InPlaceDeactivate();
      return E_FAIL;
    }
    const RECT& place = position ? *position : contextPosition;
    SetParent(Window(), parent);
    SetWindowPos(Window(), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Window(), SW_SHOWNA);
  if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (frame_) frame_->SetActiveObject(this, nullptr);
    if (uiWindow_) uiWindow_->SetActiveObject(this, nullptr);
  }
  site_->ShowObject();
  return S_OK;
}

HRESULT ControlObject::EnumVerbs(IEnumOLEVERB** verbs) {
  if (!verbs) return E_POINTER;
  return OleRegEnumVerbs(description_.clsid, verbs);
}

HRESULT ControlObject::Update() { return S_OK; }
HRESULT ControlObject::IsUpToDate() { return S_OK; }

HRESULT ControlObject::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT ControlObject::GetUserType(DWORD form, LPOLESTR* userType) {
  if (!userType) return E_POINTER;
  return OleRegGetUserType(description_.clsid, form, userType);
}

HRESULT ControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  extent_ = *size;
  return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (extent_.cx == 0 && extent_.cy == 0) {
    RECT rect{};
    GetWindowRect(Window(), &rect);
    extent_ = ToHimetric(SIZE{rect.right - rect.left, rect.bottom - rect.top});
  }
  *size = extent_;
  return S_OK;
}

HRESULT ControlObject::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!connection) return E_POINTER;
  *connection = 0;
  if (!adviseHolder_) {
    HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(hr)) return hr;
  }
  return adviseHolder_->Advise(sink, connection);
}

HRESULT ControlObject::Unadvise(DWORD connection) {
  return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT ControlObject::EnumAdvise(IEnumSTATDATA** advise) {
  if (!advise) return E_POINTER;
  *advise = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(advise) : S_OK;
}

HRESULT ControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = description_.miscStatus;
  return S_OK;
}

HRESULT ControlObject::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- IOleInPlaceObject, IOleInPlaceActiveObject --------------------------------------------

HRESULT ControlObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = inPlaceActive_ ? Window() : nullptr;
  return *window ? S_OK : E_FAIL;
}

HRESULT ControlObject::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT ControlObject::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  UIDeactivate();
  inPlaceActive_ = false;
  ShowWindow(Window(), SW_HIDE);
  SetParent(Window(), ParkingWindow());
  ComPtr<IOleInPlaceSite> inPlaceSite = std::move(inPlaceSite_);
  inPlaceSite_.Reset();
  frame_.Reset();
  uiWindow_.Reset();
  inPlaceSite->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT ControlObject::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT ControlObject::SetObjectRects(LPCRECT position, LPCRECT) {
  if (!position) return E_POINTER;
  if (!inPlaceActive_) return E_UNEXPECTED;
  SetWindowPos(Window(), nullptr, position->left, position->top, position->right - position->left,
               position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return S_OK;
}

HRESULT ControlObject::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }
HRESULT ControlObject::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT ControlObject::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT ControlObject::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT ControlObject::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT ControlObject::EnableModeless(BOOL) { return S_OK; }

// --- IOleControl --------------------------------------------------------------------------

HRESULT ControlObject::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT ControlObject::OnMnemonic(MSG*) { return E_NOTIMPL; }
HRESULT ControlObject::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT ControlObject::FreezeEvents(BOOL freeze) {
  if (freeze) ++eventFreezes_;
  else if (eventFreezes_ > 0) --eventFreezes_;
  return S_OK;
}

// --- IViewObject2 -------------------------------------------------------------------------

void ControlObject::Paint(HDC dc, const RECT& bounds) {
  POINT origin;
  SetViewportOrgEx(dc, bounds.left, bounds.top, &origin);
  SendMessageW(Window(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

HRESULT ControlObject::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds, LPCRECTL,
                            BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!drawDc || !bounds) return E_INVALIDARG;
  return Guard([&] { Paint(drawDc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom}); });
}

HRESULT ControlObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return E_NOTIMPL;
}
HRESULT ControlObject::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT ControlObject::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT ControlObject::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = sink;
  return S_OK;
}

HRESULT ControlObject::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) {
    *sink = viewSink_.Get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT ControlObject::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) { return GetExtent(aspect, size); }

// --- persistence --------------------------------------------------------------------------

HRESULT ControlObject::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = description_.clsid;
  return S_OK;
}

HRESULT ControlObject::IsDirty() { return S_FALSE; }
HRESULT ControlObject::Load(LPSTREAM stream) { return stream ? S_OK : E_POINTER; }
HRESULT ControlObject::Save(LPSTREAM stream, BOOL) { return stream ? S_OK : E_POINTER; }
HRESULT ControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}
HRESULT ControlObject::InitNew() { return S_OK; }
HRESULT ControlObject::Load(IPropertyBag* bag, IErrorLog*) { return bag ? S_OK : E_POINTER; }
HRESULT ControlObject::Save(IPropertyBag* bag, BOOL, BOOL) { return bag ? S_OK : E_POINTER; }

}  // namespace activex
