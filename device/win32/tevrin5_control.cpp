// The simulated device control's members, events, window and console link.
#include "device/win32/tevrin5_control.h"

#include "activex/bstr.h"
#include "device/win32/device_link.h"

namespace device {

namespace {

const activex::ControlDescription kDescription{
    CLSID_Tevrin5, IID_ITevrin5, DIID_ITevrin5Events, L"SimulatedDevice.Tevrin5",
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_RECOMPOSEONRESIZE |
        OLEMISC_CANTLINKINSIDE};

constexpr UINT_PTR kDemoTimer = 1;
constexpr UINT kDemoIntervalMs = 500;

}  // namespace

IUnknown* Tevrin5Control::Create() { return static_cast<IOleObject*>(new Tevrin5Control()); }

Tevrin5Control::Tevrin5Control() : Tevrin5Base(kDescription, L"SimulatedTevrin5"), demo_(GetTickCount()) {
  link_ = std::make_unique<activex::MessageWindow>(
      kDeviceWindowClass, WS_POPUP, nullptr, RECT{0, 0, 0, 0},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return LinkMessage(message, wParam, lParam); });
}

Tevrin5Control::~Tevrin5Control() {
  KillTimer(link_->Handle(), kDemoTimer);
  link_.reset();
}

std::optional<LRESULT> Tevrin5Control::LinkMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Stable across the events that a demo step or a request raises: a host may release us
  // from a handler.
  const activex::ComPtr<IUnknown> alive = KeepAlive();
  if (message == WM_TIMER && wParam == kDemoTimer) {
    demo_.Step(device_, NowText());
    return 0;
  }
  std::wstring text;
  if (message != WM_COPYDATA || !ReceiveText(lParam, kRequestTag, text)) return std::nullopt;
  std::wstring reply = Apply(Decode(text), device_, demo_);
  if (demo_.On()) SetTimer(link_->Handle(), kDemoTimer, kDemoIntervalMs, nullptr);
  else KillTimer(link_->Handle(), kDemoTimer);
  ShowState();
  SendText(reinterpret_cast<HWND>(wParam), link_->Handle(), kReplyTag, reply, 5000);
  return TRUE;
}

HRESULT Tevrin5Control::get_Plugged(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(device_.Plugged());
  return S_OK;
}

HRESULT Tevrin5Control::get_Model(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guard([&] { *value = activex::Bstr(device_.Model()).Detach(); });
}

HRESULT Tevrin5Control::get_Serial(BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  return Guard([&] { *value = activex::Bstr(device_.Serial()).Detach(); });
}

HRESULT Tevrin5Control::get_CommandCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = device_.CommandCount();
  return S_OK;
}

HRESULT Tevrin5Control::Start() {
  return Guard([&] { device_.Start(); });  // the log entry may not fit in memory
}

HRESULT Tevrin5Control::get_Started(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(device_.Started());
  return S_OK;
}

HRESULT Tevrin5Control::Stop() {
  device_.Stop();
  return S_OK;
}

HRESULT Tevrin5Control::Command(BSTR text, BSTR* result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return Guard([&] {
    activex::Bstr answer(device_.Command(activex::TextOf(text)));
    if (!answer.Get()) throw std::bad_alloc();
    *result = answer.Detach();
  });
}

}  // namespace device
