// The About window on screen: its content, and every way of closing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/about/about_window.h"
#include "legacy/tests/modal_window_watch.h"

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  // Sent, not read directly: the window belongs to the test's other thread.
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct Child {
  std::wstring cls;
  std::wstring text;
  RECT box;
};

std::vector<Child> ChildrenOf(HWND dialog) {
  std::vector<Child> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT box{};
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    children.push_back({ClassOf(child), TextOf(child), box});
  }
  return children;
}

void PressKey(HWND dialog, WPARAM key) {
  HWND ok = GetDlgItem(dialog, IDOK);
  PostMessageW(ok, WM_KEYDOWN, key, 0);
  PostMessageW(ok, WM_KEYUP, key, 0);
}

TEST(AboutWindow, ShowsTheProductAndItsVersion) {
  RECT client{};
  std::wstring caption;
  std::vector<Child> children;
  LONG_PTR style = 0;
  {
    test::ModalWindowWatch watch(
        L"TKalloraXAbout",
        [&](HWND dialog) {
          GetClientRect(dialog, &client);
          caption = TextOf(dialog);
          children = ChildrenOf(dialog);
          style = GetWindowLongPtrW(dialog, GWL_STYLE);
        },
        [](HWND dialog) { PressKey(dialog, VK_ESCAPE); });
    EXPECT_NO_THROW(legacy::ShowAboutWindow(nullptr));
  }
  EXPECT_EQ(caption, L"About");
  EXPECT_EQ(client.right, 485);
  EXPECT_EQ(client.bottom, 533);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  ASSERT_EQ(children.size(), 7u);
  EXPECT_EQ(children[0].cls, L"Button");  // the group box filling the client area
  EXPECT_EQ(children[0].box.right, 485);
  EXPECT_EQ(children[0].box.bottom, 533);
  EXPECT_EQ(children[1].cls, L"Static");  // the picture
  EXPECT_EQ(children[1].box.left, 218);
  EXPECT_EQ(children[1].box.top, 17);
  EXPECT_EQ(children[2].text, L"KALLORA");
  EXPECT_EQ(children[2].box.left, 199);
  EXPECT_EQ(children[3].text, L"v.4.x.x.x");
  EXPECT_EQ(children[3].box.top, 114);
  EXPECT_EQ(children[4].text, L"www.kallora.com");
  EXPECT_EQ(children[5].text, L"OK");
  EXPECT_EQ(children[5].box.left, 196);
  EXPECT_EQ(children[5].box.top, 184);
  EXPECT_EQ(children[5].box.right - children[5].box.left, 92);
  EXPECT_EQ(children[5].box.bottom - children[5].box.top, 31);
  EXPECT_EQ(children[6].cls, L"Edit");
  EXPECT_EQ(children[6].box.top, 266);
  EXPECT_EQ(children[6].box.bottom, 531);
  EXPECT_NE(children[6].text.find(L"\r\nThis file, not recommended for new projects.\r\n"), std::wstring::npos);
}

TEST(AboutWindow, ClosesOnEnterEscAndTheSystemMenu) {
  const std::vector<std::function<void(HWND)>> closers{
      [](HWND dialog) { PressKey(dialog, VK_RETURN); },
      [](HWND dialog) { PressKey(dialog, VK_ESCAPE); },
      [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); },
  };
  for (std::size_t i = 0; i < closers.size(); ++i) {
    SCOPED_TRACE(i);
    test::ModalWindowWatch watch(L"TKalloraXAbout", [](HWND) {}, closers[i]);
    EXPECT_NO_THROW(legacy::ShowAboutWindow(nullptr));
    EXPECT_EQ(FindWindowW(L"TKalloraXAbout", nullptr), nullptr);
  }
}

TEST(AboutWindow, EachShowingStartsFresh) {
  std::wstring captions[2];
  for (std::wstring& caption : captions) {
    test::ModalWindowWatch watch(
        L"TKalloraXAbout",
        [&](HWND dialog) {
          caption = TextOf(dialog);
          SendMessageW(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
        },
        [](HWND dialog) { PressKey(dialog, VK_ESCAPE); });
    legacy::ShowAboutWindow(nullptr);
  }
  EXPECT_EQ(captions[0], L"About");
  EXPECT_EQ(captions[1], L"About");
}

}  // namespace
