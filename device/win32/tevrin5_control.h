// The simulated device control: ITevrin5 over a SimulatedDevice, its events raised on the
// thread that created it, and a hidden device window through which the console tool drives it.
#pragma once

#include <memory>

#include "device/control_request.h"
#include "device/simulated_device.h"
#include "device/win32/tevrin5_base.h"

namespace device {

class Tevrin5Control final : public Tevrin5Base, private DeviceEvents {
 public:
  static IUnknown* Create();

  HRESULT STDMETHODCALLTYPE get_Plugged(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE get_Model(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_Serial(BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_CommandCount(LONG* value) override;
  HRESULT STDMETHODCALLTYPE Start() override;
  HRESULT STDMETHODCALLTYPE get_Started(VARIANT_BOOL* value) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Command(BSTR text, BSTR* result) override;

 private:
  Tevrin5Control();
  ~Tevrin5Control() override;

  bool Lit() const override { return device_.Plugged(); }
  void OnCallerId(const CallerId& call) override { RaiseCall(call); }
  void OnSignal(const Levels& levels) override { RaiseLevels(levels); }
  std::optional<LRESULT> LinkMessage(UINT message, WPARAM wParam, LPARAM lParam);

  SimulatedDevice device_{*this};
  Demo demo_;
  std::unique_ptr<activex::MessageWindow> link_;
};

}  // namespace device
