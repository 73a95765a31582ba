// A tooltip control with one rectangle tool on the form, whose text is asked for each time.
#include "monitor/win32/status_tooltip.h"

#include <commctrl.h>

#include <utility>

namespace monitor::win32 {
namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW Tool(HWND form, const RECT& rect) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = form;
  tool.uId = kToolId;
  tool.rect = rect;
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  return tool;
}

}  // namespace

StatusTooltip::StatusTooltip(HWND form, const RECT& statusLine, ReasonSource reason)
    : form_(form), reason_(std::move(reason)) {
  // Disabled, so that it is never made active: a closing menu hands activation back to the
  // form rather than to the tooltip.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | WS_DISABLED | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;  // the window works without it
  TOOLINFOW tool = Tool(form_, statusLine);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);  // long reasons wrap
}

StatusTooltip::~StatusTooltip() {
  if (tooltip_) DestroyWindow(tooltip_);
}

void StatusTooltip::Place(const RECT& statusLine) {
  if (!tooltip_) return;
  TOOLINFOW tool = Tool(form_, statusLine);
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::optional<LRESULT> StatusTooltip::OnNotify(LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!tooltip_ || header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOW) return std::nullopt;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  // A control that fails the question shows no tooltip, as one that has no answer.
  try {
    text_ = reason_();
  } catch (...) {
    text_.clear();
  }
  info->lpszText = text_.data();
  return 0;
}

}  // namespace monitor::win32
