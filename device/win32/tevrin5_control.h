// The simulated device control: ITevrin5 over a SimulatedDevice, its events raised on the
// thread that created it, and a hidden device window through which the console tool drives it.
#pragma once

#include <memory>

#include "activex/control.h"
#include "device/control_request.h"
#include "device/simulated_device.h"
#include "tevrin5_typelib.h"

namespace device {

class Tevrin5Control final : public activex::Control<ITevrin5>, private DeviceEvents {
 public:
  static IUnknown* Create();

  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
  HRESULT STDMETHODCALLTYPE get_Plugged(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE get_Model(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_Serial(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_LineCount(LONG* value) override;
  HRESULT STDMETHODCALLTYPE get_CommandCount(LONG* value) override;
#define DEVICE_RESERVED(n) \
  HRESULT STDMETHODCALLTYPE Reserved##n() override { return E_NOTIMPL; }
  DEVICE_RESERVED(01) DEVICE_RESERVED(02) DEVICE_RESERVED(03) DEVICE_RESERVED(04) DEVICE_RESERVED(05)
  DEVICE_RESERVED(06) DEVICE_RESERVED(07) DEVICE_RESERVED(08) DEVICE_RESERVED(09) DEVICE_RESERVED(10)
  DEVICE_RESERVED(11) DEVICE_RESERVED(12) DEVICE_RESERVED(13) DEVICE_RESERVED(14) DEVICE_RESERVED(15)
  DEVICE_RESERVED(16) DEVICE_RESERVED(17) DEVICE_RESERVED(18) DEVICE_RESERVED(19) DEVICE_RESERVED(20)
  DEVICE_RESERVED(21) DEVICE_RESERVED(22) DEVICE_RESERVED(23) DEVICE_RESERVED(24) DEVICE_RESERVED(25)
  DEVICE_RESERVED(26) DEVICE_RESERVED(27) DEVICE_RESERVED(28) DEVICE_RESERVED(29) DEVICE_RESERVED(30)
#undef DEVICE_RESERVED
  HRESULT STDMETHODCALLTYPE Start() override;
  HRESULT STDMETHODCALLTYPE get_Started(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Command(BSTR text, BSTR* result) override;

 private:
  Tevrin5Control();
  ~Tevrin5Control() override;

  HWND Window() const noexcept override { return window_->Handle(); }
  void OnCallerId(const CallerId& call) override;
  void OnSignal(const Levels& levels) override;
  std::optional<LRESULT> ControlMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> LinkMessage(UINT message, WPARAM wParam, LPARAM lParam);

  SimulatedDevice device_{*this};
  Demo demo_;
  bool enabled_ = true;
  std::unique_ptr<activex::MessageWindow> window_;
  std::unique_ptr<activex::MessageWindow> link_;
};

// "dd.MM.yy HH:mm" of the local time.
std::wstring NowText();

}  // namespace device
