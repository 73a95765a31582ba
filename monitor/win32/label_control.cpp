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

void LabelControl::FitToText() {
  const std::wstring& text = caption_;
  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &bounds,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  // An italic letter leans past its advance; leave room so the last one is not cut.
  const int lean = metrics.tmItalic ? metrics.tmAveCharWidth / 2 : 0;
  const int width = text.empty() ? 0 : bounds.right + lean;
  RECT now{};
  GetClientRect(window_, &now);
  if (now.right == width && now.bottom == bounds.bottom) return;  // a new count of the same width
  SetWindowPos(window_, nullptr, 0, 0, width, bounds.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The parent repaints what a shrinking label uncovers.
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace monitor::win32
