// The open-source device control on a caller-ID modem under Wine: the modem is played by
// modem_fixture.py on the Linux side of a pseudo-terminal pair linked as a COM port, which
// this test plugs, unplugs and makes answer.
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>

#include "activex/control_site.h"
#include "activex/message_window.h"
#include "common/utf16.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "opencid/win32/tests/device_support.h"
#include "opencid/win32/tests/fixture_client.h"
#include "tray/win32/tests/message_pump.h"

namespace opencid::test {
namespace {

using activex::ComPtr;
using activex::ControlSite;
using activex::EventArguments;
using monitor::win32::testing::Devctl;
using tray::testing::PumpFor;
using tray::testing::PumpUntil;

const wchar_t kIdentification[] = L"FIXTURE MODEM 56K";

// Today as a modem sends it (MMDD), and as the call list shows a day (dd.MM.yy).
std::string ModemDate() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[8];
  std::snprintf(text, sizeof text, "%02u%02u", now.wMonth, now.wDay);
  return text;
}
std::wstring ShownDate() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t text[16];
  std::swprintf(text, 16, L"%02u.%02u.%02u", now.wDay, now.wMonth, now.wYear % 100);
  return text;
}

// The control on the fixture's port, started, with the calls it raised.
struct StartedModem {
  explicit StartedModem(HWND host) : site(host, CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26}) {
    site.OnEvent(209, [this](const EventArguments& a) { calls.push_back(a); });
    site.ConnectEvents(DIID_ITevrin5Events);
    device = site.As<ITevrin5>(IID_ITevrin5);
    EXPECT_EQ(S_OK, device->Start());
  }
  std::wstring Model() { return Command(device.Get(), L"devicemodel"); }

  ControlSite site;
  ComPtr<ITevrin5> device;
  std::vector<EventArguments> calls;
};

class ModemDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    const char* port = std::getenv("OPENCID_MODEM_PORT");
    ASSERT_NE(nullptr, port) << "run through modem_fixture.py";
    port_ = common::FromUtf8(port);
    ASSERT_TRUE(Fixture("callerid vcid"));
    ASSERT_TRUE(Fixture("plug"));
    ASSERT_EQ(S_OK, library_.Install(true, (L"modem=" + port_).c_str()));
    host_ = std::make_unique<activex::MessageWindow>(L"ModemTestHost", WS_OVERLAPPEDWINDOW, nullptr,
                                                     RECT{0, 0, 320, 200}, nullptr);
  }
  void TearDown() override {
    host_.reset();
    library_.Install(false, L"");
    Fixture("unplug");
    CoFreeUnusedLibraries();
    OleUninitialize();
  }
  std::wstring Status() { return Devctl(L"status").output; }

  Library library_{OPENCID_PATH};
  std::wstring port_;
  std::unique_ptr<activex::MessageWindow> host_;
};

TEST_F(ModemDeviceTest, InitialisesWithOrWithoutTheFallbackCommandAndSaysWhyNotWhenBothFail) {
  for (const char* mode : {"vcid", "cid"}) {
    ASSERT_TRUE(Fixture(std::string("callerid ") + mode));
    StartedModem modem(host_->Handle());
    EXPECT_TRUE(PumpUntil([&] { return modem.Model() == kIdentification; }, 5000)) << mode;
    EXPECT_EQ(port_, Command(modem.device.Get(), L"serial"));
  }
  ASSERT_TRUE(Fixture("callerid none"));
  StartedModem modem(host_->Handle());
  const std::wstring reason = port_ + L" not connected: the modem answers ERROR to both AT+VCID=1 and AT#CID=1";
  EXPECT_TRUE(PumpUntil([&] { return Status().find(reason) != std::wstring::npos; }, 5000)) << common::ToUtf8(Status());
  EXPECT_EQ(L"", modem.Model());
}

TEST_F(ModemDeviceTest, ACallBetweenRingsIsOneCallThroughACutBlockAndAVanishedPort) {
  StartedModem modem(host_->Handle());
  ASSERT_TRUE(PumpUntil([&] { return modem.Model() == kIdentification; }, 5000));
  const std::string date = ModemDate();
  ASSERT_TRUE(Fixture("send RING||DATE = " + date + "|TIME = 0005|NMBR = 05321234567|NAME = ISIL CAGLAR||RING|"));
  ASSERT_TRUE(PumpUntil([&] { return !modem.calls.empty(); }, 3000));
  EXPECT_EQ((EventArguments{port_, L"1", L"05321234567", ShownDate() + L" 00:05", L"ISIL CAGLAR"}), modem.calls[0]);

  // The caller hangs up before the number: nothing; the next call's block comes whole.
  ASSERT_TRUE(Fixture("send RING||DATE = " + date + "|TIME = 0010|"));
  ASSERT_TRUE(Fixture("send RING||DATE = " + date + "|TIME = 0011|NMBR = 02120000002||RING|"));
  ASSERT_TRUE(PumpUntil([&] { return modem.calls.size() >= 2; }, 3000));
  EXPECT_EQ((EventArguments{port_, L"1", L"02120000002", ShownDate() + L" 00:11", L""}), modem.calls[1]);

  // The port vanishes in the middle of a line, and comes back.
  ASSERT_TRUE(Fixture("send RING||DATE = 0316|TIME = 0912|NMBR = 0532"));
  ASSERT_TRUE(Fixture("unplug"));
  ASSERT_TRUE(PumpUntil([&] { return modem.Model().empty(); }, 3000));
  EXPECT_NE(std::wstring::npos, Status().find(port_ + L" not connected: " + port_ + L": "));
  ASSERT_TRUE(Fixture("plug"));
  ASSERT_TRUE(PumpUntil([&] { return modem.Model() == kIdentification; }, 8000));
  ASSERT_TRUE(Fixture("send RING||DATE = 0316|TIME = 0913|NMBR = 05329876543|NAME = B||RING|"));
  ASSERT_TRUE(PumpUntil([&] { return modem.calls.size() >= 3; }, 3000));
  PumpFor(300);
  ASSERT_EQ(3u, modem.calls.size());
  EXPECT_EQ(L"05329876543", modem.calls[2][2]);
}

}  // namespace
}  // namespace opencid::test
