// TKalloraPlus: the KalloraPlus form's behaviour. It holds the device control, re-raises its
// calls at once and reports the stored signal levels on every tick of Oku_timer, and answers
// the members of IKalloraPlus. Everything runs on the thread that created the control.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "legacy/control/form_platform.h"
#include "legacy/control/library_focus.h"

namespace legacy::control {

class TKalloraPlus : public FocusParticipant {
 public:
  TKalloraPlus(FormPlatform& platform, DeviceControl& device, EventSink& sink);
  ~TKalloraPlus() override;
  TKalloraPlus(const TKalloraPlus&) = delete;
  TKalloraPlus& operator=(const TKalloraPlus&) = delete;

  // Handlers of the form and its children.
  void ActiveFormCreate();
  void Image1MouseDown();
  void Tevrin51Click();
  void About1Click();
  void Tevrin51CallerID(const std::wstring& deviceId, const std::wstring& line, const std::wstring& phoneNumber,
                        const std::wstring& dateTime, const std::wstring& otherText);
  void Tevrin51SignalA(const std::array<std::wstring, 8>& levels);
  void Oku_timerTimer();

  // The form's own notifications.
  void WindowActivation(bool active);  // WM_ACTIVATE: a state other than WA_INACTIVE
  void FocusEnteredForm();             // one of the form's windows took the keyboard focus
  // The COM object initialises the form: from now on its creation, destruction and focus
  // notifications are forwarded to the host.
  void Initialize();
  void CreationNotification();
  void DestructionNotification();
  // The host advised or unadvised its event sink.
  void EventSinkChanged();

  // IKalloraPlus
  bool Visible() const;
  void SetVisible(bool visible);
  bool Active() const { return active_; }
  void AboutBox();
  void SetConfig(const std::wstring& value);
  std::wstring About() const;
  void SetAbout(const std::wstring& value);
  bool ServiceRunning() const { return true; }
  std::wstring DeviceModel();
  std::wstring LineStatus(long lineNum) const;
  void Start();

 private:
  void FocusGained() override;
  void FocusLost() override;
  void LayOut();
  void RaiseSignalReport();
  void RaiseForwarded(long dispid);

  FormPlatform& platform_;
  DeviceControl& device_;
  EventSink& sink_;
  bool active_ = false;
  bool reporting_ = false;  // a signal report is being raised
  // The window timer's granularity: a report shorter than this cannot delay the next one.
  static constexpr std::int64_t kTimerResolutionMs = 10;
  bool forwarding_ = false;
  unsigned sinkChanges_ = 0;
};

}  // namespace legacy::control
