// Subclassing kept in this process: the newest procedure hears first and passes on; one
// that leaves while a message runs still passes that message on and hears no other; the
// window gets its own procedure back when the last leaves, and all leave with the window,
// even when it is destroyed from inside one of its own messages.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tray/win32/window_subclass.h"

namespace tray {
namespace {

constexpr UINT kProbe = WM_APP + 1;

std::string heard;

LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe) {
    heard += "own;";
    return 7;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateProbeWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SubclassProbe";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, L"SubclassProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

// Names itself by its id; id 2 leaves during the message; id 3 destroys the window.
LRESULT CALLBACK Probe(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == kProbe) {
    heard += std::to_string(id) + ";";
    if (id == 2) RemoveSubclass(window, Probe, 2);
    if (id == 3) {
      DestroyWindow(window);
      return 0;
    }
  }
  if (message == WM_NCDESTROY) heard += "gone" + std::to_string(id) + ";";
  return CallNextSubclass(window, message, wParam, lParam);
}

TEST(WindowSubclass, NewestHearsFirstAndEachPassesOn) {
  HWND window = CreateProbeWindow();
  const auto own = GetWindowLongPtrW(window, GWLP_WNDPROC);
  ASSERT_TRUE(AddSubclass(window, Probe, 1, 0));
  ASSERT_TRUE(AddSubclass(window, Probe, 2, 0));
  heard.clear();
  EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 7);
  EXPECT_EQ(heard, "2;1;own;") << "2 left while the message ran, and passed it on";
  heard.clear();
  SendMessageW(window, kProbe, 0, 0);
  EXPECT_EQ(heard, "1;own;");
  RemoveSubclass(window, Probe, 1);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), own) << "the window's own procedure is back";
  DestroyWindow(window);
}

TEST(WindowSubclass, AllLeaveWithTheWindowEvenWhenItGoesInsideItsOwnMessage) {
  HWND window = CreateProbeWindow();
  AddSubclass(window, Probe, 1, 0);
  AddSubclass(window, Probe, 3, 0);
  heard.clear();
  SendMessageW(window, kProbe, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(heard, "3;gone3;gone1;");
  // A new window, which may get the old handle, starts with no procedures of the old one.
  HWND next = CreateProbeWindow();
  heard.clear();
  SendMessageW(next, kProbe, 0, 0);
  EXPECT_EQ(heard, "own;");
  DestroyWindow(next);
}

}  // namespace
}  // namespace tray
