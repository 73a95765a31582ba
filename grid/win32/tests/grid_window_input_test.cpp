// The grid's window under Wine, driven by real messages: keys and characters, clicks and
// drags, the wheel and the scroll bars, the real clipboard, and the in-place EDIT box.
#include <windows.h>

#include <gtest/gtest.h>

#include "grid/win32/tests/test_window.h"
#include "grid/win32/text_grid_window.h"

namespace grid::win32 {
namespace {

using testing::ParentWindow;
using testing::PumpWaitingMessages;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// Holds modifier keys down for GetKeyState while the grid handles a message.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    GetKeyboardState(state);
    for (int k : keys) state[k] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(closed)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Three columns of 60 and eight rows, no gutter: cell (c, r) is centred at
// (60c + 30, 18r + 27) in client pixels.
class GridWindowInput : public ::testing::Test {
 protected:
  GridWindowInput() : parent(true, 500, 300), window(parent.Handle(), {0, 0, 304, 124}) {
    grid().SetGutterKind(TGutterKind::gkNone);
    grid().SetColCount(3);
    for (std::int32_t i = 0; i < 3; ++i) grid().Columns()[i].SetWidth(60);
    grid().SetRowCount(8);
    SetForegroundWindow(parent.Handle());
    SetFocus(window.Handle());
    PumpWaitingMessages();
  }
  TTextGrid& grid() { return window.Grid(); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(window.Handle(), message, wParam, lParam);
  }
  void Click(int col, int row) {
    const int x = 60 * col + 30, y = 18 * row + 27;
    Send(WM_MOUSEMOVE, 0, At(x, y));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    Send(WM_LBUTTONUP, 0, At(x, y));
  }
  Point Current() { return {grid().CurrentCol(), grid().CurrentRow()}; }

  ParentWindow parent;
  TextGridWindow window;
};

TEST_F(GridWindowInput, KeysMoveTheCurrentCellAndShiftExtendsTheBlock) {
  EXPECT_EQ(GetFocus(), window.Handle());
  Send(WM_KEYDOWN, VK_DOWN);
  Send(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Current(), (Point{1, 1}));
  {
    HeldKeys shift({VK_SHIFT});
    Send(WM_KEYDOWN, VK_RIGHT);
    Send(WM_KEYDOWN, VK_DOWN);
  }
  EXPECT_EQ(grid().SelectArea(), (Rect{1, 1, 2, 2}));
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(GridWindowInput, CharactersAreTypedIntoTheCurrentCellWithACaret) {
  Click(1, 2);
  Send(WM_CHAR, L'ş');
  Send(WM_CHAR, L'1');
  EXPECT_EQ(grid().Cells(1, 2), L"ş1");
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_GT(caret.x, 64);
  EXPECT_EQ(caret.y, 18 * 2 + 17 + 2 - 1);
  Send(WM_CHAR, VK_BACK);
  EXPECT_EQ(grid().Cells(1, 2), L"ş");
}

TEST_F(GridWindowInput, ClicksAndDragsSelectWithCaptureAndFocus) {
  SetFocus(parent.Handle());
  Send(WM_MOUSEMOVE, 0, At(150, 63));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(150, 63));
  EXPECT_EQ(GetCapture(), window.Handle());
  EXPECT_EQ(GetFocus(), window.Handle());
  EXPECT_EQ(Current(), (Point{2, 2}));
  Send(WM_MOUSEMOVE, MK_LBUTTON, At(40, 100));
  Send(WM_LBUTTONUP, 0, At(40, 100));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(grid().SelectArea(), (Rect{0, 2, 2, 4}));
}

TEST_F(GridWindowInput, HeaderClickSelectsAColumn) {
  Send(WM_MOUSEMOVE, 0, At(90, 8));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(90, 8));
  Send(WM_LBUTTONUP, 0, At(90, 8));
  EXPECT_EQ(grid().SelectArea(), (Rect{1, 0, 1, 7}));
}

TEST_F(GridWindowInput, TheWheelScrollsByPixelsAndTheBarByRows) {
  grid().SetRowCount(40);
  Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), At(50, 50));
  EXPECT_EQ(grid().VScrollPos(), 120);
  EXPECT_EQ(GetScrollPos(window.Handle(), SB_VERT), 120);
  Send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(grid().VScrollPos(), 126);
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 200));
  EXPECT_EQ(grid().VScrollPos(), 198);
  EXPECT_EQ(GetScrollPos(window.Handle(), SB_VERT), 198);
}

TEST_F(GridWindowInput, AltWithAKeyActsAsThePlainKey) {
  HeldKeys alt({VK_MENU});
  Send(WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  EXPECT_EQ(Current(), (Point{0, 1}));
}

TEST_F(GridWindowInput, DraggingTheThumbReachesPositionsBeyondSixteenBits) {
  grid().SetRowCount(2000);
  ASSERT_GT(grid().VScrollMax(), 32767);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(window.Handle(), OBJID_VSCROLL, &bar));
  const POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                    bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
  POINT end{thumb.x, bar.rcScrollBar.bottom - 1};
  ScreenToClient(window.Handle(), &end);
  // The bar's own tracking loop takes these once the press on the thumb starts it.
  PostMessageW(window.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(end.x, end.y));
  PostMessageW(window.Handle(), WM_LBUTTONUP, 0, At(end.x, end.y));
  Send(WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  EXPECT_EQ(grid().VScrollPos(), grid().VScrollMax());
  EXPECT_EQ(GetScrollPos(window.Handle(), SB_VERT), grid().VScrollMax());
}

TEST_F(GridWindowInput, ABlockGoesToTheRealClipboardAndComesBack) {
  grid().SetCells(0, 0, L"a");
  grid().SetCells(1, 0, L"b");
  grid().SetCells(0, 1, L"ç");
  grid().SetCells(1, 1, L"d");
  {
    HeldKeys shift({VK_SHIFT});
    Send(WM_KEYDOWN, VK_RIGHT);
    Send(WM_KEYDOWN, VK_DOWN);
  }
  {
    HeldKeys control({VK_CONTROL});
    Send(WM_KEYDOWN, 'C');
  }
  EXPECT_EQ(ClipboardText(), L"a\tb\r\nç\td\r\n");
  Click(1, 4);
  {
    HeldKeys control({VK_CONTROL});
    Send(WM_KEYDOWN, 'V');
  }
  EXPECT_EQ(grid().Cells(1, 4), L"a");
  EXPECT_EQ(grid().Cells(2, 4), L"b");
  EXPECT_EQ(grid().Cells(1, 5), L"ç");
  EXPECT_EQ(grid().Cells(2, 5), L"d");
}

TEST_F(GridWindowInput, TheEditorOpensTakesTypingAndClosesWithEnter) {
  grid().SetCells(1, 1, L"eski");
  Click(1, 1);
  HWND edit = window.EditorHandle();
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(IsWindowVisible(edit));
  Click(1, 1);
  ASSERT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(GetFocus(), window.Handle()) << "the grid keeps the focus";
  wchar_t text[32];
  GetWindowTextW(edit, text, 32);
  EXPECT_EQ(std::wstring(text), L"eski");
  RECT bounds;
  GetWindowRect(edit, &bounds);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 59 + 4);
  EXPECT_EQ(bounds.right, 120 - 4);

  SetFocus(edit);
  EXPECT_TRUE(IsWindowVisible(edit)) << "focus moving into the editor leaves it open";
  SendMessageW(edit, EM_SETSEL, 4, 4);
  SendMessageW(edit, WM_CHAR, L'r', 0);
  EXPECT_EQ(grid().Cells(1, 1), L"eskir");
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(IsWindowVisible(edit));
  EXPECT_EQ(GetFocus(), window.Handle());
  EXPECT_EQ(Current(), (Point{1, 1}));
}

TEST_F(GridWindowInput, TheEditorsFilterDropsRefusedCharacters) {
  grid().OnFilterChar = TOnFilterChar([](Component&, std::int32_t, std::int32_t, wchar_t c, bool& allowed) {
    allowed = c >= L'0' && c <= L'9';
  });
  Click(0, 0);
  Click(0, 0);
  HWND edit = window.EditorHandle();
  SetFocus(edit);
  for (wchar_t c : std::wstring(L"1a2")) SendMessageW(edit, WM_CHAR, c, 0);
  EXPECT_EQ(grid().Cells(0, 0), L"12");
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(grid().Cells(0, 0), L"1");
  SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(edit));
}

TEST_F(GridWindowInput, TheEditorDropsAKeyOrCharacterWhoseHandlerFails) {
  grid().SetCells(0, 0, L"abc");
  Click(0, 0);
  Click(0, 0);
  HWND edit = window.EditorHandle();
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, 0);
  grid().OnFilterChar = TOnFilterChar([](Component&, std::int32_t, std::int32_t, wchar_t, bool&) { throw 1; });
  SendMessageW(edit, WM_CHAR, L'x', 0);
  grid().InplaceEditor().OnKeyDown = TKeyEvent([](Component&, std::uint16_t&, TShiftState) { throw 1; });
  SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(grid().Cells(0, 0), L"abc");
}

TEST_F(GridWindowInput, ARightAlignedColumnRecreatesTheEditorWithItsStyle) {
  grid().Columns()[2].SetHorzAlign(THorzAlign::haRight);
  Click(2, 0);
  Click(2, 0);
  HWND edit = window.EditorHandle();
  ASSERT_TRUE(IsWindowVisible(edit));
  EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & (ES_CENTER | ES_RIGHT), ES_RIGHT);
}

}  // namespace
}  // namespace grid::win32
