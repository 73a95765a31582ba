// What every control with the device control's binary interface shares: the hidden child
// window that paints the device's state and raises OnClick, Visible and Enabled, the line
// count, the reserved slots, and raising calls and signal levels as events.
#pragma once

#include <memory>

#include "activex/control.h"
#include "device/simulated_device.h"
#include "tevrin5_typelib.h"

namespace device {

class Tevrin5Base : public activex::Control<ITevrin5> {
 public:
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_LineCount(LONG* value) override;
#define DEVICE_RESERVED(n) \
  HRESULT STDMETHODCALLTYPE Reserved##n() override { return E_NOTIMPL; }
  DEVICE_RESERVED(01) DEVICE_RESERVED(02) DEVICE_RESERVED(03) DEVICE_RESERVED(04) DEVICE_RESERVED(05)
  DEVICE_RESERVED(06) DEVICE_RESERVED(07) DEVICE_RESERVED(08) DEVICE_RESERVED(09) DEVICE_RESERVED(10)
  DEVICE_RESERVED(11) DEVICE_RESERVED(12) DEVICE_RESERVED(13) DEVICE_RESERVED(14) DEVICE_RESERVED(15)
  DEVICE_RESERVED(16) DEVICE_RESERVED(17) DEVICE_RESERVED(18) DEVICE_RESERVED(19) DEVICE_RESERVED(20)
  DEVICE_RESERVED(21) DEVICE_RESERVED(22) DEVICE_RESERVED(23) DEVICE_RESERVED(24) DEVICE_RESERVED(25)
  DEVICE_RESERVED(26) DEVICE_RESERVED(27) DEVICE_RESERVED(28) DEVICE_RESERVED(29) DEVICE_RESERVED(30)
#undef DEVICE_RESERVED

 protected:
  // windowClass names the child window's class, one per kind of control.
  Tevrin5Base(const activex::ControlDescription& description, const wchar_t* windowClass);
  ~Tevrin5Base() override;

  // Whether the device answers: the window shows it green, grey otherwise.
  virtual bool Lit() const = 0;
  void ShowState() { InvalidateRect(window_->Handle(), nullptr, TRUE); }
  void RaiseCall(const CallerId& call);
  void RaiseLevels(const Levels& levels);
  static VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

 private:
  HWND Window() const noexcept override { return window_->Handle(); }
  std::optional<LRESULT> ControlMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool enabled_ = true;
  std::unique_ptr<activex::MessageWindow> window_;
};

// "dd.MM.yy HH:mm" of the local time.
std::wstring NowText();

}  // namespace device
