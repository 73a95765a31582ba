// TForm1, the line monitor's one window: its controls made from the window description (the
// group boxes and labels painted on its own surface, the grid and meters as child windows), its
// timers and menu, the grid, the tray icon and the device control from their components, and
// every message routed to one of TForm1's handlers.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor/form1_handlers.h"
#include "grid/win32/accessible_slot.h"
#include "grid/win32/text_grid_window.h"
#include "monitor/form1_layout.h"
#include "monitor/text_grid1.h"
#include "monitor/win32/form1_accessible.h"
#include "monitor/win32/form1_parts.h"
#include "monitor/win32/form_timer.h"
#include "monitor/win32/gdi_font.h"
#include "monitor/win32/group_box.h"
#include "monitor/win32/label_control.h"
#include "monitor/win32/meter_control.h"
#include "monitor/win32/status_tooltip.h"
#include "monitor/win32/tray_icon1.h"
#include "tray/win32/application.h"
#include "tray/win32/popup_menu_win32.h"

namespace monitor::win32 {

class TForm1 : public IFormWindow, private ILabelSurface, private IForm1Readout {
 public:
  static constexpr UINT_PTR Timer1Id = 1;
  static constexpr UINT_PTR Timer2Id = 2;

  // Creates the window and its controls, then runs FormCreate: when it returns the window
  // is shown and the device control, if installed, started.
  TForm1(IForm1Parts& parts, tray::TApplication& application);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  HWND Handle() const noexcept { return window_; }
  // The child window of a described control, nullptr when there is none: group boxes and
  // labels have no window.
  HWND Control(const std::wstring& name) const;
  const LabelControl& LabelNamed(const std::wstring& name) const { return labels_.at(name); }
  TForm1Handlers& Handlers() { return *handlers_; }
  tray::TPopupMenu& PopupMenu1() { return popupMenu1_; }
  grid::TTextGrid& TextGrid1() { return textGrid1_->Grid(); }
  TrayIcon1& Tray() { return *trayIcon1_; }

  // The program-wide handler of every failure that reaches the message loop: it is
  // discarded, without a dialog or a log.
  static void ApplicationEvents1Exception(std::exception_ptr failure) noexcept;

  void PrepareForShow() override;
  void ProcessMessages() override;
  void BringApplicationToFront() override;
  void Close() override;

 private:
  struct ChildControl {
    const ControlDescription* Description;
    HWND Window;
  };
  struct GroupFrame {
    const ControlDescription* Description;
    GroupBox Box;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Build();
  void CreateControls();
  HWND CreateMeter(const PlacedControl& placed, const GdiFont& font);
  void RepaintArea(const RECT& area) override;
  void CaptionChanged(const LabelControl& label) override;
  std::wstring LabelCaption(const wchar_t* label) const override;
  std::optional<RECT> PlaceOf(const wchar_t* control) const override;
  HWND WindowOf(const wchar_t* control) const override;
  void PaintArea(HDC dc, const RECT& area) const;
  void OnPaint();
  void CreateTextGrid1(const PlacedControl& placed);
  void CreateMenu();
  void ArrangeControls();
  std::vector<PlacedControl> Arrange(std::int32_t clientWidth, std::int32_t clientHeight) const;
  Form1Controls ControlsForHandlers();
  LabelControl& Label(const std::wstring& name);
  MeterControl& Meter(const std::wstring& name);
  void OnTimer(UINT_PTR id);
  void OnContextMenu(HWND clicked, POINT at);
  void OnClose();
  void OnDestroy();

  IForm1Parts& parts_;
  tray::TApplication& application_;
  HWND window_ = nullptr;
  std::int32_t pixelsPerInch_;
  std::vector<std::unique_ptr<GdiFont>> fonts_;  // every control's, for the window's life
  std::vector<ChildControl> children_;
  std::vector<GroupFrame> frames_;  // outer ones first
  SIZE arrangedFor_{-1, -1};  // the client size the controls were last placed for
  std::map<std::wstring, LabelControl> labels_;
  std::map<std::wstring, MeterControl> meters_;
  std::unique_ptr<grid::win32::TextGridWindow> textGrid1_;
  std::unique_ptr<TextGrid1CallList> callList_;
  tray::TPopupMenu popupMenu1_;
  std::unique_ptr<TrayIcon1> trayIcon1_;
  std::unique_ptr<StatusTooltip> statusTooltip_;
  std::unique_ptr<FormTimer> timer1_, timer2_;
  std::unique_ptr<IDeviceControlFactory> devices_;
  std::optional<TForm1Handlers> handlers_;
  bool starting_ = false;
  bool closeWaiting_ = false;
  grid::win32::AccessibleSlot accessible_;  // last: its object reads the controls above
};

}  // namespace monitor::win32
