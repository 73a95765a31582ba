// The KalloraPlus form on screen: its window with the painted Image1, PopupMenu1 with "About",
// Oku_timer, and a place for the hosted device control. Turns window messages into calls of
// TKalloraPlus's handlers.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>

#include "activex/message_window.h"
#include "legacy/control/form_platform.h"
#include "legacy/control/kallora_plus_form.h"

namespace legacy::control {

class KalloraPlusWindow final : public FormPlatform {
 public:
  // A hidden child of `parent`, at the form's design size.
  explicit KalloraPlusWindow(HWND parent);
  ~KalloraPlusWindow() override;
  KalloraPlusWindow(const KalloraPlusWindow&) = delete;
  KalloraPlusWindow& operator=(const KalloraPlusWindow&) = delete;

  // Messages reach the form from now on, each while `owner`, the COM object around the form,
  // is held: a host may release its last reference inside an event raised from a message.
  void Attach(TKalloraPlus* form, IUnknown* owner) noexcept {
    form_ = form;
    owner_ = owner;
  }
  // The hosted device control's window, hidden by the layout step.
  void SetDeviceWindow(HWND device) noexcept { device_ = device; }
  HWND Handle() const noexcept { return window_->Handle(); }

  // FormPlatform
  Size ImageSize() const override;
  void SetFormSize(Size size) override;
  void SetAutoSize(bool on) override;
  void HideDevice() override;
  bool FormVisible() const override;
  void SetFormVisible(bool visible) override;
  void SetTimerEnabled(bool enabled) override;
  std::int64_t Milliseconds() const override { return static_cast<std::int64_t>(GetTickCount64()); }
  void ShowAbout() override;
  void ShowErrorBox(const std::wstring& message) override;

 private:
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void PaintFace(HDC dc) const;
  void MouseDown(LPARAM position);
  void ContextMenu(LPARAM screenPosition);
  void FitToContent();
  RECT ImageRect() const;

  // Freed by their members, so that a constructor failing half-way leaves nothing behind.
  struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
  };
  struct MenuDeleter {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
  };

  std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> picture_;
  std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter> popupMenu_;
  HWND device_ = nullptr;
  TKalloraPlus* form_ = nullptr;
  IUnknown* owner_ = nullptr;
  bool autoSize_ = false;
  std::unique_ptr<activex::MessageWindow> window_;
};

}  // namespace legacy::control
