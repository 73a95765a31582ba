// Commands, plug state and reports of the simulated device.
#include "device/simulated_device.h"

#include <utility>

#include "common/error.h"

namespace device {

namespace {
constexpr std::int32_t kInjectedFailure = static_cast<std::int32_t>(0x80004005);  // E_FAIL
}  // namespace

std::wstring SimulatedDevice::Command(const std::wstring& command) {
  AddToLog(command);
  ++commandCount_;
  if (failuresLeft_ > 0) {
    --failuresLeft_;
    throw common::Error(L"Simulated device failure", kInjectedFailure);
  }
  if (command == kAccessCode) {
    unlocked_ = true;
    return {};
  }
  if (command == L"devicemodel") return plugged_ ? model_ : std::wstring();
  if (command == L"serial") return plugged_ ? serial_ : std::wstring();
  if (command == L"reason") return plugged_ ? std::wstring() : L"the simulated device is unplugged (devctl plug)";
  if (command == L"test_stop") {
    started_ = false;
    return {};
  }
  return {};
}

void SimulatedDevice::Start() {
  AddToLog(kStartEntry);
  started_ = true;
}

void SimulatedDevice::AddToLog(std::wstring entry) {
  log_.push_back(std::move(entry));
  if (log_.size() <= kLogLimit) return;
  log_.pop_front();
  ++droppedLogEntries_;
}

void SimulatedDevice::Plug(std::wstring model, std::wstring serial) {
  plugged_ = true;
  model_ = std::move(model);
  serial_ = std::move(serial);
}

void SimulatedDevice::Unplug() {
  plugged_ = false;
  model_.clear();
  serial_.clear();
}

void SimulatedDevice::Call(CallerId call) {
  if (call.deviceId.empty()) call.deviceId = serial_;
  events_.OnCallerId(call);
}

}  // namespace device
