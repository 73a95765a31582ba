// What the tray icon needs of a popup menu: whether it opens by itself, opening it at a screen
// position on behalf of a component, and clicking its default item.
#pragma once

#include "tray/component.h"
#include "tray/geometry.h"

namespace tray {

class PopupMenu : public TComponent {
 public:
  virtual bool AutoPopup() const = 0;
  // The component the menu was opened for, as its items' handlers may ask.
  virtual void SetPopupComponent(const void* component) = 0;
  virtual void Popup(Point at) = 0;
  // Clicks the lowest-numbered item marked as default, if there is one.
  virtual void ClickDefaultItem() = 0;
};

}  // namespace tray
