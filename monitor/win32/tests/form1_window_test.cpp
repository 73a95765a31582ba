// TForm1 under Wine: the window and its controls as described, real timer ticks driving the
// status, the meters' real positions, the menu from the status labels, and the close.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "grid/win32/tests/test_window.h"
#include "monitor/tests/fake_form.h"
#include "monitor/win32/tests/test_parts.h"
#include "tray/win32/callback_guard.h"

namespace monitor::win32::testing {
namespace {

const std::wstring Connected = L"Bağlantı tamam  Hemen arayın";
const std::wstring NotConnected = L"Cihaz bağlantısı sağlanamadı";

struct OpenForm {
  TestParts parts;
  std::unique_ptr<TForm1> form;

  explicit OpenForm(bool installed = true) {
    parts.devices.Installed = installed;
    form = std::make_unique<TForm1>(parts, parts.application);
  }
  HWND operator[](const wchar_t* name) const { return form->Control(name); }
  std::wstring Text(const wchar_t* name) const { return form->LabelNamed(name).Caption(); }
  auto& device() { return parts.devices.State; }
  int Position(const wchar_t* meter) const {
    return static_cast<int>(SendMessageW(form->Control(meter), PBM_GETPOS, 0, 0));
  }
  void Levels(std::array<std::wstring, 4> levels) {
    SignalArgs args;
    for (int i = 0; i < 4; ++i) args.Level[i] = levels[i];
    // As the device's event call does: a failure goes to the program-wide handler.
    tray::CallGuarded([&] { device().OnSignalA(*form->Handlers().Tevrin51(), args); });
  }
};

LOGFONTW FontOf(HFONT handle) {
  LOGFONTW font{};
  GetObjectW(handle, sizeof(font), &font);
  return font;
}

LOGFONTW FontOf(HWND window) {
  return FontOf(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
}

int ScreenPpi() {
  HDC dc = GetDC(nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi;
}

TEST(TForm1Window, OpensCentredAtItsDesignedSizeWithEveryControl) {
  OpenForm open;
  HWND window = open.form->Handle();
  ASSERT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(TextOf(window), L"TEST");

  RECT frame{};
  GetWindowRect(window, &frame);
  const int ppi = ScreenPpi();
  EXPECT_EQ(frame.right - frame.left, ScaleFromDesign(575, ppi));
  EXPECT_EQ(frame.bottom - frame.top, ScaleFromDesign(463, ppi));
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  for (const auto& control : Form1Description().subspan(1)) {
    if (control.Kind == ControlKind::GroupBox) continue;  // only pixels show them: see below
    LOGFONTW font{};
    if (control.Kind == ControlKind::Label) {
      const LabelControl& label = open.form->LabelNamed(control.Name);
      if (std::wstring(control.Name) != L"Label5") {
        EXPECT_EQ(label.Caption(), control.Caption) << control.Name;
      }
      font = FontOf(label.Font());
    } else {
      HWND child = open[control.Name];
      ASSERT_NE(child, nullptr) << control.Name;
      EXPECT_TRUE(IsWindowVisible(child)) << control.Name;
      EXPECT_EQ(GetDlgCtrlID(child), ControlId(control.Name)) << control.Name;
      if (control.Kind == ControlKind::TextGrid) continue;
      font = FontOf(child);
    }
    EXPECT_STREQ(font.lfFaceName, control.Font.Name) << control.Name;
    EXPECT_EQ(font.lfHeight, -ScaleFromDesign(control.Font.Height, ppi)) << control.Name;
    EXPECT_EQ(font.lfItalic != 0, control.Font.Italic) << control.Name;
  }
  RECT grid{};
  GetWindowRect(open[L"TextGrid1"], &grid);
  EXPECT_EQ(grid.bottom - grid.top, ScaleFromDesign(226, ppi));
  EXPECT_EQ(open.form->TextGrid1().ColCount(), 6);
}

TEST(TForm1Window, LabelsThatFitTheirTextGrowAndShrinkWithIt) {
  OpenForm open;
  const RECT before = open.form->LabelNamed(L"Label24").Place();
  open.device().Model = L"Uzun bir cihaz modeli adı";
  open.device().Serial = L"1";
  PumpUntil([&] { return open.Text(L"Label9") == Connected; }, 2000);
  const RECT after = open.form->LabelNamed(L"Label24").Place();
  EXPECT_GT(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.left, before.left);
}

// How many pixels of area, in the window's client area, show colour: the labels and group
// boxes have no windows, so only the window's pixels tell what they show.
int PixelsOfColour(HWND window, const RECT& area, int colour) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  grid::win32::testing::MemoryBitmap copy(width, height);
  HDC dc = GetDC(window);
  BitBlt(copy.Dc(), 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, dc);
  const auto pixels = copy.Pixels();
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), GetSysColor(colour)));
}

TEST(TForm1Window, PaintsItsLabelsAndFramesAndWhatAShorterCaptionUncovers) {
  OpenForm open;
  HWND window = open.form->Handle();
  UpdateWindow(window);
  RECT client{};
  GetClientRect(window, &client);
  const RECT bottomEdge{0, client.bottom - 6, client.right, client.bottom};
  EXPECT_GT(PixelsOfColour(window, bottomEdge, COLOR_BTNSHADOW), client.right / 2);  // the frames
  EXPECT_GT(PixelsOfColour(window, open.form->LabelNamed(L"Label10").Place(), COLOR_WINDOWTEXT), 50);

  open.device().Model = L"Tevrin 4P";
  open.device().Serial = L"TR-0042";
  ASSERT_TRUE(PumpUntil([&] { return open.Text(L"Label24") == L"Cihaz modeli: Tevrin 4P"; }, 1500));
  const RECT shown = open.form->LabelNamed(L"Label24").Place();
  EXPECT_GT(PixelsOfColour(window, shown, COLOR_WINDOWTEXT), 50);
  open.device().Model.clear();
  open.device().Serial.clear();
  ASSERT_TRUE(PumpUntil([&] { return open.Text(L"Label24") == L""; }, 1500));
  EXPECT_EQ(PixelsOfColour(window, shown, COLOR_WINDOWTEXT), 0);  // nothing of the longer text is left
}

TEST(TForm1Window, TimerTicksShowTheConnectionFromTheRealLabels) {
  OpenForm open;
  EXPECT_THAT(open.device().Received,
              ::testing::ElementsAre("bind OnSignalA", "bind OnCallerID", "+:~.-q", "Start"));
  EXPECT_EQ(open.Text(L"Label9"), L"--");
  ASSERT_TRUE(PumpUntil([&] { return open.Text(L"Label9") == NotConnected; }, 1500));
  EXPECT_EQ(open.Text(L"Label24"), L"");

  open.device().Model = L"Tevrin 4P";
  open.device().Serial = L"TR-0042";
  ASSERT_TRUE(PumpUntil([&] { return open.Text(L"Label9") == Connected; }, 1500));
  EXPECT_EQ(open.Text(L"Label24"), L"Cihaz modeli: Tevrin 4P");
  EXPECT_EQ(open.Text(L"Label25"), L"Seri no: TR-0042");
}

TEST(TForm1Window, APassingDeviceErrorDoesNotStopThePoll) {
  OpenForm open;
  open.device().FailingCommands = 3;
  PumpFor(1200);
  EXPECT_EQ(open.Text(L"Label9"), L"--");  // every tick failed and was discarded
  open.device().FailingCommands = 0;
  EXPECT_TRUE(PumpUntil([&] { return open.Text(L"Label9") == NotConnected; }, 1500));
}

TEST(TForm1Window, LevelsMoveTheRealMetersAndABadLevelChangesNothing) {
  OpenForm open;
  open.Levels({L"0", L"15", L"30", L"7"});
  EXPECT_EQ(open.Position(L"ProgressBar1"), 0);
  EXPECT_EQ(open.Position(L"ProgressBar2"), 15);
  EXPECT_EQ(open.Position(L"ProgressBar3"), 30);
  EXPECT_EQ(open.Position(L"ProgressBar4"), 7);
  EXPECT_EQ(open.Text(L"Label1"), L"0");
  EXPECT_EQ(open.Text(L"Label2"), L"15");
  EXPECT_EQ(open.Text(L"Label3"), L"30");
  EXPECT_EQ(open.Text(L"Label4"), L"7");
  EXPECT_TRUE(GetWindowLongPtrW(open[L"ProgressBar1"], GWL_STYLE) & PBS_SMOOTH);

  open.Levels({L"1", L"abc", L"1", L"1"});
  EXPECT_EQ(open.Position(L"ProgressBar1"), 0);
  EXPECT_EQ(open.Text(L"Label2"), L"15");
  EXPECT_TRUE(IsWindow(open.form->Handle()));
}

TEST(TForm1Window, MissingDeviceShowsInstallationTextsAndStillCloses) {
  OpenForm open(false);
  EXPECT_EQ(open.Text(L"Label22"), L"Dosyalar eksik.");
  EXPECT_EQ(open.Text(L"Label5"), L"");
  EXPECT_EQ(open.Text(L"Label9"), L"Kurulumu tamamlayınız.");
  PumpFor(700);
  EXPECT_EQ(open.Text(L"Label9"), L"Kurulumu tamamlayınız.");  // nothing to poll
  PostMessageW(open.form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return open.form->Handle() == nullptr; }, 1000));
}

TEST(TForm1Window, CallsAndTheMenuItemsReachTheList) {
  OpenForm open;
  for (int i = 1; i <= 3; ++i)
    open.device().OnCallerID(*open.form->Handlers().Tevrin51(), {L"D", L"1", L"0555", L"t", L""});
  EXPECT_EQ(open.Text(L"Label5"), L"3");
  EXPECT_EQ(open.form->TextGrid1().RowCount(), 3);
  EXPECT_EQ(open.form->TextGrid1().Cells(0, 2), L"3");

  EXPECT_THAT(open.parts.balloons, ::testing::ElementsAre(L"Çağrı: 1|0555", L"Çağrı: 2|0555", L"Çağrı: 3|0555"));

  open.form->PopupMenu1().Item(0).Click();
  EXPECT_EQ(open.form->TextGrid1().RowCount(), 0);
  EXPECT_EQ(open.Text(L"Label5"), L"0");

  open.form->PopupMenu1().Item(1).Click();
  EXPECT_TRUE(PumpUntil([&] { return open.form->Handle() == nullptr; }, 1000));
  EXPECT_EQ(open.device().Received.back(), "test_stop");
  EXPECT_FALSE(open.device().Alive);
}

std::vector<std::wstring>* openMenuItems;

// Reads the items of the menu that is open, then closes it; until the menu shows, it tries
// again at the next tick.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
    openMenuItems->push_back(text);
  }
  EndMenu();
}

// The menu that a right click on a label opens, found while it is open and then closed again.
std::vector<std::wstring> MenuOpenedBy(const TForm1& form, const wchar_t* label) {
  std::vector<std::wstring> found;
  openMenuItems = &found;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ReadOpenMenu);
  const RECT place = form.LabelNamed(label).Place();
  POINT at{place.left + 2, place.top + 2};
  ClientToScreen(form.Handle(), &at);
  SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()), MAKELPARAM(at.x, at.y));
  KillTimer(nullptr, timer);
  return found;
}

TEST(TForm1Window, RightClickOnTheStatusLabelsOpensTheMenu) {
  OpenForm open;
  for (const wchar_t* name : {L"Label9", L"Label24", L"Label25"})
    EXPECT_THAT(MenuOpenedBy(*open.form, name), ::testing::ElementsAre(L"Listeyi sil", L"Çıkış")) << name;
  EXPECT_THAT(MenuOpenedBy(*open.form, L"Label22"), ::testing::IsEmpty());
}

TEST(TForm1Window, CloseSendsTestStopAndClosesEvenWhenTheDeviceFails) {
  OpenForm open;
  open.device().Received.clear();
  open.device().FailingCommand = L"test_stop";
  PostMessageW(open.form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return open.form->Handle() == nullptr; }, 1000));
  EXPECT_THAT(open.device().Received, ::testing::Contains("test_stop"));
  EXPECT_FALSE(open.device().Alive);
}

// COM may hand out waiting messages while it makes the device control; a close among them
// waits for start-up to finish, then goes through as usual.
void CloseWhileTheDeviceIsMade(TestParts& parts) {
  parts.devices.WhileCreating = [&parts] {
    PostMessageW(parts.window, WM_CLOSE, 0, 0);
    parts.application.ProcessMessages();
  };
}

TEST(TForm1Window, ACloseDuringStartUpWaitsForStartUpThenSendsTestStop) {
  TestParts parts;
  CloseWhileTheDeviceIsMade(parts);
  TForm1 form(parts, parts.application);
  EXPECT_NE(form.Handle(), nullptr);
  EXPECT_THAT(parts.devices.State.Received, ::testing::ElementsAre("bind OnSignalA", "bind OnCallerID",
                                                                    "+:~.-q", "Start"));
  EXPECT_EQ(form.LabelNamed(L"Label5").Caption(), L"0");
  EXPECT_TRUE(PumpUntil([&] { return form.Handle() == nullptr; }, 1000));
  EXPECT_THAT(parts.devices.State.Received, ::testing::Contains("test_stop"));
  EXPECT_EQ(parts.devices.State.Received.back(), "test_stop");
  EXPECT_FALSE(parts.devices.State.Alive);
}

TEST(TForm1Window, ACloseDuringStartUpWithoutTheDeviceShowsTheTextsThenCloses) {
  TestParts parts;
  parts.devices.Installed = false;
  CloseWhileTheDeviceIsMade(parts);
  TForm1 form(parts, parts.application);
  ASSERT_NE(form.Handle(), nullptr);
  EXPECT_EQ(form.LabelNamed(L"Label9").Caption(), L"Kurulumu tamamlayınız.");
  EXPECT_EQ(form.LabelNamed(L"Label22").Caption(), L"Dosyalar eksik.");
  EXPECT_TRUE(PumpUntil([&] { return form.Handle() == nullptr; }, 1000));
}

// A failure after the window exists takes the window with it: none is left pointing at the
// unwound form.
TEST(TForm1Window, AFailureDuringConstructionTakesTheWindowWithIt) {
  struct NoFactory : TestParts {
    std::unique_ptr<IDeviceControlFactory> CreateDeviceFactory(HWND form) override {
      window = form;
      throw common::Error(L"no factory");
    }
  };
  NoFactory parts;
  EXPECT_THROW({ TForm1 form(parts, parts.application); }, common::Error);
  ASSERT_NE(parts.window, nullptr);
  EXPECT_FALSE(IsWindow(parts.window));
}

}  // namespace
}  // namespace monitor::win32::testing
