#include "legacy/control/kallora_plus_window.h"

#include <windowsx.h>

#include "activex/com_ptr.h"
#include "common/error.h"
#include "legacy/about/about_window.h"
#include "legacy/resource_ids.h"
#include "legacy/this_module.h"

namespace legacy::control {
namespace {

constexpr int kDesignWidth = 275;
constexpr int kDesignHeight = 187;
constexpr UINT_PTR kOkuTimer = 1;
constexpr UINT kOkuInterval = 50;
constexpr UINT kAbout1 = 1;

// Runs a handler of the form; a failure stops it there and goes no further.
template <class Body>
void Quietly(Body&& body) {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace

KalloraPlusWindow::KalloraPlusWindow(HWND parent)
    : picture_(static_cast<HBITMAP>(
          LoadImageW(ThisModule(), MAKEINTRESOURCEW(IDB_KALLORA_24), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS))),
      popupMenu_(CreatePopupMenu()) {
  AppendMenuW(popupMenu_.get(), MF_STRING, kAbout1, L"About");
  window_ = std::make_unique<activex::MessageWindow>(
      L"TKalloraPlus", WS_CHILD | WS_TABSTOP | WS_BORDER | WS_CLIPCHILDREN, parent,
      RECT{0, 0, kDesignWidth, kDesignHeight},
      [this](UINT message, WPARAM wParam, LPARAM lParam) { return Handle(message, wParam, lParam); });
  SetWindowTextW(window_->Handle(), L"KalloraPlus");
}

KalloraPlusWindow::~KalloraPlusWindow() {
  KillTimer(window_->Handle(), kOkuTimer);
  window_.reset();
}

std::optional<LRESULT> KalloraPlusWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const activex::ComPtr<IUnknown> alive(owner_);  // see Attach
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT:  // how the control draws itself for a host's view
      PaintFace(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseDown(lParam);
      return std::nullopt;  // a right button goes on to the context menu
    case WM_CONTEXTMENU:
      ContextMenu(lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kOkuTimer && form_) Quietly([&] { form_->Oku_timerTimer(); });
      return 0;
    case WM_ACTIVATE:
      if (form_) form_->WindowActivation(LOWORD(wParam) != WA_INACTIVE);
      return std::nullopt;
    case WM_SETFOCUS:
      if (form_) Quietly([&] { form_->FocusEnteredForm(); });
      return 0;
    case WM_MOUSEACTIVATE:
      SetFocus(window_->Handle());
      return MA_ACTIVATE;
    default:
      return std::nullopt;
  }
}

RECT KalloraPlusWindow::ImageRect() const {
  const Size size = ImageSize();
  return {0, 0, size.width, size.height};
}

void KalloraPlusWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_->Handle(), &paint);
  PaintFace(dc);
  EndPaint(window_->Handle(), &paint);
}

// Image1 is painted by the form, as a picture without a window of its own.
void KalloraPlusWindow::PaintFace(HDC dc) const {
  if (!picture_) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture_.get());
  const RECT image = ImageRect();
  BitBlt(dc, image.left, image.top, image.right, image.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void KalloraPlusWindow::MouseDown(LPARAM position) {
  const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  const RECT image = ImageRect();
  if (form_ && PtInRect(&image, point)) Quietly([&] { form_->Image1MouseDown(); });
}

// The form and the image share PopupMenu1.
void KalloraPlusWindow::ContextMenu(LPARAM screenPosition) {
  POINT point{GET_X_LPARAM(screenPosition), GET_Y_LPARAM(screenPosition)};
  if (point.x == -1 && point.y == -1) {
    point = {0, 0};
    ClientToScreen(window_->Handle(), &point);
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(popupMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                                       window_->Handle(), nullptr));
  if (chosen == kAbout1 && form_) Quietly([&] { form_->About1Click(); });
}

Size KalloraPlusWindow::ImageSize() const {
  BITMAP bitmap{};
  if (!picture_ || !GetObjectW(picture_.get(), sizeof bitmap, &bitmap)) return {0, 0};
  return {bitmap.bmWidth, bitmap.bmHeight};
}

void KalloraPlusWindow::SetFormSize(Size size) {
  SetWindowPos(window_->Handle(), nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (autoSize_) FitToContent();
}

void KalloraPlusWindow::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on) FitToContent();
}

// The client area shrinks or grows to the visible content: the image, and the device control
// while it shows.
void KalloraPlusWindow::FitToContent() {
  RECT content = ImageRect();
  if (device_ && IsWindowVisible(device_)) {
    RECT device{};
    GetWindowRect(device_, &device);
    MapWindowPoints(nullptr, window_->Handle(), reinterpret_cast<POINT*>(&device), 2);
    UnionRect(&content, &content, &device);
  }
  RECT frame{0, 0, content.right, content.bottom};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_->Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_->Handle(), GWL_EXSTYLE)));
  SetWindowPos(window_->Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KalloraPlusWindow::HideDevice() {
  if (device_) ShowWindow(device_, SW_HIDE);
}

bool KalloraPlusWindow::FormVisible() const {
  return (GetWindowLongPtrW(window_->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void KalloraPlusWindow::SetFormVisible(bool visible) { ShowWindow(window_->Handle(), visible ? SW_SHOWNA : SW_HIDE); }

void KalloraPlusWindow::SetTimerEnabled(bool enabled) {
  if (enabled) {
    if (!SetTimer(window_->Handle(), kOkuTimer, kOkuInterval, nullptr))
      throw common::Error(L"Not enough timers available", HRESULT_FROM_WIN32(GetLastError()));
  } else {
    KillTimer(window_->Handle(), kOkuTimer);
  }
}

// Owned by the host's top-level window, which the box disables while it is up.
void KalloraPlusWindow::ShowAbout() { ShowAboutWindow(GetAncestor(window_->Handle(), GA_ROOT)); }

void KalloraPlusWindow::ShowErrorBox(const std::wstring& message) {
  MessageBoxW(window_->Handle(), message.c_str(), L"KalloraPlus", MB_OK | MB_ICONSTOP);
}

}  // namespace legacy::control
