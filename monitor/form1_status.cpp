// The connection poll and the signal meters. The status label's text is the connection
// state: the poll compares against what the window shows.
#include <array>

#include "common/device_int.h"
#include "monitor/call_list.h"
#include "monitor/form1_handlers.h"
#include "monitor/form1_texts.h"

namespace monitor {
namespace {

// Puts the timer back on however the poll ends, so a passing device error does not
// freeze the status for the rest of the run.
class TimerRestart {
 public:
  explicit TimerRestart(ITimerSwitch& timer) : timer_(timer) { timer_.SetEnabled(false); }
  ~TimerRestart() {
    try {
      timer_.SetEnabled(true);
    } catch (...) {
    }
  }
  TimerRestart(const TimerRestart&) = delete;
  TimerRestart& operator=(const TimerRestart&) = delete;

 private:
  ITimerSwitch& timer_;
};

}  // namespace

void TForm1Handlers::Timer1Timer() {
  if (!tevrin51_) return;
  TimerRestart restart(c_.Timer1);
  PollDevice();
}

void TForm1Handlers::PollDevice() {
  const std::wstring model = tevrin51_->Command(texts::DeviceModelCommand);
  if (!model.empty()) {
    c_.Label24.SetCaption(texts::ModelPrefix + model);
    c_.Label25.SetCaption(texts::SerialPrefix + tevrin51_->Command(texts::SerialCommand));
  }
  const bool wasConnected = c_.Label9.Caption() == texts::Connected;
  if (wasConnected && model.empty()) ResetCallLog();
  if (!model.empty()) {
    c_.Label9.SetCaption(texts::Connected);
  } else {
    c_.Label9.SetCaption(texts::NotConnected);
    c_.Label24.SetCaption(L"");
    c_.Label25.SetCaption(L"");
  }
}

std::wstring TForm1Handlers::NotConnectedReason() {
  if (!tevrin51_ || c_.Label9.Caption() != texts::NotConnected) return {};
  return tevrin51_->Command(texts::ReasonCommand);
}

// Once per loss of the device: the rows stay, blank, and counting starts again.
void TForm1Handlers::ResetCallLog() {
  c_.TextGrid1.ClearCells();
  SetCallCount(0);
}

void TForm1Handlers::Tevrin51SignalA(IDeviceControl&, const SignalArgs& levels) {
  // All four are converted before anything shows, so a bad one changes nothing.
  std::array<std::int32_t, 4> values{};
  for (std::size_t line = 0; line < values.size(); ++line)
    values[line] = common::DeviceTextToInt(levels.Level[line]);
  const std::array<IMeter*, 4> meters{&c_.ProgressBar1, &c_.ProgressBar2, &c_.ProgressBar3,
                                      &c_.ProgressBar4};
  const std::array<ITextLabel*, 4> labels{&c_.Label1, &c_.Label2, &c_.Label3, &c_.Label4};
  for (std::size_t line = 0; line < values.size(); ++line) meters[line]->SetPosition(values[line]);
  for (std::size_t line = 0; line < values.size(); ++line)
    labels[line]->SetCaption(std::to_wstring(values[line]));
}

}  // namespace monitor
