// The device control as the line monitor uses it: text commands, Start, and the two events
// it binds. Every text is UTF-16 as the control delivers it.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace monitor {

struct CallerIdArgs {
  std::wstring DeviceID;
  std::wstring Line;
  std::wstring PhoneNumber;
  std::wstring DateTime;
  std::wstring OtherText;
};

struct SignalArgs {
  std::wstring Level[8];  // Level1 … Level8
};

class IDeviceControl {
 public:
  using CallerIdHandler = std::function<void(IDeviceControl& sender, const CallerIdArgs&)>;
  using SignalHandler = std::function<void(IDeviceControl& sender, const SignalArgs&)>;

  virtual ~IDeviceControl() = default;
  // A failing call raises the control's error.
  virtual void Start() = 0;
  virtual std::wstring Command(const std::wstring& text) = 0;
  virtual void SetOnSignalA(SignalHandler handler) = 0;
  virtual void SetOnCallerID(CallerIdHandler handler) = 0;
};

// Creates the control as a hidden child at the top of the window; raises when the control
// is not installed.
class IDeviceControlFactory {
 public:
  virtual ~IDeviceControlFactory() = default;
  virtual std::unique_ptr<IDeviceControl> Create() = 0;
};

}  // namespace monitor
