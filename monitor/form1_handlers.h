// TForm1's handlers, free of the platform: start-up and shut-down, the call log, the
// connection poll and the signal meters, over the window's controls as interfaces.
#pragma once

#include <cstdint>
#include <memory>

#include "monitor/beep.h"
#include "monitor/device_control.h"
#include "monitor/form1_controls.h"

namespace monitor {

class TForm1Handlers {
 public:
  // The list never grows past this many rows before a call is appended.
  static constexpr std::int32_t RowsKeptBeforeCall = 10;
  static constexpr std::uint8_t BalloonSeconds = 10;

  TForm1Handlers(Form1Controls controls, IDeviceControlFactory& devices, IBeepSystem& beeps);

  // Start-up and shut-down.
  void FormCreate();
  void Timer2Timer();
  void ki1Click();
  // Sends "test_stop"; a failure of that command is raised after the close has been allowed.
  void FormCloseQuery(bool& canClose);
  // The device control goes with the window.
  void DestroyDevice() noexcept;

  // Call log.
  void Tevrin51CallerID(IDeviceControl& sender, const CallerIdArgs& call);
  void Listeyisil1Click();

  // Connection status and signal meters.
  void Timer1Timer();
  void Tevrin51SignalA(IDeviceControl& sender, const SignalArgs& levels);
  // The status line's tooltip: the control's reason while it is not connected, asked only
  // when the tooltip shows; empty when connected or when the control gives none.
  std::wstring NotConnectedReason();

  IDeviceControl* Tevrin51() const noexcept { return tevrin51_.get(); }
  std::int32_t CallCount() const noexcept { return callCount_; }

 private:
  void CreateBeepMutex();
  void CreateDeviceControl();
  void ShowInstallationTexts();
  void SetCallCount(std::int32_t count);
  void ShowCall(std::int32_t row, const CallerIdArgs& call);
  void PollDevice();
  void ResetCallLog();

  Form1Controls c_;
  IDeviceControlFactory& devices_;
  IBeepSystem& beeps_;
  std::unique_ptr<IDeviceControl> tevrin51_;
  std::shared_ptr<IBeepMutex> beepMutex_;
  std::int32_t callCount_ = 0;
};

}  // namespace monitor
