#include "monitor/win32/label_control.h"

#include <vector>

namespace monitor::win32 {

LabelControl::LabelControl(HWND window, HFONT font, bool autoSize)
    : window_(window), font_(font), autoSize_(autoSize) {
  const int length = GetWindowTextLengthW(window_);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(window_, text.data(), length + 1);
  caption_.assign(text.data(), static_cast<std::size_t>(copied));
}

void LabelControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  SetWindowTextW(window_, caption_.c_str());
  if (autoSize_) FitToText();
}

SIZE LabelControl::FittedSize(HFONT font, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // An italic letter leans past its advance; leave room so the last one is not cut.
  const int lean = metrics.tmItalic ? metrics.tmAveCharWidth / 2 : 0;
  return {text.empty() ? 0 : bounds.right + lean, bounds.bottom};
}

void LabelControl::FitToText() {
  const SIZE fitted = FittedSize(font_, caption_);
  RECT now{};
  GetClientRect(window_, &now);
  if (now.right == fitted.cx && now.bottom == fitted.cy) return;  // a new count of the same width
  SetWindowPos(window_, nullptr, 0, 0, fitted.cx, fitted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The parent repaints what a shrinking label uncovers.
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace monitor::win32
