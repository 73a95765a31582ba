// The grid's five cursors under Wine: real 32 x 32 cursor resources with their hot spots and
// shapes, and the grid's own cursor over its client area.
#include <windows.h>

#include <gtest/gtest.h>

#include "grid/grid_types.h"
#include "grid/win32/grid_cursors.h"
#include "grid/win32/tests/test_window.h"
#include "grid/win32/text_grid_window.h"

namespace grid::win32 {
namespace {

struct CursorCase {
  std::int32_t number;
  DWORD hotX;
  DWORD hotY;
};

TEST(GridCursors, AreRealCursorResourcesWithTheirHotSpots) {
  const CursorCase cases[] = {{101, 7, 7}, {102, 9, 9}, {103, 7, 7}, {104, 8, 10}, {105, 11, 10}};
  for (const CursorCase& c : cases) {
    SCOPED_TRACE(c.number);
    HCURSOR cursor = GridCursor(c.number);
    ASSERT_NE(cursor, nullptr);
    EXPECT_NE(cursor, LoadCursorW(nullptr, IDC_ARROW));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, c.hotX);
    EXPECT_EQ(info.yHotspot, c.hotY);
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64) << "two-colour: AND and XOR masks";
    EXPECT_EQ(info.hbmColor, nullptr);
    DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(GridCursor(cursor::HSplit), LoadCursorW(nullptr, IDC_SIZEWE));
  EXPECT_EQ(GridCursor(cursor::Default), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(GridCursors, ThePlusIsWhiteOutlinedInBlackAndTheCrossBlackOutlinedInWhite) {
  testing::MemoryBitmap bitmap(64, 32);
  DrawIconEx(bitmap.Dc(), 0, 0, GridCursor(101), 32, 32, 0, nullptr, DI_NORMAL);
  DrawIconEx(bitmap.Dc(), 32, 0, GridCursor(102), 32, 32, 0, nullptr, DI_NORMAL);
  const COLORREF background = bitmap.At(31, 31);
  EXPECT_EQ(bitmap.At(7, 7), RGB(255, 255, 255));
  EXPECT_EQ(bitmap.At(7, 0), RGB(0, 0, 0));
  EXPECT_EQ(bitmap.At(20, 20), background) << "transparent";
  EXPECT_EQ(bitmap.At(32 + 9, 9), RGB(0, 0, 0));
  EXPECT_EQ(bitmap.At(32 + 9, 8 - 0), RGB(0, 0, 0));
  EXPECT_EQ(bitmap.At(32 + 10, 5), RGB(255, 255, 255));
}

TEST(GridCursors, TheGridShowsItsOwnCursorOverItsClientArea) {
  testing::ParentWindow parent;
  TextGridWindow window(parent.Handle(), {0, 0, 104, 104});
  EXPECT_EQ(window.Grid().Cursor(), 101);
  SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), GridCursor(101));
}

}  // namespace
}  // namespace grid::win32
