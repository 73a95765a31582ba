// TImageList: icons of one size in a system image list, the source of a tray icon's icons.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "tray/image_list.h"

namespace tray {

class TImageList : public ImageList {
 public:
  TImageList(int width = 16, int height = 16);
  ~TImageList() override;

  // Adds a copy of the icon; returns its index, or -1 when the list refused it.
  int AddIcon(HICON icon);

  int Count() const override;
  IconHandle GetIcon(int index) const override;
  HIMAGELIST Handle() const noexcept { return list_; }

 private:
  HIMAGELIST list_;
};

}  // namespace tray
