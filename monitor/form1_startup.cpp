// TForm1's start-up and shut-down: the beep mutex, the call counter, the device control
// created and started in a guarded block, the one-time raise, and the close.
#include <utility>

#include "monitor/call_list.h"
#include "monitor/form1_handlers.h"
#include "monitor/form1_texts.h"

namespace monitor {

TForm1Handlers::TForm1Handlers(Form1Controls controls, IDeviceControlFactory& devices,
                               IBeepSystem& beeps)
    : c_(controls), devices_(devices), beeps_(beeps) {}

void TForm1Handlers::FormCreate() {
  c_.Form.PrepareForShow();
  // The window is drawn before the device control, which may take a while, is created.
  c_.Form.ProcessMessages();
  CreateBeepMutex();
  SetCallCount(0);
  try {
    CreateDeviceControl();
  } catch (...) {
    // Start-up goes on without the device; the window says what is missing.
    ShowInstallationTexts();
  }
}

void TForm1Handlers::CreateBeepMutex() {
  beepMutex_ = beeps_.OpenOrCreateMutex(BeepMutexName(beeps_.CurrentProcessId()));
}

void TForm1Handlers::CreateDeviceControl() {
  tevrin51_ = devices_.Create();
  tevrin51_->SetOnSignalA(
      [this](IDeviceControl& sender, const SignalArgs& levels) { Tevrin51SignalA(sender, levels); });
  tevrin51_->SetOnCallerID(
      [this](IDeviceControl& sender, const CallerIdArgs& call) { Tevrin51CallerID(sender, call); });
  tevrin51_->Command(texts::AccessCode);
  tevrin51_->Start();
  for (IMeter* meter : {&c_.ProgressBar1, &c_.ProgressBar2, &c_.ProgressBar3, &c_.ProgressBar4})
    meter->SetSmooth();
}

void TForm1Handlers::ShowInstallationTexts() {
  c_.Label5.SetCaption(L"");
  c_.Label22.SetCaption(texts::FilesMissing);
  c_.Label9.SetCaption(texts::CompleteInstallation);
}

void TForm1Handlers::Timer2Timer() {
  c_.Timer2.SetEnabled(false);
  c_.Form.BringApplicationToFront();
}

void TForm1Handlers::ki1Click() { c_.Form.Close(); }

void TForm1Handlers::FormCloseQuery(bool& canClose) {
  canClose = true;
  if (tevrin51_) tevrin51_->Command(texts::StopCommand);
}

void TForm1Handlers::DestroyDevice() noexcept { tevrin51_.reset(); }

void TForm1Handlers::SetCallCount(std::int32_t count) {
  callCount_ = count;
  c_.Label5.SetCaption(std::to_wstring(count));
}

}  // namespace monitor
