// The console tool's request path: the input (UTF-8) is read twice. Its lines as a command
// line: parsed, carried as one text and applied to a simulated device, which must then be
// in the state the request asked for. Its whole text as a request another program might
// send: decoded and applied, answered without a failure whatever it holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/fuzz/fuzz_check.h"
#include "common/utf16.h"
#include "device/control_request.h"
#include "device/simulated_device.h"

namespace {

using common::fuzz::Require;
using device::ControlRequest;

struct CountingEvents : device::DeviceEvents {
  std::vector<device::CallerId> calls;
  std::vector<device::Levels> levels;
  void OnCallerId(const device::CallerId& call) override { calls.push_back(call); }
  void OnSignal(const device::Levels& reported) override { levels.push_back(reported); }
};

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// What a device shows after an accepted request.
void CheckApplied(const ControlRequest& request, const std::wstring& answer, const device::SimulatedDevice& device,
                  const CountingEvents& events, std::size_t callsBefore) {
  const auto& f = request.fields;
  Require(answer.rfind(L"unknown request", 0) != 0, "an accepted request is known to the device");
  if (request.verb == L"plug") Require(device.Plugged() && device.Model() == f[0] && device.Serial() == f[1], "plugged as asked");
  if (request.verb == L"unplug") Require(!device.Plugged(), "unplugged");
  if (request.verb == L"call") {
    Require(events.calls.size() == callsBefore + 1, "one call raised");
    const device::CallerId& call = events.calls.back();
    Require(call.line == f[0] && call.phoneNumber == f[1] && call.dateTime == f[2] && call.otherText == f[4],
            "the call carries the texts sent");
  }
  if (request.verb == L"levels") Require(std::equal(f.begin(), f.end(), events.levels.back().begin()), "levels as sent");
  if (request.verb == L"fail") Require(device.FailuresLeft() == std::stoi(f[0]), "failures as asked");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = common::FromUtf8({reinterpret_cast<const char*>(data), size});
  CountingEvents events;
  device::SimulatedDevice device(events);
  device::Demo demo(1);

  std::optional<ControlRequest> request;
  try {
    request = device::ParseRequest(Lines(text), L"08.12.2026 01:02:03");
  } catch (const common::Error&) {
    // A usage message: the tool prints it and sends nothing.
  }
  if (request) {
    const ControlRequest carried = device::Decode(device::Encode(*request));
    Require(carried.verb == request->verb && carried.fields == request->fields, "a request arrives as it was sent");
    const std::size_t callsBefore = events.calls.size();
    CheckApplied(carried, device::Apply(carried, device, demo), device, events, callsBefore);
  }

  device::Apply(device::Decode(text), device, demo);
  if (demo.On()) demo.Step(device, L"now");
  return 0;
}
