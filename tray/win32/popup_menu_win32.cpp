// TPopupMenu: the system menu is built for each opening from the items; the chosen command
// comes back to the menu's hidden window as WM_COMMAND after the menu has closed.
#include "tray/win32/popup_menu_win32.h"

#include "tray/win32/callback_guard.h"
#include "tray/win32/hidden_window.h"

namespace tray {
namespace {

// Item n has the command n + 1: 0 means that nothing was chosen.
UINT CommandOf(std::size_t index) { return static_cast<UINT>(index + 1); }

}  // namespace

TPopupMenu::TPopupMenu() = default;

// Top-level, so that it can own the menu as the foreground window; made at the first opening,
// as a top-level window costs milliseconds to make under Wine.
HWND TPopupMenu::WindowHandle() {
  if (!window_) {
    const HiddenWindowKind kind{kPopupMenuWindowClass, WindowProc, WS_EX_TOOLWINDOW};
    window_ = CreateHiddenWindow(kind, L"", this);
  }
  return window_;
}

TPopupMenu::~TPopupMenu() {
  if (window_) DestroyWindow(window_);
}

TMenuItem& TPopupMenu::Add(std::wstring caption, TMenuItem::ClickEvent onClick) {
  items_.push_back(std::make_unique<TMenuItem>(std::move(caption), std::move(onClick)));
  return *items_.back();
}

HMENU TPopupMenu::BuildMenu() const {
  HMENU menu = CreatePopupMenu();
  bool defaultSet = false;
  for (std::size_t index = 0; index < items_.size(); ++index) {
    AppendMenuW(menu, MF_STRING, CommandOf(index), items_[index]->Caption().c_str());
    if (items_[index]->Default() && !defaultSet) {
      SetMenuDefaultItem(menu, CommandOf(index), FALSE);
      defaultSet = true;
    }
  }
  return menu;
}

void TPopupMenu::Popup(Point at) {
  if (items_.empty()) return;
  HWND owner = WindowHandle();
  HMENU menu = BuildMenu();
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
      at.y, owner, nullptr));
  DestroyMenu(menu);
  // Lets the menu's owner lose the foreground cleanly, so the next opening works.
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen != 0) PostMessageW(owner, WM_COMMAND, chosen, 0);
}

void TPopupMenu::ClickDefaultItem() {
  for (auto& item : items_) {
    if (item->Default()) {
      item->Click();
      return;
    }
  }
}

LRESULT CALLBACK TPopupMenu::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* menu = BoundObject<TPopupMenu>(window, message, lParam);
  if (menu && message == WM_COMMAND && HIWORD(wParam) == 0) {
    const std::size_t index = LOWORD(wParam) - 1u;
    if (LOWORD(wParam) != 0 && index < menu->items_.size())
      CallGuarded([menu, index] { menu->items_[index]->Click(); });
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tray
