// What TForm1's handlers touch of the window, each control as a small interface: the window
// layer hands in its real controls, the tests hand in recording fakes.
#pragma once

#include <cstdint>
#include <string>

namespace monitor {

class ITextLabel {
 public:
  virtual ~ITextLabel() = default;
  virtual std::wstring Caption() const = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
};

class IMeter {
 public:
  virtual ~IMeter() = default;
  virtual void SetPosition(std::int32_t position) = 0;
  virtual void SetSmooth() = 0;
};

class ITimerSwitch {
 public:
  virtual ~ITimerSwitch() = default;
  virtual void SetEnabled(bool enabled) = 0;
};

// The window itself and the application around it.
class IFormWindow {
 public:
  virtual ~IFormWindow() = default;
  // Centred on the screen at its designed size, never stretched to the screen.
  virtual void PrepareForShow() = 0;
  virtual void ProcessMessages() = 0;
  virtual void BringApplicationToFront() = 0;
  virtual void Close() = 0;
};

class ICallList;
class ITrayBalloon;

// The named fields of TForm1 that its handlers use.
struct Form1Controls {
  IFormWindow& Form;
  ITextLabel& Label1;
  ITextLabel& Label2;
  ITextLabel& Label3;
  ITextLabel& Label4;
  ITextLabel& Label5;
  ITextLabel& Label9;
  ITextLabel& Label22;
  ITextLabel& Label24;
  ITextLabel& Label25;
  IMeter& ProgressBar1;
  IMeter& ProgressBar2;
  IMeter& ProgressBar3;
  IMeter& ProgressBar4;
  ITimerSwitch& Timer1;
  ITimerSwitch& Timer2;
  ICallList& TextGrid1;
  ITrayBalloon& TrayIcon1;
};

}  // namespace monitor
