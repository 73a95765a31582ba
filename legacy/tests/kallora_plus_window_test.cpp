// The control's window on its own: a construction that fails leaves no handle behind.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/error.h"
#include "legacy/control/kallora_plus_window.h"
#include "legacy/tests/process_usage.h"

namespace {

TEST(KalloraPlusWindow, AFailedCreationLeavesNoBitmapOrMenuBehind) {
  // A parent that no longer exists: the window cannot be made after the picture and the menu.
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const test::Usage before = test::Measure();
  for (int i = 0; i < 100; ++i) EXPECT_THROW(legacy::control::KalloraPlusWindow window(gone), common::Error);
  const test::Usage after = test::Measure();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_LE(after.nextGdiHandle, before.nextGdiHandle + 4);
  EXPECT_LE(after.nextUserHandle, before.nextUserHandle + 4);
}

}  // namespace
