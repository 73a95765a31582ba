// The status line's tooltip: while the device control is not connected it says why, in the
// control's own words, asked of the control only when the tooltip is about to show.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace monitor::win32 {

class StatusTooltip {
 public:
  using ReasonSource = std::function<std::wstring()>;
  StatusTooltip(HWND form, const RECT& statusLine, ReasonSource reason);
  ~StatusTooltip();
  StatusTooltip(const StatusTooltip&) = delete;
  StatusTooltip& operator=(const StatusTooltip&) = delete;

  void Place(const RECT& statusLine);
  // The form's WM_NOTIFY: the tooltip's request for its text; nothing for other senders.
  std::optional<LRESULT> OnNotify(LPARAM lParam);
  HWND Handle() const noexcept { return tooltip_; }

 private:
  HWND form_;
  HWND tooltip_ = nullptr;
  ReasonSource reason_;
  std::wstring text_;  // what the tooltip shows, kept while it shows
};

}  // namespace monitor::win32
