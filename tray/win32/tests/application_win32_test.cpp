// The application object under Wine: its window's hooks, the main form at Run, the end of the
// loop, and failures caught at callbacks reaching its one handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tray/win32/application.h"
#include "tray/win32/tests/tray_test_support.h"
#include "tray/window_timer.h"

namespace tray::testing {
namespace {

TEST(ApplicationUnderWine, WindowIsAHiddenTopLevelWindowWithTheTitle) {
  TApplication application(L"Test");
  wchar_t title[16]{};
  GetWindowTextW(application.Handle(), title, 16);
  EXPECT_STREQ(title, L"Test");
  EXPECT_FALSE(IsWindowVisible(application.Handle()));
  EXPECT_EQ(GetParent(application.Handle()), nullptr);
  EXPECT_EQ(GetWindow(application.Handle(), GW_OWNER), nullptr);
}

TEST(ApplicationUnderWine, HooksSeeEveryMessageAndMayRemoveThemselves) {
  TApplication application(L"Test");
  std::vector<UINT> first, second;
  TApplication::HookId firstId = 0;
  firstId = application.HookMainWindow([&](UINT message, WPARAM, LPARAM) {
    first.push_back(message);
    application.UnhookMainWindow(firstId);
  });
  application.HookMainWindow([&](UINT message, WPARAM, LPARAM) { second.push_back(message); });
  SendMessageW(application.Handle(), WM_USER + 7, 0, 0);
  SendMessageW(application.Handle(), WM_USER + 8, 0, 0);
  EXPECT_EQ(first, std::vector<UINT>{WM_USER + 7});
  EXPECT_EQ(second, (std::vector<UINT>{WM_USER + 7, WM_USER + 8}));
}

TEST(ApplicationUnderWine, RunShowsTheMainFormAndEndsWithTheQuitMessage) {
  TApplication application(L"Test");
  TestWindow form;
  application.SetMainForm(form.Handle());
  bool visibleWhileRunning = false;
  TWindowTimer quit(30, TWindowTimer::TimerEvent([&](TWindowTimer&) {
    visibleWhileRunning = IsWindowVisible(form.Handle());
    PostQuitMessage(3);
  }));
  quit.SetEnabled(true);
  EXPECT_EQ(application.Run(), 3);
  EXPECT_TRUE(application.Terminated());
  EXPECT_TRUE(visibleWhileRunning);
}

TEST(ApplicationUnderWine, RunLeavesTheMainFormHiddenWhenToldSo) {
  TApplication application(L"Test");
  TestWindow form;
  application.SetMainForm(form.Handle());
  application.SetShowMainForm(false);
  application.Terminate();
  application.Run();
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(ApplicationUnderWine, FailureInACallbackGoesToOnExceptionAndNoFurther) {
  TApplication application(L"Test");
  std::vector<std::string> failures;
  application.SetOnException(TApplication::ExceptionEvent([&](TApplication&, std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& error) {
      failures.push_back(error.what());
    }
  }));
  application.HookMainWindow([](UINT message, WPARAM, LPARAM) {
    if (message == WM_USER + 1) throw std::runtime_error("hook failed");
  });
  TWindowTimer failing(10, TWindowTimer::TimerEvent([](TWindowTimer& timer) {
    timer.SetEnabled(false);
    throw std::runtime_error("timer failed");
  }));
  failing.SetEnabled(true);
  SendMessageW(application.Handle(), WM_USER + 1, 0, 0);
  Sleep(50);
  application.ProcessMessages();
  EXPECT_EQ(failures, (std::vector<std::string>{"hook failed", "timer failed"}));
}

}  // namespace
}  // namespace tray::testing
