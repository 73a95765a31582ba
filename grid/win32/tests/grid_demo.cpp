// Shows a grid configured as the main window's call list with a few calls and a selected
// block, for a look at it on screen: grid_demo [seconds] [edit] (default 5 seconds); with
// "edit" the grid is editable and the in-place editor is open on a cell.
#include <windows.h>

#include <cwchar>

#include "grid/tests/call_log_grid.h"
#include "grid/win32/tests/test_window.h"
#include "grid/win32/text_grid_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const int seconds = *commandLine ? static_cast<int>(std::wcstol(commandLine, nullptr, 10)) : 5;
  grid::win32::testing::ParentWindow parent(true, 680, 320);
  RECT client;
  GetClientRect(parent.Handle(), &client);
  grid::win32::TextGridWindow window(parent.Handle(), {8, 8, client.right - 8, 240});
  grid::TTextGrid& grid = window.Grid();
  grid::testing::ConfigureAsCallLog(grid);
  for (int call = 1; call <= 7; ++call) grid::testing::LogCall(grid, call);
  grid.SetCells(5, 2, L"Çağrı bekliyor");
  SetFocus(window.Handle());
  if (std::wcsstr(commandLine, L"edit")) {
    grid.SetReadOnly(false);
    const LPARAM cell = MAKELPARAM(grid.ColumnLeft(2) + 30, 18 * 3 + 9);
    for (int click = 0; click < 2; ++click) {
      SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, cell);
      SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, cell);
      SendMessageW(window.Handle(), WM_LBUTTONUP, 0, cell);
    }
  } else {
    grid.SetSelectArea({1, 2, 3, 4}, false);
  }
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  while (GetTickCount64() < end) {
    grid::win32::testing::PumpWaitingMessages();
    Sleep(20);
  }
  return 0;
}
