// The server side of an ActiveX control, without a framework.
//
// How a control plugs in:
//   1. Describe its interfaces in IDL (import "automation_base.idl"; importlib("stdole2.tlb"))
//      and build it with add_type_library(); embed the .rc in the DLL, so the type library is
//      resource 1 of the module that links this code.
//   2. Derive from Control<IYourDual> (control.h), pass a ControlDescription (CLSID, default
//      interface, event dispinterface, ProgID, misc status), create the control's window as a
//      hidden WS_CHILD of ParkingWindow() in the constructor and answer it from Window();
//      destroy it in the destructor. Implement the dual interface's own members, each inside
//      Guard([&] { ... }) so failures become HRESULTs with error information.
//   3. Raise events with FireEvent(dispid, {L"text", ...}); property changes with
//      NotifyPropertyChanged(dispid); override OnEventSinkChanged() to hear of Advise/Unadvise.
//   4. In the DLL: a ClassEntry {clsid, create} and a ClassFactory for it, DllGetClassObject
//      through GetClassObject(), DllCanUnloadNow through CanUnloadNow(), registration through
//      RegisterModuleTypeLibrary() and ControlRegistryEntries() (registry_table.h).
// IUnknown and IDispatch are completed by Control<Dual>; everything else a host asks of a
// control (in-place activation, view, persistence, connection points, class info, object
// safety, error info support) is here, and virtual for a control that needs more.
#pragma once

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "activex/com_ptr.h"
#include "activex/connection_point.h"
#include "activex/error_info.h"
#include "activex/message_window.h"

namespace activex {

struct ControlDescription {
  const CLSID& clsid;
  const IID& defaultInterface;  // the dual interface
  const IID& events;            // the outgoing dispinterface; one sink at a time
  std::wstring progId;          // source of error information
  DWORD miscStatus;
};

class ControlObject : public IOleObject,
                      public IOleInPlaceObject,
                      public IOleInPlaceActiveObject,
                      public IOleControl,
                      public IViewObject2,
                      public IPersistStreamInit,
                      public IPersistPropertyBag,
                      public IProvideClassInfo2,
                      public IConnectionPointContainer,
                      public IObjectSafety,
                      public ISupportErrorInfo {
 public:
  ControlObject(const ControlObject&) = delete;
  ControlObject& operator=(const ControlObject&) = delete;

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index, HWND parent,
                                   LPCRECT position) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                                 HDC drawDc, LPCRECTL bounds, LPCRECTL metafileBounds,
                                 BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                                        HDC targetDc, LOGPALETTE** colors) override;
  HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

  // IPersist, IPersistStreamInit, IPersistPropertyBag: a control without stored properties.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

  // IObjectSafety
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 protected:
  explicit ControlObject(const ControlDescription& description);
  virtual ~ControlObject();

  // The control's window, alive as long as the control; parked while not in place.
  virtual HWND Window() const noexcept = 0;
  HWND ParkingWindow() const noexcept { return parking_.Window(); }

  // Paints the control for IViewObject::Draw; by default the window paints itself there.
  virtual void Paint(HDC dc, const RECT& bounds);
  // After the event sink connected or disconnected; runs inside the host's Advise or Unadvise.
  virtual void OnEventSinkChanged() noexcept {}

  void FireEvent(DISPID id, std::initializer_list<std::wstring_view> arguments);
  void FireEvent(DISPID id, const std::vector<std::wstring_view>& arguments);
  void FireEvent(DISPID id, DISPPARAMS& parameters);
  void NotifyPropertyChanged(DISPID id);
  // A reference for as long as the control runs code that calls out to its host: a host may
  // release its last reference inside an event, and the control must outlive the code still
  // running in it. Taken where a window message or a timer enters the control.
  ComPtr<IUnknown> KeepAlive() noexcept { return ComPtr<IUnknown>(Identity()); }
  bool HasEventSink() const { return !eventPoint_.Sinks().empty(); }
  IOleClientSite* ClientSite() const noexcept { return site_.Get(); }

  // A member's body; failures become HRESULTs with error information for the default interface.
  template <class Body>
  HRESULT Guard(Body&& body) noexcept {
    return activex::Guard(description_.defaultInterface, description_.progId, std::forward<Body>(body));
  }

  // What Control<Dual> builds IUnknown and IDispatch on.
  virtual IDispatch* DefaultDispatch() noexcept = 0;
  HRESULT QueryInterfaceImpl(REFIID iid, void** out) noexcept;
  ULONG AddRefImpl() noexcept;
  ULONG ReleaseImpl() noexcept;
  ITypeInfo* InterfaceInfo() const noexcept { return interfaceInfo_.Get(); }

 private:
  void* Find(REFIID iid) noexcept;
  HRESULT ActivateInPlace(LONG verb, LPCRECT position);
  IUnknown* Identity() noexcept { return static_cast<IOleObject*>(this); }

  // Counts the control among the server's live objects for exactly its lifetime.
  struct LiveObject {
    LiveObject() noexcept;
    ~LiveObject();
  };

  const ControlDescription& description_;
  LiveObject live_;
  ParkingLease parking_;
  volatile LONG references_ = 1;
  ComPtr<ITypeInfo> interfaceInfo_;
  ComPtr<ITypeInfo> classInfo_;
  ConnectionPoint eventPoint_;
  ConnectionPoint propertyPoint_;

  ComPtr<IOleClientSite> site_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleInPlaceFrame> frame_;
  ComPtr<IOleInPlaceUIWindow> uiWindow_;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  ComPtr<IOleAdviseHolder> adviseHolder_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  SIZEL extent_{};
  LONG eventFreezes_ = 0;
  DWORD safety_ = 0;
};

}  // namespace activex
