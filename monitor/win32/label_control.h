// A label of the window: a static control whose text is the label's caption; a label that
// takes the size of its text grows and shrinks with it.
#pragma once

#include <windows.h>

#include "monitor/form1_controls.h"

namespace monitor::win32 {

class LabelControl : public ITextLabel {
 public:
  LabelControl(HWND window, HFONT font, bool autoSize);

  // Kept here as well as in the window: reading a window's text back costs a trip to the
  // window server under Wine.
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& caption) override;
  HWND Handle() const noexcept { return window_; }
  // Fits the window to its text (labels that take their text's size).
  void FitToText();
  // The size a label takes to fit text in font, so that it can be made at that size.
  static SIZE FittedSize(HFONT font, const std::wstring& text);

 private:
  HWND window_;
  HFONT font_;
  bool autoSize_;
  std::wstring caption_;
};

}  // namespace monitor::win32
