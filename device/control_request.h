// What the console tool asks of every running simulated device: parsed from its command line,
// carried as one text (fields separated by U+001F) and applied to a device, which answers
// with a text.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "device/simulated_device.h"

namespace device {

struct ControlRequest {
  std::wstring verb;                // plug, unplug, call, levels, fail, demo, log, status
  std::vector<std::wstring> fields;
};

// Throws common::Error with a usage message for a command line the tool does not accept.
// now fills in a call's missing DATETIME.
ControlRequest ParseRequest(const std::vector<std::wstring>& arguments, const std::wstring& now);
std::wstring UsageText();

std::wstring Encode(const ControlRequest& request);
ControlRequest Decode(const std::wstring& text);

// The demo's state: a plugged device, wandering levels, a call every few seconds.
class Demo {
 public:
  explicit Demo(unsigned seed) : random_(seed) { levels_.fill(15); }
  bool On() const { return on_; }
  void Switch(bool on) { on_ = on; }
  // One step of half a second: new levels, and now and then a call on a random line.
  void Step(SimulatedDevice& device, const std::wstring& now);

 private:
  bool on_ = false;
  std::mt19937 random_;
  std::array<int, kLineCount> levels_{};
  int stepsToCall_ = 6;
};

// Applies a request to a device; the answer is what the tool prints for this device.
std::wstring Apply(const ControlRequest& request, SimulatedDevice& device, Demo& demo);

}  // namespace device
