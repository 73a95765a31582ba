// Tevrin51 on Windows: the device control hosted through the control site as a hidden child
// at the top of the window, its Start and Command called through ITevrin5's function table,
// its OnCallerID and OnSignalA events delivered as texts.
#pragma once

#include <windows.h>

#include <memory>

#include "activex/control_site.h"
#include "monitor/device_control.h"

namespace monitor::win32 {

// The device control's identifiers, as its maker publishes them.
extern const CLSID CLSID_Tevrin5;
extern const IID IID_ITevrin5;
extern const IID DIID_Tevrin5Events;

inline constexpr DISPID DispidOnCallerID = 209;
inline constexpr DISPID DispidOnSignalA = 210;

class Tevrin5Control : public IDeviceControl {
 public:
  // Raises when the device control is not installed or cannot be hosted. Another class with
  // the device control's interface may stand in (the relay's setting).
  explicit Tevrin5Control(HWND form, const CLSID& clsid = CLSID_Tevrin5);

  void Start() override;
  std::wstring Command(const std::wstring& text) override;
  void SetOnSignalA(SignalHandler handler) override;
  void SetOnCallerID(CallerIdHandler handler) override;

 private:
  activex::ControlSite site_;
  activex::ComPtr<IUnknown> tevrin5_;
};

class Tevrin5Factory : public IDeviceControlFactory {
 public:
  explicit Tevrin5Factory(HWND form) : form_(form) {}
  std::unique_ptr<IDeviceControl> Create() override { return std::make_unique<Tevrin5Control>(form_); }

 private:
  HWND form_;
};

}  // namespace monitor::win32
