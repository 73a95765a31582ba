#include "monitor/win32/group_box.h"

#include <cwchar>

namespace monitor::win32 {
namespace {

constexpr int EdgeWidth = 2;  // an etched edge: a shadow line and a light one
constexpr int CaptionIndent = 8;

}  // namespace

GroupBox::GroupBox(const RECT& place, const wchar_t* caption, HFONT font, int captionHeight)
    : place_(place), caption_(caption), font_(font), captionHeight_(captionHeight) {}

bool GroupBox::Meets(const RECT& area) const {
  RECT common{};
  if (!IntersectRect(&common, &place_, &area)) return false;
  const RECT inside{place_.left + EdgeWidth, place_.top + captionHeight_, place_.right - EdgeWidth,
                    place_.bottom - EdgeWidth};
  return !(area.left >= inside.left && area.top >= inside.top && area.right <= inside.right &&
           area.bottom <= inside.bottom);
}

void GroupBox::Paint(HDC dc) const {
  RECT frame = place_;
  frame.top += captionHeight_ / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!caption_ || !*caption_) return;
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, OPAQUE);
  // The caption stays inside the box, as a group box window clips it.
  ExtTextOutW(dc, place_.left + CaptionIndent, place_.top, ETO_CLIPPED, &place_, caption_,
              static_cast<UINT>(std::wcslen(caption_)), nullptr);
  SelectObject(dc, old);
}

}  // namespace monitor::win32
