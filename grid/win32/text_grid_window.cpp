#include "grid/win32/text_grid_window.h"

#include <windowsx.h>

#include "grid/win32/grid_cursors.h"
#include "grid/win32/input_state.h"
#include "grid/win32/text_grid_accessible.h"
#include "grid/win32/update_region.h"
#include "tray/win32/callback_guard.h"

namespace grid::win32 {
namespace {

void RegisterGridClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // An own device context keeps the font of the last drawing, which later measurements use.
  // A new size moves the fitted columns and the background's edges: all is drawn again.
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = TextGridWindow::kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

int BarOf(ScrollBarKind bar) { return bar == ScrollBarKind::Horizontal ? SB_HORZ : SB_VERT; }

// The thumb position of a scroll message. The message carries only 16 bits; while the user
// drags the thumb the bar itself holds the whole value, whose low 16 bits the message repeats.
// A message that does not match it was sent by a program and means what it says.
std::int32_t ThumbPosition(HWND window, int bar, WPARAM wParam) {
  const WORD carried = HIWORD(wParam);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  if (GetScrollInfo(window, bar, &info) && LOWORD(info.nTrackPos) == carried) return info.nTrackPos;
  return static_cast<std::int16_t>(carried);
}

}  // namespace

TextGridWindow::TextGridWindow(HWND parent, const RECT& bounds, int controlId) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterGridClass(instance, WindowProc);
  CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, bounds.left,
                  bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, this);
}

TextGridWindow::~TextGridWindow() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK TextGridWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TextGridWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    self->canvas_ = std::make_unique<GdiCanvas>(GetDC(window));
  }
  auto* self = reinterpret_cast<TextGridWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->accessible_.Close();
    self->canvas_.reset();
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  tray::CallGuarded([&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}

LRESULT TextGridWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      editBox_.Create(window_);
      grid_.WindowCreated();
      return 0;
    case WM_KEYDOWN:
      grid_.KeyDown(static_cast<std::uint16_t>(wParam), KeyShiftState());
      return 0;
    case WM_SYSKEYDOWN:
      // Alt with a key: the grid treats Alt as no modifier; the system keeps Alt+F4 and the menu.
      grid_.KeyDown(static_cast<std::uint16_t>(wParam), KeyShiftState());
      break;
    case WM_CHAR:
      grid_.KeyPress(static_cast<wchar_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      // The arrows stay with the grid, and typed characters are never accelerators;
      // Tab, Enter and Escape are left to the form.
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_HSCROLL:
      grid_.HScroll(static_cast<ScrollAction>(LOWORD(wParam)), ThumbPosition(window_, SB_HORZ, wParam));
      return 0;
    case WM_VSCROLL:
      grid_.VScroll(static_cast<ScrollAction>(LOWORD(wParam)), ThumbPosition(window_, SB_VERT, wParam));
      return 0;
    case WM_MOUSEWHEEL:
      grid_.MouseWheel(static_cast<std::int16_t>(HIWORD(wParam)));
      return 0;
    case WM_SETFOCUS:
      grid_.FocusGained();
      return 0;
    case WM_KILLFOCUS:
      grid_.FocusLost(reinterpret_cast<HWND>(wParam) == editBox_.Handle() && editBox_.Handle());
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == editBox_.Handle() && HIWORD(wParam) == EN_CHANGE) editBox_.Changed();
      return 0;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == editBox_.Handle())
        return reinterpret_cast<LRESULT>(editBox_.Paint(reinterpret_cast<HDC>(wParam)));
      break;
    case WM_SIZE:
      grid_.Resized();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint draws every pixel
    case WM_PAINT:
      OnPaint();
      return 0;
    case DeferredScrollBars::kRedrawMessage:
      scrollBars_.RedrawMessageArrived(window_);
      return 0;
    case WM_CAPTURECHANGED:
      grid_.MouseCaptureLost();
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(lParam)) return TRUE;
      break;
    case WM_GETOBJECT:
      if (auto answer = accessible_.Answer(wParam, lParam, [this] { return new TextGridAccessible(window_, grid_); }))
        return *answer;
      break;
    default:
      if (OnMouse(message, wParam, lParam)) return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void TextGridWindow::PaintNow() {
  if (!window_) return;
  scrollBars_.RedrawChanged(window_);
  const UpdateRegion dirty(window_);
  if (!dirty.Waiting()) return;
  // Unlike a paint message's, the window's own DC is not clipped to what waits: a cell drawn
  // whole would cover its neighbours' shared edges.
  canvas_->LimitTo(dirty.Region());
  struct UnlimitAtExit {
    GdiCanvas& canvas;
    ~UnlimitAtExit() { canvas.Unlimit(); }
  } unlimit{*canvas_};
  grid_.Paint(*canvas_, dirty.Rects());
  dirty.Validate(window_);
}

void TextGridWindow::OnPaint() {
  // Bars changed by the work that asked for this paint are drawn with it.
  scrollBars_.RedrawChanged(window_);
  const UpdateRegion dirty(window_);  // read before BeginPaint empties it
  PAINTSTRUCT paint;
  BeginPaint(window_, &paint);
  struct EndPaintAtExit {
    HWND window;
    PAINTSTRUCT* paint;
    ~EndPaintAtExit() { EndPaint(window, paint); }
  } endPaint{window_, &paint};
  grid_.Paint(*canvas_, dirty.Rects());
}

bool TextGridWindow::OnSetCursor(LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  ::SetCursor(GridCursor(grid_.Cursor()));
  return true;
}

bool TextGridWindow::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const std::int32_t x = GET_X_LPARAM(lParam);
  const std::int32_t y = GET_Y_LPARAM(lParam);
  const TShiftState shift = MouseShiftState(wParam);
  switch (message) {
    case WM_LBUTTONDOWN: grid_.MouseDown(TMouseButton::mbLeft, shift, x, y); return true;
    case WM_RBUTTONDOWN: grid_.MouseDown(TMouseButton::mbRight, shift, x, y); return true;
    case WM_MBUTTONDOWN: grid_.MouseDown(TMouseButton::mbMiddle, shift, x, y); return true;
    case WM_MOUSEMOVE: grid_.MouseMove(shift, x, y); return true;
    case WM_LBUTTONUP: grid_.MouseUp(TMouseButton::mbLeft, shift, x, y); return true;
    case WM_RBUTTONUP: grid_.MouseUp(TMouseButton::mbRight, shift, x, y); return true;
    case WM_MBUTTONUP: grid_.MouseUp(TMouseButton::mbMiddle, shift, x, y); return true;
  }
  return false;
}

// ---- Host ----

void TextGridWindow::CreateCaret(std::int32_t width, std::int32_t height) {
  if (window_) ::CreateCaret(window_, nullptr, width, height);
}

void TextGridWindow::DestroyCaret() { ::DestroyCaret(); }

void TextGridWindow::ShowCaret() { ::ShowCaret(window_); }

void TextGridWindow::HideCaret() { ::HideCaret(window_); }

void TextGridWindow::SetCaretPos(Point position) { ::SetCaretPos(position.x, position.y); }

void TextGridWindow::SetCapture() { ::SetCapture(window_); }

void TextGridWindow::ReleaseCapture() {
  if (GetCapture() == window_) ::ReleaseCapture();
}

void TextGridWindow::SetFocus() { ::SetFocus(window_); }

void TextGridWindow::SetCursor(std::int32_t number) { ::SetCursor(GridCursor(number)); }

Size TextGridWindow::ClientSize() const {
  RECT client{};
  if (window_) GetClientRect(window_, &client);
  return {client.right, client.bottom};
}

void TextGridWindow::Invalidate(const Rect& rect) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  if (window_) InvalidateRect(window_, &r, FALSE);
}

// A repaint still waiting inside the band moves with the pixels and stays where it was too.
void TextGridWindow::ScrollUp(const Rect& band, std::int32_t by) {
  if (!window_) return;
  const RECT r{band.left, band.top, band.right, band.bottom};
  ScrollWindowEx(window_, 0, -by, &r, &r, nullptr, nullptr, SW_INVALIDATE);
}

void TextGridWindow::SetScrollBar(ScrollBarKind bar, std::int32_t maximum, unsigned mask, std::int32_t position) {
  if (!window_) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  if (mask & scroll_mask::Range) info.fMask |= SIF_RANGE | SIF_PAGE;
  if (mask & scroll_mask::Position) info.fMask |= SIF_POS;
  info.nMin = 0;
  info.nMax = maximum;
  info.nPage = 0;
  info.nPos = position;
  scrollBars_.Set(window_, BarOf(bar), info);
}

void TextGridWindow::ShowScrollBars(bool horizontal, bool vertical) {
  if (!window_) return;
  // Showing a bar that shows already still recalculates and repaints the frame.
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  if (((style & WS_HSCROLL) != 0) != horizontal) ShowScrollBar(window_, SB_HORZ, horizontal);
  if (((style & WS_VSCROLL) != 0) != vertical) ShowScrollBar(window_, SB_VERT, vertical);
}

bool TextGridWindow::Focused() const { return window_ && GetFocus() == window_; }

std::optional<std::wstring> TextGridWindow::ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(window_)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void TextGridWindow::SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(window_)) return;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* target = GlobalLock(memory)) {
      CopyMemory(target, text.c_str(), bytes);
      GlobalUnlock(memory);
      // The clipboard owns the memory once it has taken it.
      if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
}

}  // namespace grid::win32
