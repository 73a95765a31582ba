// A font made from a control's description, owned for as long as the control shows it.
#pragma once

#include <windows.h>

#include "monitor/form1_description.h"

namespace monitor::win32 {

class GdiFont {
 public:
  explicit GdiFont(const FontDescription& font);
  ~GdiFont();
  GdiFont(const GdiFont&) = delete;
  GdiFont& operator=(const GdiFont&) = delete;

  HFONT Handle() const noexcept { return font_; }
  // The height of a line of text in this font.
  std::int32_t LineHeight() const;

 private:
  HFONT font_;
};

}  // namespace monitor::win32
