// KalloraPlus hosted in a window through a control site, as a form-based host would: in-place
// activation, events to C++ handlers, and the focus moving between two controls.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "activex/control_site.h"
#include "activex/message_window.h"
#include "legacy/dispids.h"
#include "legacy/tests/com_host.h"
#include "legacy/tests/modal_window_watch.h"
#include "legacy/tests/wine_paths.h"

namespace {

using Texts = std::vector<std::wstring>;
namespace dispid = legacy::dispid;

// The events one hosted control delivered, in order.
struct Received {
  std::vector<std::pair<DISPID, Texts>> events;
  std::size_t Count(DISPID id) const {
    std::size_t n = 0;
    for (const auto& event : events) n += event.first == id;
    return n;
  }
};

std::unique_ptr<activex::ControlSite> Host(HWND window, const RECT& place, Received& received) {
  auto site = std::make_unique<activex::ControlSite>(window, legacy::CLSID_KalloraPlus, place);
  for (DISPID id : {dispid::kOnActivate, dispid::kOnCreate, dispid::kOnDestroy, dispid::kOnDeactivate,
                    dispid::kOnCallerID, dispid::kOnSignalA, dispid::kOnSignalD})
    site->OnEvent(id, [&received, id](const activex::EventArguments& a) { received.events.push_back({id, a}); });
  site->ConnectEvents(legacy::DIID_IKalloraPlusEvents);
  return site;
}

class SiteHostTest : public test::RegisteredServersTest {
 protected:
  void SetUp() override {
    window_ = std::make_unique<activex::MessageWindow>(L"KalloraPlusTestHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                       nullptr, RECT{50, 50, 450, 350}, nullptr);
  }

  std::unique_ptr<activex::MessageWindow> window_;
};

TEST_F(SiteHostTest, AHostedControlRaisesItsEventsToTheHost) {
  Received received;
  auto site = Host(window_->Handle(), RECT{10, 10, 60, 60}, received);
  EXPECT_EQ(received.Count(dispid::kOnCreate), 1u);
  HWND control = site->Window();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control), window_->Handle());

  auto kallora = site->As<legacy::IKalloraPlus>(legacy::IID_IKalloraPlus);
  ASSERT_TRUE(kallora);
  ASSERT_EQ(kallora->Start(), S_OK);
  ASSERT_EQ(test::Devctl(L"levels 1 2 3 4 5 6 7 8").exitCode, 0u);
  const Texts sent{L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"};
  EXPECT_TRUE(test::PumpUntil(
      [&] {
        for (const auto& event : received.events)
          if (event.first == dispid::kOnSignalA && event.second == sent) return true;
        return false;
      },
      1000));
  ASSERT_EQ(test::Devctl(L"call 2 02121234567 \"08.12.2026 11:00\"").exitCode, 0u);
  EXPECT_TRUE(test::PumpUntil([&] { return received.Count(dispid::kOnCallerID) == 1; }, 1000));
}

TEST_F(SiteHostTest, TheFocusMovingBetweenTwoControlsActivatesAndDeactivates) {
  Received first, second;
  auto one = Host(window_->Handle(), RECT{10, 10, 60, 60}, first);
  auto two = Host(window_->Handle(), RECT{100, 10, 150, 60}, second);
  ShowWindow(one->Window(), SW_SHOW);
  ShowWindow(two->Window(), SW_SHOW);
  SetForegroundWindow(window_->Handle());

  SetFocus(one->Window());
  test::PumpFor(50);
  EXPECT_EQ(first.Count(dispid::kOnActivate), 1u);
  SetFocus(two->Window());
  test::PumpFor(50);
  EXPECT_EQ(first.Count(dispid::kOnDeactivate), 1u);
  EXPECT_EQ(second.Count(dispid::kOnActivate), 1u);
  SetFocus(window_->Handle());  // the host's own window is none of the library's forms
  SetFocus(two->Window());
  test::PumpFor(50);
  EXPECT_EQ(second.Count(dispid::kOnActivate), 1u) << "the same form again: nothing new";
}

// The About box is modal to the host: owned by its top-level window, which takes no input
// while the box is up.
TEST_F(SiteHostTest, TheAboutBoxIsModalToTheHostsWindow) {
  Received received;
  auto site = Host(window_->Handle(), RECT{10, 10, 60, 60}, received);
  auto kallora = site->As<legacy::IKalloraPlus>(legacy::IID_IKalloraPlus);
  ASSERT_TRUE(kallora);
  HWND owner = nullptr;
  BOOL hostEnabled = TRUE;
  {
    test::ModalWindowWatch watch(
        L"TKalloraXAbout",
        [&](HWND about) {
          owner = GetWindow(about, GW_OWNER);
          hostEnabled = IsWindowEnabled(window_->Handle());
        },
        [](HWND about) { PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(kallora->AboutBox(), S_OK);
    EXPECT_TRUE(watch.Found());
  }
  EXPECT_EQ(owner, window_->Handle());
  EXPECT_FALSE(hostEnabled);
  EXPECT_TRUE(IsWindowEnabled(window_->Handle()));
}

}  // namespace
