// The container side: hosts one ActiveX control as a hidden child of a window, hands out its
// interfaces, routes its events to C++ handlers and tears it all down in the right order.
//
//   ControlSite device(window, CLSID_Thing, RECT{0, 0, 26, 26});   // throws common::Error
//   device.OnEvent(209, [&](const EventArguments& a) { ... a[1] ... });
//   device.ConnectEvents(DIID_ThingEvents);
//   ComPtr<IThing> thing = device.As<IThing>(IID_IThing);
//
// Events arrive on the thread that created the site (the control's thread), in the window's
// message loop. A failing handler goes to the failure handler given, never back into the
// control.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "activex/com_ptr.h"

namespace activex {

// An event's arguments as texts, in declared order.
using EventArguments = std::vector<std::wstring>;
using EventHandler = std::function<void(const EventArguments&)>;
using FailureHandler = std::function<void(const std::exception_ptr&)>;

class SiteObject;
class EventSink;

class ControlSite {
 public:
  ControlSite(HWND parent, const CLSID& clsid, const RECT& position, FailureHandler onFailure = nullptr);
  ControlSite(const ControlSite&) = delete;
  ControlSite& operator=(const ControlSite&) = delete;
  ~ControlSite();

  // The control's interface; empty when it has none of that kind.
  template <class T>
  ComPtr<T> As(REFIID iid) const {
    return object_.As<T>(iid);
  }
  // The control's window, or null for a control without one.
  HWND Window() const;

  // Handlers by DISPID; set them before or after connecting.
  void OnEvent(DISPID id, EventHandler handler);
  // Connects the event sink to the control's event interface (its default source when IID_NULL).
  void ConnectEvents(const IID& events = IID_NULL);

 private:
  void Teardown() noexcept;

  ComPtr<IOleObject> object_;
  ComPtr<SiteObject> site_;
  ComPtr<EventSink> sink_;
  ComPtr<IConnectionPoint> eventPoint_;
  DWORD eventCookie_ = 0;
};

// The text of a failed HRESULT: the error information the object posted for it when it
// supports that, else the system's message. Throws common::Error carrying hr when hr failed.
void ThrowIfFailed(HRESULT hr, IUnknown* object = nullptr, const IID& iid = IID_NULL);

}  // namespace activex
