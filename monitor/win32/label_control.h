// A label of the window. It has no window of its own: the window paints it on its surface, so
// that its labels cost no child windows to make, show and paint. A label that takes the size
// of its text grows and shrinks with it.
#pragma once

#include <windows.h>

#include <string>

#include "monitor/form1_controls.h"

namespace monitor::win32 {

class LabelControl;

// The window a label is painted on.
class ILabelSurface {
 public:
  virtual ~ILabelSurface() = default;
  // Paints again, at once, what lies in area of the window's client area.
  virtual void RepaintArea(const RECT& area) = 0;
  // A label's text has changed: a screen reader is told, as of the platform's own labels.
  virtual void CaptionChanged(const LabelControl& label) = 0;
};

class LabelControl : public ITextLabel {
 public:
  // place is in the window's client area; a label that fits its text takes its size from it.
  LabelControl(ILabelSurface& surface, HFONT font, std::wstring caption, RECT place, bool autoSize);

  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override;
  HFONT Font() const noexcept { return font_; }
  const RECT& Place() const noexcept { return place_; }
  // A new place when the window's size changes; a label that fits its text keeps its size.
  void MoveTo(const RECT& place);
  void Paint(HDC dc) const;

 private:
  void FitToText();

  ILabelSurface& surface_;
  HFONT font_;
  std::wstring caption_;
  RECT place_;
  bool autoSize_;
};

}  // namespace monitor::win32
