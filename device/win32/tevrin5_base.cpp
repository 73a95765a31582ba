// The shared window, members and events of the controls with the device control's interface.
#include "device/win32/tevrin5_base.h"

namespace device {

namespace {

constexpr DISPID kOnClick = 202, kOnCallerId = 209, kOnSignalA = 210;

void PaintDevice(HWND window, bool lit) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH body = CreateSolidBrush(lit ? RGB(40, 160, 70) : RGB(128, 128, 128));
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

Tevrin5Base::Tevrin5Base(const activex::ControlDescription& description, const wchar_t* windowClass)
    : Control(description) {
  window_ = std::make_unique<activex::MessageWindow>(
      windowClass, WS_CHILD, ParkingWindow(), RECT{0, 0, 26, 26},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return ControlMessage(message, wParam, lParam); });
}

Tevrin5Base::~Tevrin5Base() { window_.reset(); }

std::optional<LRESULT> Tevrin5Base::ControlMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_PAINT:
      PaintDevice(window_->Handle(), Lit());
      return 0;
    case WM_LBUTTONUP:
      if (enabled_) FireEvent(kOnClick, {});
      return 0;
    default:
      return std::nullopt;
  }
}

void Tevrin5Base::RaiseCall(const CallerId& call) {
  FireEvent(kOnCallerId, {call.deviceId, call.line, call.phoneNumber, call.dateTime, call.otherText});
}

void Tevrin5Base::RaiseLevels(const Levels& levels) {
  FireEvent(kOnSignalA, std::vector<std::wstring_view>(levels.begin(), levels.end()));
}

HRESULT Tevrin5Base::get_Visible(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(IsWindowVisible(window_->Handle()));
  return S_OK;
}

HRESULT Tevrin5Base::put_Visible(VARIANT_BOOL value) {
  ShowWindow(window_->Handle(), value ? SW_SHOWNA : SW_HIDE);
  return S_OK;
}

HRESULT Tevrin5Base::get_Enabled(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = Bool(enabled_);
  return S_OK;
}

HRESULT Tevrin5Base::put_Enabled(VARIANT_BOOL value) {
  enabled_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT Tevrin5Base::get_LineCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = kLineCount;
  return S_OK;
}

}  // namespace device
