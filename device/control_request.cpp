// Parsing, carrying and applying the console tool's requests.
#include "device/control_request.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "common/error.h"

namespace device {

namespace {

constexpr wchar_t kSeparator = L'\x1F';

struct Shape {
  std::size_t least, most;
  const wchar_t* usage;
};

const std::map<std::wstring, Shape>& Shapes() {
  static const std::map<std::wstring, Shape> shapes{
      {L"plug", {2, 2, L"plug MODEL SERIAL"}},
      {L"unplug", {0, 0, L"unplug"}},
      {L"call", {2, 5, L"call LINE NUMBER [DATETIME [DEVICEID [OTHER]]]"}},
      {L"levels", {8, 8, L"levels L1 L2 L3 L4 L5 L6 L7 L8"}},
      {L"fail", {1, 1, L"fail N"}},
      {L"demo", {1, 1, L"demo on|off"}},
      {L"log", {0, 0, L"log"}},
      {L"status", {0, 0, L"status"}},
  };
  return shapes;
}

[[noreturn]] void Usage(const std::wstring& problem) { throw common::Error(problem + L"\n" + UsageText()); }

bool IsCount(const std::wstring& text) {
  if (text.empty() || text.size() > 6) return false;
  for (wchar_t c : text)
    if (!std::iswdigit(c)) return false;
  return true;
}

// The log, after a line that says how many earlier entries it no longer holds.
std::wstring LogText(const SimulatedDevice& device) {
  std::wstring text;
  if (device.DroppedLogEntries() > 0)
    text = L"(" + std::to_wstring(device.DroppedLogEntries()) + L" earlier entries dropped)\n";
  for (const auto& line : device.Log()) text += line + L"\n";
  return text;
}

}  // namespace

std::wstring UsageText() {
  std::wstring text = L"usage: devctl COMMAND [ARGUMENTS]\ncommands:\n";
  for (const auto& [verb, shape] : Shapes()) text += L"  " + std::wstring(shape.usage) + L"\n";
  text += L"  register [--force]\n  unregister\n  -   (requests from standard input, one a line)\n";
  return text;
}

ControlRequest ParseRequest(const std::vector<std::wstring>& arguments, const std::wstring& now) {
  if (arguments.empty()) Usage(L"no command given");
  auto shape = Shapes().find(arguments[0]);
  if (shape == Shapes().end()) Usage(L"unknown command '" + arguments[0] + L"'");
  ControlRequest request{arguments[0], {arguments.begin() + 1, arguments.end()}};
  // The separator inside a field would split it in two on the device's side.
  for (const auto& field : request.fields)
    if (field.find(kSeparator) != std::wstring::npos) Usage(L"an argument holds the character U+001F, which cannot be sent");
  if (request.fields.size() < shape->second.least || request.fields.size() > shape->second.most)
    Usage(L"wrong number of arguments; usage: devctl " + std::wstring(shape->second.usage));
  if (request.verb == L"fail" && !IsCount(request.fields[0])) Usage(L"fail: N must be a count, not '" + request.fields[0] + L"'");
  if (request.verb == L"demo" && request.fields[0] != L"on" && request.fields[0] != L"off")
    Usage(L"demo: say on or off, not '" + request.fields[0] + L"'");
  if (request.verb == L"call") {
    request.fields.resize(5);
    if (arguments.size() < 4) request.fields[2] = now;
  }
  return request;
}

std::wstring Encode(const ControlRequest& request) {
  std::wstring text = request.verb;
  for (const auto& field : request.fields) text += kSeparator + field;
  return text;
}

ControlRequest Decode(const std::wstring& text) {
  ControlRequest request;
  std::size_t start = 0, end = text.find(kSeparator);
  request.verb = text.substr(0, end);
  while (end != std::wstring::npos) {
    start = end + 1;
    end = text.find(kSeparator, start);
    request.fields.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
  }
  return request;
}

void Demo::Step(SimulatedDevice& device, const std::wstring& now) {
  std::uniform_int_distribution<int> step(-3, 3);
  Levels texts;
  for (int i = 0; i < kLineCount; ++i) {
    levels_[i] = std::clamp(levels_[i] + step(random_), 0, 30);
    texts[i] = std::to_wstring(levels_[i]);
  }
  device.ReportLevels(texts);
  if (--stepsToCall_ > 0) return;
  stepsToCall_ = std::uniform_int_distribution<int>(4, 10)(random_);
  std::uniform_int_distribution<int> digit(0, 9);
  std::wstring number = L"05";
  for (int i = 0; i < 9; ++i) {
    if (i == 2 || i == 5 || i == 7) number += L' ';
    number += static_cast<wchar_t>(L'0' + digit(random_));
  }
  int line = std::uniform_int_distribution<int>(1, kLineCount)(random_);
  device.Call({L"", std::to_wstring(line), number, now, L"demo"});
}

std::wstring Apply(const ControlRequest& request, SimulatedDevice& device, Demo& demo) {
  const auto& f = request.fields;
  if (request.verb == L"plug" && f.size() == 2) {
    device.Plug(f[0], f[1]);
    return L"plugged " + f[0] + L" " + f[1];
  }
  if (request.verb == L"unplug") {
    device.Unplug();
    return L"unplugged";
  }
  if (request.verb == L"call" && f.size() == 5) {
    device.Call({f[3], f[0], f[1], f[2], f[4]});
    return L"call sent";
  }
  if (request.verb == L"levels" && f.size() == kLineCount) {
    Levels levels;
    std::copy(f.begin(), f.end(), levels.begin());
    device.ReportLevels(levels);
    return L"levels sent";
  }
  if (request.verb == L"fail" && f.size() == 1 && IsCount(f[0])) {
    device.FailNextCommands(std::stoi(f[0]));
    return L"the next " + f[0] + L" commands fail";
  }
  if (request.verb == L"demo" && f.size() == 1) {
    demo.Switch(f[0] == L"on");
    if (demo.On() && !device.Plugged()) device.Plug(L"SIM-8", L"SIM00001");
    return demo.On() ? L"demo on" : L"demo off";
  }
  if (request.verb == L"log") return LogText(device);
  if (request.verb == L"status") {
    return (device.Plugged() ? L"plugged " + device.Model() + L" " + device.Serial() : std::wstring(L"unplugged")) +
           (device.Started() ? L", started" : L", not started") + (demo.On() ? L", demo on" : L", demo off") + L", " +
           std::to_wstring(device.CommandCount()) + L" commands, " + std::to_wstring(device.FailuresLeft()) +
           L" failures pending";
  }
  return L"unknown request '" + request.verb + L"'";
}

}  // namespace device
