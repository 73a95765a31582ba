// TImageList over the common controls' image list.
#include "tray/win32/image_list_win32.h"

#include "tray/win32/icon_win32.h"

namespace tray {

TImageList::TImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

TImageList::~TImageList() {
  if (list_) ImageList_Destroy(list_);
}

int TImageList::AddIcon(HICON icon) { return list_ ? ImageList_AddIcon(list_, icon) : -1; }

int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

IconHandle TImageList::GetIcon(int index) const {
  return OwnedIcon(list_ ? ImageList_GetIcon(list_, index, ILD_NORMAL) : nullptr);
}

}  // namespace tray
