// What the tray icon needs of an image list: how many icons it holds and a copy of one.
#pragma once

#include "tray/component.h"
#include "tray/icon.h"

namespace tray {

class ImageList : public TComponent {
 public:
  virtual int Count() const = 0;
  // A new icon of the image at index (0 <= index < Count()), released with the handle.
  virtual IconHandle GetIcon(int index) const = 0;
};

}  // namespace tray
