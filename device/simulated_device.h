// The simulated caller-ID device behind the stand-in control: its plug state, the commands it
// answers, the log of what it was told, injected failures, and the calls and signal levels it
// reports.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>

namespace device {

inline constexpr int kLineCount = 8;
using Levels = std::array<std::wstring, kLineCount>;

struct CallerId {
  std::wstring deviceId, line, phoneNumber, dateTime, otherText;
  bool operator==(const CallerId&) const = default;
};

// Where the device's reports go (the control raises them as events).
class DeviceEvents {
 public:
  virtual ~DeviceEvents() = default;
  virtual void OnCallerId(const CallerId& call) = 0;
  virtual void OnSignal(const Levels& levels) = 0;
};

class SimulatedDevice {
 public:
  static constexpr wchar_t kAccessCode[] = L"+:~.-q";
  // How a Start appears in the log, so it cannot be taken for a command text.
  static constexpr wchar_t kStartEntry[] = L"Start()";
  // The log keeps this many of the latest entries, as a host polls the device for ever.
  static constexpr std::size_t kLogLimit = 1000;

  explicit SimulatedDevice(DeviceEvents& events) : events_(events) {}

  // Answers a command and logs it; throws common::Error while failures are injected.
  std::wstring Command(const std::wstring& command);
  void Start();
  void Stop() { started_ = false; }

  void Plug(std::wstring model, std::wstring serial);
  void Unplug();
  // The device identifier of a call defaults to the serial number.
  void Call(CallerId call);
  void ReportLevels(const Levels& levels) { events_.OnSignal(levels); }
  void FailNextCommands(int count) { failuresLeft_ = count < 0 ? 0 : count; }

  bool Plugged() const { return plugged_; }
  bool Started() const { return started_; }
  bool Unlocked() const { return unlocked_; }
  const std::wstring& Model() const { return model_; }
  const std::wstring& Serial() const { return serial_; }
  // The latest commands and Starts, in the order they came, and how many earlier ones the
  // log no longer holds.
  const std::deque<std::wstring>& Log() const { return log_; }
  std::uint64_t DroppedLogEntries() const { return droppedLogEntries_; }
  int CommandCount() const { return commandCount_; }
  int FailuresLeft() const { return failuresLeft_; }

 private:
  DeviceEvents& events_;
  bool plugged_ = false;
  bool started_ = false;
  bool unlocked_ = false;
  std::wstring model_, serial_;
  void AddToLog(std::wstring entry);

  std::deque<std::wstring> log_;
  std::uint64_t droppedLogEntries_ = 0;
  int commandCount_ = 0;
  int failuresLeft_ = 0;
};

}  // namespace device
