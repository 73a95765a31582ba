// PopupMenu1: "Listeyi sil" and "Çıkış", opened at a screen point for the window, whose
// command messages carry the item's identifier.
#pragma once

#include <windows.h>

namespace monitor::win32 {

class PopupMenu1 {
 public:
  static constexpr UINT Listeyisil1 = 1001;
  static constexpr UINT ki1 = 1002;

  explicit PopupMenu1(HWND owner);
  ~PopupMenu1();
  PopupMenu1(const PopupMenu1&) = delete;
  PopupMenu1& operator=(const PopupMenu1&) = delete;

  // Returns when the menu has closed; a chosen item arrives as WM_COMMAND to the owner.
  void Popup(POINT at);
  HMENU Handle() const noexcept { return menu_; }

 private:
  HWND owner_;
  HMENU menu_;
};

}  // namespace monitor::win32
