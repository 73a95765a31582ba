// The control site with the test control: creation as a hidden child, the default interface,
// events to handlers on the window's thread, failures kept from the control, clean tear-down,
// and the creation error of a class that is not registered.
#include "activex/control_site.h"

#include "activex/bstr.h"
#include "activex/class_factory.h"
#include "activex/message_window.h"
#include "activex/server_module.h"
#include "com_test.h"
#include "common/error.h"
#include "test_control.h"

namespace activex::test {
namespace {

const ClassEntry kTestClass{CLSID_TestControl,
                            [] { return static_cast<IUnknown*>(static_cast<IOleObject*>(TestControl::Create())); }};
ClassFactory factory(kTestClass);

class ControlSiteTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    // Registered with COM for this process only, so CoCreateInstance finds it without the registry.
    ASSERT_EQ(S_OK, CoRegisterClassObject(CLSID_TestControl, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                          &registration_));
    host_ = std::make_unique<MessageWindow>(L"ActiveXSiteHost", WS_OVERLAPPEDWINDOW, nullptr, RECT{0, 0, 300, 200},
                                            nullptr);
  }
  void TearDown() override {
    host_.reset();
    CoRevokeClassObject(registration_);
    EXPECT_EQ(0, LiveObjects());
    ComTest::TearDown();
  }
  void Say(ControlSite& site, const wchar_t* text, const wchar_t* more) {
    auto control = site.As<ITestControl>(IID_ITestControl);
    Bstr a(text), b(more);
    EXPECT_EQ(S_OK, control->Say(a.Get(), b.Get()));
  }

  DWORD registration_ = 0;
  std::unique_ptr<MessageWindow> host_;
};

TEST_F(ControlSiteTest, CreatesTheControlAsAHiddenChildOfTheWindow) {
  ControlSite site(host_->Handle(), CLSID_TestControl, RECT{0, 3, 26, 29});
  HWND window = site.Window();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(host_->Handle(), GetParent(window));
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
  RECT rect{};
  GetClientRect(window, &rect);
  EXPECT_EQ(26, rect.right);
  EXPECT_EQ(26, rect.bottom);
  EXPECT_EQ(1, LiveObjects());

  auto control = site.As<ITestControl>(IID_ITestControl);
  ASSERT_TRUE(control);
  Bstr caption(L"Çıkış");
  EXPECT_EQ(S_OK, control->put_Caption(caption.Get()));
  Bstr read;
  EXPECT_EQ(S_OK, control->get_Caption(read.Put()));
  EXPECT_EQ(L"Çıkış", read.Text());
}

TEST_F(ControlSiteTest, EventsReachTheirHandlersWithTheTextsOnTheCreatingThread) {
  ControlSite site(host_->Handle(), CLSID_TestControl, RECT{0, 0, 26, 26});
  std::vector<EventArguments> received;
  DWORD thread = 0;
  site.OnEvent(10, [&](const EventArguments& arguments) {
    received.push_back(arguments);
    thread = GetCurrentThreadId();
  });
  site.ConnectEvents();  // the control's default source
  Say(site, L"0532 123 45 67", L"Ağrı Dağı ÇĞİÖŞÜ çğıöşü");
  ASSERT_EQ(1u, received.size());
  EXPECT_EQ((EventArguments{L"0532 123 45 67", L"Ağrı Dağı ÇĞİÖŞÜ çğıöşü"}), received[0]);
  EXPECT_EQ(GetCurrentThreadId(), thread);
}

TEST_F(ControlSiteTest, AFailingHandlerGoesToTheFailureHandlerNotToTheControl) {
  std::vector<std::wstring> failures;
  ControlSite site(host_->Handle(), CLSID_TestControl, RECT{0, 0, 26, 26},
                   [&](const std::exception_ptr& failure) {
                     try {
                       std::rethrow_exception(failure);
                     } catch (const common::Error& error) {
                       failures.push_back(error.Message());
                     }
                   });
  site.OnEvent(10, [](const EventArguments& arguments) { throw common::ConvertError(arguments[0]); });
  site.ConnectEvents(DIID_ITestControlEvents);
  Say(site, L"x", L"");
  EXPECT_EQ(std::vector<std::wstring>{L"x"}, failures);
}

TEST_F(ControlSiteTest, TearDownDisconnectsClosesAndReleasesEverything) {
  {
    ControlSite site(host_->Handle(), CLSID_TestControl, RECT{0, 0, 26, 26});
    site.ConnectEvents(DIID_ITestControlEvents);
    EXPECT_EQ(1, LiveObjects());
  }
  EXPECT_EQ(0, LiveObjects());
  EXPECT_EQ(nullptr, FindWindowExW(host_->Handle(), nullptr, L"ActiveXTestControl", nullptr));
}

TEST_F(ControlSiteTest, AClassThatIsNotRegisteredRaisesTheCreationError) {
  const CLSID unknown{0x1d2e3f40, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
  try {
    ControlSite site(host_->Handle(), unknown, RECT{0, 0, 26, 26});
    ADD_FAILURE() << "created";
  } catch (const common::Error& error) {
    EXPECT_EQ(REGDB_E_CLASSNOTREG, error.SystemCode());
    EXPECT_FALSE(error.Message().empty());
  }
}

TEST_F(ControlSiteTest, AFailedCallRaisesTheMessageTheControlPosted) {
  ControlSite site(host_->Handle(), CLSID_TestControl, RECT{0, 0, 26, 26});
  auto control = site.As<ITestControl>(IID_ITestControl);
  Bstr message(L"Bağlantı yok");
  try {
    ThrowIfFailed(control->Fail(message.Get()), control.Get(), IID_ITestControl);
    ADD_FAILURE() << "no failure";
  } catch (const common::Error& error) {
    EXPECT_EQ(L"Bağlantı yok", error.Message());
    EXPECT_EQ(E_ACCESSDENIED, error.SystemCode());
  }
}

}  // namespace
}  // namespace activex::test
