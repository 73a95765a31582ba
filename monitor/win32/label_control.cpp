#include "monitor/win32/label_control.h"

#include <utility>

namespace monitor::win32 {
namespace {

// The size a label takes to fit text in font.
SIZE FittedSize(HFONT font, const std::wstring& text) {
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

RECT Union(const RECT& a, const RECT& b) {
  RECT both{};
  UnionRect(&both, &a, &b);
  return both;
}

}  // namespace

LabelControl::LabelControl(ILabelSurface& surface, HFONT font, std::wstring caption, RECT place,
                           bool autoSize)
    : surface_(surface), font_(font), caption_(std::move(caption)), place_(place), autoSize_(autoSize) {
  if (autoSize_) FitToText();
}

void LabelControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  const RECT before = place_;
  caption_ = caption;
  if (autoSize_) FitToText();
  // What a shrinking label uncovers is painted again with it.
  surface_.RepaintArea(Union(before, place_));
  surface_.CaptionChanged(*this);
}

void LabelControl::MoveTo(const RECT& place) {
  if (!autoSize_) {
    place_ = place;
    return;
  }
  OffsetRect(&place_, place.left - place_.left, place.top - place_.top);
}

void LabelControl::FitToText() {
  const SIZE fitted = FittedSize(font_, caption_);
  place_.right = place_.left + fitted.cx;
  place_.bottom = place_.top + fitted.cy;
}

// As a static text control of the platform draws it: left-aligned, wrapped at words, and
// clipped to the label.
void LabelControl::Paint(HDC dc) const {
  if (caption_.empty()) return;
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT place = place_;
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &place,
            DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old);
}

}  // namespace monitor::win32
