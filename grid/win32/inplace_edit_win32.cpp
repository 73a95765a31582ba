#include "grid/win32/inplace_edit_win32.h"

#include "grid/text_inplace.h"
#include "grid/win32/gdi_canvas.h"
#include "grid/win32/input_state.h"
#include "tray/win32/callback_guard.h"

namespace grid::win32 {
namespace {

DWORD AlignmentStyle(THorzAlign alignment) {
  switch (alignment) {
    case THorzAlign::haCenter: return ES_CENTER;
    case THorzAlign::haRight: return ES_RIGHT;
    case THorzAlign::haLeft: break;
  }
  return ES_LEFT;
}

}  // namespace

InplaceEditWin32::~InplaceEditWin32() {
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
  if (brush_) DeleteObject(brush_);
}

void InplaceEditWin32::Create(HWND grid) {
  parent_ = grid;
  CreateWindowWith(THorzAlign::haLeft, {-200, -200, -100, -180}, false, L"");
}

void InplaceEditWin32::CreateWindowWith(THorzAlign alignment, const RECT& bounds, bool visible,
                                        const std::wstring& text) {
  window_ = CreateWindowExW(0, L"EDIT", text.c_str(),
                            WS_CHILD | ES_AUTOHSCROLL | AlignmentStyle(alignment) | (visible ? WS_VISIBLE : 0),
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InplaceEditWin32::EditProc)));
  if (font_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

LRESULT CALLBACK InplaceEditWin32::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<InplaceEditWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  WNDPROC original = self->editProc_;
  if (message == WM_NCDESTROY) {
    // Destroyed with the grid's window: nothing is left to destroy later.
    if (self->window_ == window) self->window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return CallWindowProcW(original, window, message, wParam, lParam);
  }
  LRESULT result = 0;
  bool handled = true;  // a key or character whose handler failed is dropped, not let through
  tray::CallGuarded([&] {
    result = self->HandleMessage(message, wParam, lParam);
    handled = result != -1;
  });
  if (handled) return result;
  return CallWindowProcW(original, window, message, wParam, lParam);
}

// -1: let the edit control handle the message.
LRESULT InplaceEditWin32::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_KEYDOWN: return editor_->KeyDown(static_cast<std::uint16_t>(wParam), KeyShiftState()) ? 0 : -1;
    case WM_CHAR: {
      const wchar_t character = editor_->KeyPress(static_cast<wchar_t>(wParam));
      if (character == 0) return 0;
      return CallWindowProcW(editProc_, window_, WM_CHAR, character, 0);
    }
  }
  return -1;
}

HBRUSH InplaceEditWin32::Paint(HDC dc) const {
  SetBkColor(dc, colour_);
  return brush_;
}

void InplaceEditWin32::Changed() { editor_->Changed(); }

void InplaceEditWin32::SetText(const std::wstring& text) {
  if (window_) SetWindowTextW(window_, text.c_str());
}

std::wstring InplaceEditWin32::Text() const {
  if (!window_) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void InplaceEditWin32::SetColour(Colour colour) {
  colour_ = ResolveColour(colour);
  if (brush_) DeleteObject(brush_);
  brush_ = CreateSolidBrush(colour_);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void InplaceEditWin32::SetFont(const Font& font) {
  HFONT created = CreateGdiFont(font);
  if (window_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font_) DeleteObject(font_);
  font_ = created;
}

void InplaceEditWin32::RecreateWithAlignment(THorzAlign alignment) {
  if (!window_) return;
  RECT bounds;
  GetWindowRect(window_, &bounds);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&bounds), 2);
  const bool visible = IsWindowVisible(window_);
  const std::wstring text = Text();
  HWND old = window_;
  window_ = nullptr;
  DestroyWindow(old);
  CreateWindowWith(alignment, bounds, visible, text);
}

void InplaceEditWin32::SetBounds(Point position, Size size) {
  if (window_) MoveWindow(window_, position.x, position.y, size.width, size.height, TRUE);
}

void InplaceEditWin32::Show() {
  if (window_) ShowWindow(window_, SW_SHOWNA);
}

void InplaceEditWin32::Hide() {
  if (window_) ShowWindow(window_, SW_HIDE);
}

bool InplaceEditWin32::Visible() const { return window_ && IsWindowVisible(window_); }

}  // namespace grid::win32
