// TPopupMenu: a context menu of text items on Windows, opened at a screen position (by a tray
// icon, or by the program's windows). The chosen item's OnClick runs after the menu has
// closed, from the menu's own hidden window, so a handler may close the program safely.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/event.h"
#include "tray/popup_menu.h"

namespace tray {

inline constexpr wchar_t kPopupMenuWindowClass[] = L"TPopupMenuWindow";

class TMenuItem {
 public:
  using ClickEvent = common::Event<TMenuItem&>;

  TMenuItem(std::wstring caption, ClickEvent onClick) : caption_(std::move(caption)), OnClick(std::move(onClick)) {}

  const std::wstring& Caption() const noexcept { return caption_; }
  // The default item is drawn in bold and clicked by a double click on a tray icon.
  bool Default() const noexcept { return default_; }
  void SetDefault(bool isDefault) noexcept { default_ = isDefault; }
  void Click() {
    ClickEvent onClick = OnClick;  // the handler may destroy the menu and this item
    onClick(*this);
  }

 private:
  std::wstring caption_;
  bool default_ = false;

 public:
  ClickEvent OnClick;
};

class TPopupMenu : public PopupMenu {
 public:
  TPopupMenu();
  ~TPopupMenu() override;

  TMenuItem& Add(std::wstring caption, TMenuItem::ClickEvent onClick);
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) { return *items_.at(static_cast<std::size_t>(index)); }

  bool AutoPopup() const override { return autoPopup_; }
  void SetAutoPopup(bool autoPopup) noexcept { autoPopup_ = autoPopup; }
  // The component the menu was last opened for (a tray icon, say), for the items' handlers.
  const void* PopupComponent() const noexcept { return popupComponent_; }
  void SetPopupComponent(const void* component) override { popupComponent_ = component; }

  // Opens the menu with its top-left corner at the screen position; returns when it closes.
  void Popup(Point at) override;
  void ClickDefaultItem() override;

  // The hidden window that owns the menu while it is open.
  HWND WindowHandle();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HMENU BuildMenu() const;

  std::vector<std::unique_ptr<TMenuItem>> items_;
  bool autoPopup_ = true;
  const void* popupComponent_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace tray
