// A label of the window: a static control whose text is the label's caption; a label that
// takes the size of its text grows and shrinks with it.
#pragma once

#include <windows.h>

#include "monitor/form1_controls.h"

namespace monitor::win32 {

class LabelControl : public ITextLabel {
 public:
  LabelControl(HWND window, HFONT font, bool autoSize) : window_(window), font_(font), autoSize_(autoSize) {}

  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  HWND Handle() const noexcept { return window_; }
  // Fits the window to its text (labels that take their text's size).
  void FitToText();

 private:
  HWND window_;
  HFONT font_;
  bool autoSize_;
};

}  // namespace monitor::win32
