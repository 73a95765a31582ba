// KalloraPlus, the COM object a host holds: the standard control object serving IKalloraPlus,
// around the form TKalloraPlus and its window. Every member catches its failures and answers
// an HRESULT with error information.
#pragma once

#include <windows.h>

#include <memory>

#include "activex/control.h"
#include "legacy/control/kallora_plus_form.h"
#include "legacy/control/kallora_plus_window.h"
#include "legacy/kallora_plus_interface.h"

namespace legacy::control {

class DeviceHost;

class KalloraPlusControl final : public activex::Control<IKalloraPlus>, private EventSink {
 public:
  // A new control holding one reference for the caller; raises common::Error on failure.
  static IUnknown* Create();

  // IKalloraPlus
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE AboutBox() override;
  HRESULT STDMETHODCALLTYPE put_Config(BSTR Value) override;
  HRESULT STDMETHODCALLTYPE DialThisNumber(BSTR* PhoneNumber) override;
  HRESULT STDMETHODCALLTYPE get_About(BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE put_About(BSTR Value) override;
  HRESULT STDMETHODCALLTYPE get_ServiceRunning(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE get_DeviceModel(BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE get_LineStatus(LONG LineNum, BSTR* Value) override;
  HRESULT STDMETHODCALLTYPE Start() override;

  // The form behind the COM object.
  TKalloraPlus& Form() noexcept { return form_; }

 private:
  KalloraPlusControl();
  ~KalloraPlusControl() override;

  HWND Window() const noexcept override { return window_.Handle(); }
  void OnEventSinkChanged() noexcept override;

  // EventSink: the control object's connection point, whose calls ignore the host's answer.
  bool Connected() const override { return HasEventSink(); }
  void Raise(long dispid, const std::vector<std::wstring>& arguments) override;

  KalloraPlusWindow window_;
  std::unique_ptr<DeviceHost> device_;
  TKalloraPlus form_;
};

}  // namespace legacy::control
