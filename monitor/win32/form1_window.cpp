#include "monitor/win32/form1_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "common/error.h"
#include "monitor/win32/resource.h"
#include "tray/win32/callback_guard.h"

namespace monitor::win32 {
namespace {

constexpr wchar_t ClassName[] = L"TForm1";

void RegisterFormClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(IDI_MAINICON));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  if (!registered) throw common::Error(L"The window class could not be registered.");
}

std::int32_t ScreenPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return ppi > 0 ? ppi : DesignPixelsPerInch;
}

RECT RectOf(const Bounds& place) {
  return {place.Left, place.Top, place.Left + place.Width, place.Top + place.Height};
}

bool Meets(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != FALSE;
}

}  // namespace

// Start-up hands out messages (its own pump, and COM's while the device control is made); a
// close among them waits until start-up is done, as tearing the window down then would pull
// the handlers and the device factory from under FormCreate.
TForm1::TForm1(IForm1Parts& parts, tray::TApplication& application)
    : parts_(parts), application_(application), pixelsPerInch_(ScreenPixelsPerInch()) {
  RegisterFormClass(&TForm1::WindowProc);
  const ControlDescription& form = Form1Description().front();
  // Made where it is shown, in the middle of the screen: moving it later costs a trip to the
  // display.
  const int width = ScaleFromDesign(form.Width, pixelsPerInch_);
  const int height = ScaleFromDesign(form.Height, pixelsPerInch_);
  window_ = CreateWindowExW(0, ClassName, form.Caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                            width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) throw common::Error(L"The window could not be created.");
  starting_ = true;
  try {
    application_.SetMainForm(window_);
    Build();
  } catch (...) {
    // The window must not outlive this object, which its procedure points to.
    DestroyWindow(window_);
    throw;
  }
  starting_ = false;
  if (closeWaiting_) Close();
}

void TForm1::Build() {
  CreateControls();
  CreateMenu();
  trayIcon1_ = std::make_unique<TrayIcon1>(application_, window_, popupMenu1_, parts_.Shell());
  timer1_ = std::make_unique<FormTimer>(window_, Timer1Id, Form1Timers()[0].IntervalMs);
  timer2_ = std::make_unique<FormTimer>(window_, Timer2Id, Form1Timers()[1].IntervalMs);
  timer1_->SetEnabled(Form1Timers()[0].Enabled);
  timer2_->SetEnabled(Form1Timers()[1].Enabled);
  devices_ = parts_.CreateDeviceFactory(window_);
  handlers_.emplace(ControlsForHandlers(), *devices_, parts_.Beeps());
  statusTooltip_ = std::make_unique<StatusTooltip>(window_, LabelNamed(L"Label9").Place(), [this] {
    return handlers_ ? handlers_->NotConnectedReason() : std::wstring();
  });
  handlers_->FormCreate();
}

TForm1::~TForm1() {
  if (window_) DestroyWindow(window_);
}

void TForm1::ApplicationEvents1Exception(std::exception_ptr) noexcept {}

HWND TForm1::Control(const std::wstring& name) const {
  if (name == L"TextGrid1") return textGrid1_ ? textGrid1_->Handle() : nullptr;
  for (const auto& child : children_)
    if (name == child.Description->Name) return child.Window;
  return nullptr;
}

// The items' clicks arrive after the menu has closed.
void TForm1::CreateMenu() {
  const auto items = PopupMenu1Items();
  popupMenu1_.Add(items[0].Caption, tray::TMenuItem::ClickEvent([this](tray::TMenuItem&) {
    if (handlers_) handlers_->Listeyisil1Click();
  }));
  popupMenu1_.Add(items[1].Caption, tray::TMenuItem::ClickEvent([this](tray::TMenuItem&) {
    if (handlers_) handlers_->ki1Click();
  }));
}

std::vector<PlacedControl> TForm1::Arrange(std::int32_t clientWidth, std::int32_t clientHeight) const {
  return ArrangeForm1(pixelsPerInch_, clientWidth, clientHeight,
                      [](const FontDescription& font) { return GdiFont(font).LineHeight(); });
}

// The group boxes and labels are painted by the window itself; a child window of each would
// cost the window's first showing tens of milliseconds.
void TForm1::CreateControls() {
  RECT client{};
  GetClientRect(window_, &client);
  arrangedFor_ = {client.right, client.bottom};
  for (const PlacedControl& placed : Arrange(client.right, client.bottom)) {
    const ControlDescription& control = *placed.Control;
    if (control.Kind == ControlKind::TextGrid) {
      CreateTextGrid1(placed);
      continue;
    }
    const GdiFont& font = *fonts_.emplace_back(std::make_unique<GdiFont>(placed.Font));
    if (control.Kind == ControlKind::GroupBox) {
      const GroupBox box(RectOf(placed.Place), control.Caption, font.Handle(), font.LineHeight());
      frames_.push_back({&control, box});
    } else if (control.Kind == ControlKind::Label) {
      labels_.try_emplace(control.Name, static_cast<ILabelSurface&>(*this), font.Handle(), control.Caption,
                          RectOf(placed.Place), control.AutoSize);
    } else if (control.Kind == ControlKind::ProgressBar) {
      HWND meter = CreateMeter(placed, font);
      meters_.try_emplace(control.Name, meter);
      children_.push_back({&control, meter});
    }
  }
}

void TForm1::CreateTextGrid1(const PlacedControl& placed) {
  const Bounds& b = placed.Place;
  textGrid1_ = std::make_unique<grid::win32::TextGridWindow>(
      window_, RECT{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height}, ControlId(placed.Control->Name));
  ConfigureTextGrid1(textGrid1_->Grid(), pixelsPerInch_);
  // A call's row shows at once, before its balloon goes to the shell.
  callList_ = std::make_unique<TextGrid1CallList>(textGrid1_->Grid(),
                                                  [grid = textGrid1_.get()] { grid->PaintNow(); });
}

HWND TForm1::CreateMeter(const PlacedControl& placed, const GdiFont& font) {
  HWND meter = CreateWindowExW(
      0, PROGRESS_CLASSW, placed.Control->Caption,
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, placed.Place.Left, placed.Place.Top,
      placed.Place.Width, placed.Place.Height, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(placed.Control->Name))),
      GetModuleHandleW(nullptr), nullptr);
  if (!meter) throw common::Error(L"A control of the window could not be created.");
  SendMessageW(meter, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), FALSE);
  return meter;
}

// Aligned controls follow the window's size; labels that fit their text keep their size.
// Only a new client size moves the controls: the first showing reports the size too, and
// moving them to where they are and painting the window again would be wasted.
void TForm1::ArrangeControls() {
  RECT client{};
  GetClientRect(window_, &client);
  if (arrangedFor_.cx == client.right && arrangedFor_.cy == client.bottom) return;
  arrangedFor_ = {client.right, client.bottom};
  for (const PlacedControl& placed : Arrange(client.right, client.bottom)) {
    const RECT place = RectOf(placed.Place);
    if (auto label = labels_.find(placed.Control->Name); label != labels_.end()) {
      label->second.MoveTo(place);
    } else if (HWND child = Control(placed.Control->Name)) {
      SetWindowPos(child, nullptr, place.left, place.top, placed.Place.Width, placed.Place.Height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      for (GroupFrame& frame : frames_)
        if (frame.Description == placed.Control) frame.Box.MoveTo(place);
    }
  }
  // What the window paints itself has moved.
  InvalidateRect(window_, nullptr, FALSE);
}

void TForm1::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  PaintArea(dc, paint.rcPaint);
  EndPaint(window_, &paint);
}

// A label's new caption shows at once, as the platform's own label controls paint theirs.
void TForm1::RepaintArea(const RECT& area) {
  if (!window_) return;  // gone: a null window's DC would be the whole screen's
  HDC dc = GetDC(window_);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  PaintArea(dc, area);
  ReleaseDC(window_, dc);
}

// The face, then the group boxes, outer ones first, then the labels on them.
void TForm1::PaintArea(HDC dc, const RECT& area) const {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  for (const GroupFrame& frame : frames_)
    if (frame.Box.Meets(area)) frame.Box.Paint(dc);
  for (const auto& [name, label] : labels_)
    if (Meets(label.Place(), area)) label.Paint(dc);
}

LabelControl& TForm1::Label(const std::wstring& name) { return labels_.at(name); }
MeterControl& TForm1::Meter(const std::wstring& name) { return meters_.at(name); }

Form1Controls TForm1::ControlsForHandlers() {
  return Form1Controls{*this,
                       Label(L"Label1"),
                       Label(L"Label2"),
                       Label(L"Label3"),
                       Label(L"Label4"),
                       Label(L"Label5"),
                       Label(L"Label9"),
                       Label(L"Label22"),
                       Label(L"Label24"),
                       Label(L"Label25"),
                       Meter(L"ProgressBar1"),
                       Meter(L"ProgressBar2"),
                       Meter(L"ProgressBar3"),
                       Meter(L"ProgressBar4"),
                       *timer1_,
                       *timer2_,
                       *callList_,
                       *trayIcon1_};
}

void TForm1::PrepareForShow() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  trayIcon1_->HandToShell();
}

void TForm1::ProcessMessages() { application_.ProcessMessages(); }

void TForm1::BringApplicationToFront() {
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
}

void TForm1::Close() { PostMessageW(window_, WM_CLOSE, 0, 0); }

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  bool handled = false;
  tray::CallGuarded([&] {
    result = form->HandleMessage(message, wParam, lParam);
    handled = true;
  });
  return handled ? result : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_NOTIFY:
      if (statusTooltip_) {
        if (auto answer = statusTooltip_->OnNotify(lParam)) return *answer;
      }
      break;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the face is painted with the rest in WM_PAINT
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SIZE:
      if (!children_.empty()) ArrangeControls();
      return 0;
    case WM_GETOBJECT:
      if (auto answer = accessible_.Answer(wParam, lParam, [this] { return new Form1Accessible(window_, *this); }))
        return *answer;
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void TForm1::OnTimer(UINT_PTR id) {
  if (!handlers_) return;
  if (id == Timer1Id) handlers_->Timer1Timer();
  // The status line's text, and so its size, follows the poll.
  if (id == Timer1Id && statusTooltip_) statusTooltip_->Place(LabelNamed(L"Label9").Place());
  if (id == Timer2Id) handlers_->Timer2Timer();
}

// A right click on the window's own surface, over one of the labels that open the menu.
void TForm1::OnContextMenu(HWND clicked, POINT at) {
  if (clicked != window_ || (at.x == -1 && at.y == -1)) return;
  POINT client = at;
  ScreenToClient(window_, &client);
  const auto opens = PopupMenu1Openers();
  const bool onOpener = std::any_of(opens.begin(), opens.end(), [&](const wchar_t* name) {
    return PtInRect(&labels_.at(name).Place(), client) != FALSE;
  });
  if (onOpener) popupMenu1_.Popup({at.x, at.y});
}

// The window closes even when the device fails to take "test_stop": the failure goes to
// the program-wide handler, and the user is never kept from quitting.
void TForm1::OnClose() {
  if (starting_) {
    closeWaiting_ = true;
    return;
  }
  bool canClose = true;
  if (handlers_) tray::CallGuarded([&] { handlers_->FormCloseQuery(canClose); });
  if (canClose) DestroyWindow(window_);
}

// The device control, then the grid and the tray icon go with the window. A window that
// start-up gives up on ends no message loop: its constructor throws instead.
void TForm1::OnDestroy() {
  accessible_.Close();
  for (auto* timer : {timer1_.get(), timer2_.get()})
    if (timer) timer->SetEnabled(false);
  statusTooltip_.reset();
  if (handlers_) handlers_->DestroyDevice();
  handlers_.reset();
  callList_.reset();
  textGrid1_.reset();
  trayIcon1_.reset();
  devices_.reset();
  if (!starting_) PostQuitMessage(0);
}

}  // namespace monitor::win32
