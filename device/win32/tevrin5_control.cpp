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

constexpr DISPID kOnClick = 202, kOnCallerId = 209, kOnSignalA = 210;
constexpr UINT_PTR kDemoTimer = 1;
constexpr UINT kDemoIntervalMs = 500;

VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

void PaintDevice(HWND window, bool plugged) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH body = CreateSolidBrush(plugged ? RGB(40, 160, 70) : RGB(128, 128, 128));
  FillRect(dc, &client, body);
  DeleteObject(body);
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(window, &paint);
}

}  // namespace

// To the minute, as caller-ID reports give it, and short enough for the call list's time column.
std::wstring NowText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t text[32];
  swprintf(text, 32, L"%02u.%02u.%02u %02u:%02u", now.wDay, now.wMonth, now.wYear % 100u, now.wHour, now.wMinute);
  return text;
}

IUnknown* Tevrin5Control::Create() { return static_cast<IOleObject*>(new Tevrin5Control()); }

Tevrin5Control::Tevrin5Control() : Control(kDescription), demo_(GetTickCount()) {
  window_ = std::make_unique<activex::MessageWindow>(
      L"SimulatedTevrin5", WS_CHILD, ParkingWindow(), RECT{0, 0, 26, 26},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return ControlMessage(message, wParam, lParam); });
  link_ = std::make_unique<activex::MessageWindow>(
      kDeviceWindowClass, WS_POPUP, nullptr, RECT{0, 0, 0, 0},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return LinkMessage(message, wParam, lParam); });
}

Tevrin5Control::~Tevrin5Control() {
  KillTimer(link_->Handle(), kDemoTimer);
  link_.reset();
  window_.reset();
}

std::optional<LRESULT> Tevrin5Control::ControlMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_PAINT:
      PaintDevice(window_->Handle(), device_.Plugged());
      return 0;
    case WM_LBUTTONUP:
      if (enabled_) FireEvent(kOnClick, {});
      return 0;
    default:
      return std::nullopt;
  }
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
  InvalidateRect(window_->Handle(), nullptr, TRUE);
  SendText(reinterpret_cast<HWND>(wParam), link_->Handle(), kReplyTag, reply, 5000);
  return TRUE;
}

void Tevrin5Control::OnCallerId(const CallerId& call) {
  FireEvent(kOnCallerId, {call.deviceId, call.line, call.phoneNumber, call.dateTime, call.otherText});
}

void Tevrin5Control::OnSignal(const Levels& levels) {
  FireEvent(kOnSignalA, std::vector<std::wstring_view>(levels.begin(), levels.end()));
}

HRESULT Tevrin5Control::get_Visible(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(IsWindowVisible(window_->Handle()));
  return S_OK;
}

HRESULT Tevrin5Control::put_Visible(VARIANT_BOOL value) {
  ShowWindow(window_->Handle(), value ? SW_SHOWNA : SW_HIDE);
  return S_OK;
}

HRESULT Tevrin5Control::get_Enabled(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(enabled_);
  return S_OK;
}

HRESULT Tevrin5Control::put_Enabled(VARIANT_BOOL value) {
  enabled_ = value != VARIANT_FALSE;
  return S_OK;
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

HRESULT Tevrin5Control::get_LineCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = kLineCount;
  return S_OK;
}

HRESULT Tevrin5Control::get_CommandCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = device_.CommandCount();
  return S_OK;
}

HRESULT Tevrin5Control::Start() {
  device_.Start();
  return S_OK;
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
