#include "legacy/control/kallora_plus_control.h"

#include "activex/bstr.h"
#include "common/error.h"
#include "legacy/control/device_host.h"
#include "legacy/kallora_plus_class.h"

namespace legacy::control {
namespace {

const activex::ControlDescription& Description() {
  static const activex::ControlDescription description{CLSID_KalloraPlus, IID_IKalloraPlus, DIID_IKalloraPlusEvents,
                                                       kProgId, kKalloraPlusMiscStatus};
  return description;
}

VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// A text handed to the caller, who frees it.
BSTR Give(const std::wstring& text) {
  BSTR result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!result) throw std::bad_alloc();
  return result;
}

}  // namespace

IUnknown* KalloraPlusControl::Create() {
  auto* control = new KalloraPlusControl();
  return static_cast<IOleObject*>(control);
}

// The form is built and laid out first, then initialised: from here on its creation,
// destruction and focus are forwarded to the host.
KalloraPlusControl::KalloraPlusControl()
    : Control(Description()),
      window_(ParkingWindow()),
      device_(std::make_unique<DeviceHost>(window_.Handle())),
      form_(window_, *device_, *this) {
  window_.SetDeviceWindow(device_->Window());
  device_->Bind(form_);
  window_.Attach(&form_, static_cast<IOleObject*>(this));
  form_.ActiveFormCreate();
  form_.Initialize();
}

KalloraPlusControl::~KalloraPlusControl() {
  try {
    form_.DestructionNotification();
  } catch (...) {
  }
  window_.Attach(nullptr, nullptr);
  device_.reset();
}

void KalloraPlusControl::OnEventSinkChanged() noexcept {
  try {
    form_.EventSinkChanged();
  } catch (...) {
  }
}

void KalloraPlusControl::Raise(long dispid, const std::vector<std::wstring>& arguments) {
  FireEvent(dispid, std::vector<std::wstring_view>(arguments.begin(), arguments.end()));
}

HRESULT KalloraPlusControl::get_Visible(VARIANT_BOOL* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = Bool(form_.Visible());
  });
}

HRESULT KalloraPlusControl::put_Visible(VARIANT_BOOL Value) {
  return Guard([&] { form_.SetVisible(Value != 0); });
}

HRESULT KalloraPlusControl::get_Active(VARIANT_BOOL* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = Bool(form_.Active());
  });
}

HRESULT KalloraPlusControl::AboutBox() {
  return Guard([&] { form_.AboutBox(); });
}

HRESULT KalloraPlusControl::put_Config(BSTR Value) {
  return Guard([&] { form_.SetConfig(activex::TextOf(Value)); });
}

// Dials nothing. What the pointer held stays the caller's: it is not freed here.
HRESULT KalloraPlusControl::DialThisNumber(BSTR* PhoneNumber) {
  return Guard([&] {
    if (PhoneNumber) *PhoneNumber = nullptr;
  });
}

HRESULT KalloraPlusControl::get_About(BSTR* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = nullptr;
    *Value = Give(form_.About());
  });
}

HRESULT KalloraPlusControl::put_About(BSTR Value) {
  return Guard([&] {
    form_.SetAbout(activex::TextOf(Value));
    (void)form_.About();
  });
}

HRESULT KalloraPlusControl::get_ServiceRunning(VARIANT_BOOL* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = Bool(form_.ServiceRunning());
  });
}

HRESULT KalloraPlusControl::get_DeviceModel(BSTR* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = nullptr;
    *Value = Give(form_.DeviceModel());
  });
}

HRESULT KalloraPlusControl::get_LineStatus(LONG LineNum, BSTR* Value) {
  return Guard([&] {
    if (!Value) throw common::Error(L"Invalid pointer", E_POINTER);
    *Value = nullptr;
    *Value = Give(form_.LineStatus(LineNum));
  });
}

HRESULT KalloraPlusControl::Start() {
  return Guard([&] { form_.Start(); });
}

}  // namespace legacy::control
