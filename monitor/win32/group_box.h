// A group box as the window paints it: an etched frame, and the caption on its top edge. The
// window has filled the face inside.
#pragma once

#include <windows.h>

namespace monitor::win32 {

class GroupBox {
 public:
  // captionHeight: the height of a line of the caption's font.
  GroupBox(const RECT& place, const wchar_t* caption, HFONT font, int captionHeight);

  void MoveTo(const RECT& place) { place_ = place; }
  const RECT& Place() const noexcept { return place_; }
  // Whether area shows any of the frame or the caption; inside them there is only the face,
  // so a label's repaint draws no group box.
  bool Meets(const RECT& area) const;
  void Paint(HDC dc) const;

 private:
  RECT place_;
  const wchar_t* caption_;
  HFONT font_;
  int captionHeight_;
};

}  // namespace monitor::win32
