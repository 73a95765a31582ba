#include "monitor/win32/popup_menu1.h"

#include "common/error.h"
#include "monitor/form1_description.h"

namespace monitor::win32 {

PopupMenu1::PopupMenu1(HWND owner) : owner_(owner), menu_(CreatePopupMenu()) {
  if (!menu_) throw common::Error(L"The menu could not be created.");
  UINT id = Listeyisil1;
  for (const auto& item : PopupMenu1Items()) AppendMenuW(menu_, MF_STRING, id++, item.Caption);
}

PopupMenu1::~PopupMenu1() { DestroyMenu(menu_); }

void PopupMenu1::Popup(POINT at) {
  // The owner must be in front, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(owner_);
  TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr);
  PostMessageW(owner_, WM_NULL, 0, 0);
}

}  // namespace monitor::win32
