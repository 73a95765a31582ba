// What the KalloraPlus form needs of its surroundings, in its own terms: its windows and timer,
// the hosted device control, and the host's event sink.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace legacy::control {

struct Size {
  int width;
  int height;
};

// The form's window and children (Image1, Tevrin51, Oku_timer, the About window).
class FormPlatform {
 public:
  virtual ~FormPlatform() = default;
  virtual Size ImageSize() const = 0;
  virtual void SetFormSize(Size size) = 0;
  virtual void SetAutoSize(bool on) = 0;
  virtual void HideDevice() = 0;
  virtual bool FormVisible() const = 0;
  virtual void SetFormVisible(bool visible) = 0;
  // Enabling a running timer restarts its period.
  virtual void SetTimerEnabled(bool enabled) = 0;
  // Milliseconds from a fixed point in the past: how long a report took.
  virtual std::int64_t Milliseconds() const = 0;
  // Modal; returns when the window has closed. Raises common::Error when it cannot be shown.
  virtual void ShowAbout() = 0;
  virtual void ShowErrorBox(const std::wstring& message) = 0;
};

// The hosted device control Tevrin51; a failing call raises common::Error.
class DeviceControl {
 public:
  virtual ~DeviceControl() = default;
  virtual void Start() = 0;
  virtual std::wstring Command(const std::wstring& command) = 0;
};

// The host's event sink behind the result-ignoring wrapper: whatever the host's handler
// answers, raising succeeds.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual bool Connected() const = 0;
  virtual void Raise(long dispid, const std::vector<std::wstring>& arguments) = 0;
};

}  // namespace legacy::control
