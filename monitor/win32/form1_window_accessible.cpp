// TForm1 as its accessible object reads it, and a label's new text announced to screen
// readers by the child that shows it, as the platform's own labels announce theirs.
#include "monitor/form1_accessible_tree.h"
#include "monitor/win32/form1_window.h"

namespace monitor::win32 {

void TForm1::CaptionChanged(const LabelControl& label) {
  if (!window_) return;
  for (const auto& [name, shown] : labels_) {
    if (&shown != &label) continue;
    const CaptionFollowers followers = Form1CaptionFollowers(name.c_str());
    if (followers.Named) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT, followers.Named);
    if (followers.Valued) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_, OBJID_CLIENT, followers.Valued);
    return;
  }
}

std::wstring TForm1::LabelCaption(const wchar_t* label) const {
  const auto found = labels_.find(label);
  return found == labels_.end() ? std::wstring() : found->second.Caption();
}

std::optional<RECT> TForm1::PlaceOf(const wchar_t* control) const {
  if (const auto label = labels_.find(control); label != labels_.end()) return label->second.Place();
  for (const GroupFrame& frame : frames_)
    if (std::wstring_view(frame.Description->Name) == control) return frame.Box.Place();
  HWND child = WindowOf(control);
  RECT place{};
  if (!child || !GetWindowRect(child, &place)) return std::nullopt;
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

HWND TForm1::WindowOf(const wchar_t* control) const { return Control(control); }

}  // namespace monitor::win32
