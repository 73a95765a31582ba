// The open-source device control under Wine against the fixture server on loopback: alone
// through the control site, with a server that falls silent, under Test.exe's window and
// under tevrin4's control, registered in the device control's place; and its registration and
// source settings, which never take another file's class.
#include <olectl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "activex/control_site.h"
#include "activex/message_window.h"
#include "activex/registry_table.h"
#include "common/error.h"
#include "common/utf16.h"
#include "device/win32/registration.h"
#include "legacy/kallora_plus_interface.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "open_source_device.h"
#include "opencid/win32/tests/device_support.h"
#include "opencid/win32/tests/fixture_client.h"
#include "tray/win32/tests/message_pump.h"

namespace opencid::test {
namespace {

using activex::ComPtr;
using activex::ControlSite;
using activex::EventArguments;
using tray::testing::PumpFor;
using tray::testing::PumpUntil;

std::wstring ServerOf(const CLSID& clsid) {
  return activex::ReadRegistryText(HKEY_CLASSES_ROOT, activex::ClassKey(clsid) + L"\\InprocServer32");
}

class SourceDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    ASSERT_NE(0u, FixturePort("OPENCID_NCID_PORT")) << "run through ncid_fixture.py";
    ASSERT_TRUE(Fixture("start"));
    source_ = L"ncid=127.0.0.1:" + std::to_wstring(FixturePort("OPENCID_NCID_PORT"));
    ASSERT_EQ(S_OK, library_.Install(true, source_.c_str()));
    host_ = std::make_unique<activex::MessageWindow>(L"SourceTestHost", WS_OVERLAPPEDWINDOW, nullptr,
                                                     RECT{0, 0, 320, 200}, nullptr);
  }
  void TearDown() override {
    host_.reset();
    library_.Install(false, L"");
    CoFreeUnusedLibraries();
    OleUninitialize();
  }
  // Takes the device control's class from the simulated device for the test, and gives it back.
  void TakeDeviceClass() {
    devsimHadIt_ = ServerOf(monitor::win32::CLSID_Tevrin5).find(L"devsim.dll") != std::wstring::npos;
    EXPECT_EQ(device::kClassHeldByAnother, devsimHadIt_ ? library_.Install(true, L"as-device") : device::kClassHeldByAnother);
    devsim_.Call("DllUnregisterServer");
    ASSERT_EQ(S_OK, library_.Install(true, (source_ + L",as-device").c_str()));
    ASSERT_NE(std::wstring::npos, ServerOf(monitor::win32::CLSID_Tevrin5).find(L"opencid.dll"));
  }
  void GiveDeviceClassBack() {
    library_.Install(false, L"");
    EXPECT_EQ(L"", ServerOf(monitor::win32::CLSID_Tevrin5));
    if (devsimHadIt_) devsim_.Install(true, L"force");
  }

  Library library_{OPENCID_PATH};
  Library devsim_{DEVSIM_PATH};
  bool devsimHadIt_ = false;
  std::wstring source_;
  std::unique_ptr<activex::MessageWindow> host_;
};

TEST_F(SourceDeviceTest, CallsArriveOnceAcrossALostServerAndTheCommandsTellTheState) {
  ASSERT_TRUE(Fixture("call POTS 02120000001 HISTORY"));  // in the log before the control: history
  ControlSite site(host_->Handle(), CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26});
  std::vector<EventArguments> calls, levels;
  std::vector<DWORD> threads;
  site.OnEvent(209, [&](const EventArguments& a) { calls.push_back(a); threads.push_back(GetCurrentThreadId()); });
  site.OnEvent(210, [&](const EventArguments& a) { levels.push_back(a); });
  site.ConnectEvents(DIID_ITevrin5Events);
  ComPtr<ITevrin5> device = site.As<ITevrin5>(IID_ITevrin5);
  const std::wstring port = std::to_wstring(FixturePort("OPENCID_NCID_PORT"));

  EXPECT_EQ(L"", Command(device.Get(), L"+:~.-q"));
  const DWORD before = GetTickCount();
  ASSERT_EQ(S_OK, device->Start());
  EXPECT_LT(GetTickCount() - before, 200u);  // it does not wait for the connection
  ASSERT_TRUE(PumpUntil([&] { return Command(device.Get(), L"devicemodel") == L"fixture 1.0"; }, 5000));
  EXPECT_EQ(L"127.0.0.1:" + port, Command(device.Get(), L"serial"));
  ASSERT_EQ(1u, levels.size());
  EXPECT_EQ(EventArguments(8, L"0"), levels[0]);

  ASSERT_TRUE(Fixture("call VOIP 05321234567 Işıl Çağlar"));
  ASSERT_TRUE(Fixture("send CIDINFO: *LINE*VOIP*RING*-1*TIME*09:06:00*"));
  ASSERT_TRUE(Fixture("call POTS PRIVATE"));
  ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 2; }, 3000));
  EXPECT_EQ(L"ncid:127.0.0.1:" + port, calls[0][0]);
  EXPECT_EQ(L"1", calls[0][1]);
  EXPECT_EQ(L"05321234567", calls[0][2]);
  EXPECT_EQ(14u, calls[0][3].size());  // dd.MM.yy HH:mm
  EXPECT_EQ(L".", calls[0][3].substr(2, 1));
  EXPECT_EQ(L"Işıl Çağlar", calls[0][4]);
  EXPECT_EQ(L"2", calls[1][1]);
  EXPECT_EQ(L"PRIVATE", calls[1][2]);
  for (DWORD thread : threads) EXPECT_EQ(GetCurrentThreadId(), thread);

  ASSERT_TRUE(Fixture("stop"));
  ASSERT_TRUE(PumpUntil([&] { return Command(device.Get(), L"devicemodel").empty(); }, 3000));
  monitor::win32::testing::ToolRun status = monitor::win32::testing::Devctl(L"status");
  EXPECT_NE(std::wstring::npos, status.output.find(L"ncid:127.0.0.1:" + port + L" not connected: "))
      << common::ToUtf8(status.output);
  EXPECT_EQ(0u, Command(device.Get(), L"reason").find(L"ncid:127.0.0.1:" + port + L" not connected: "));
  ASSERT_TRUE(Fixture("call POTS 05329999999 MEANWHILE"));
  ASSERT_TRUE(Fixture("start"));
  ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 3; }, 8000));
  PumpFor(500);
  ASSERT_EQ(3u, calls.size());
  EXPECT_EQ(L"05329999999", calls[2][2]);
  EXPECT_EQ(L"2", calls[2][1]);
  EXPECT_EQ(L"fixture 1.0", Command(device.Get(), L"devicemodel"));
  status = monitor::win32::testing::Devctl(L"status");
  EXPECT_NE(std::wstring::npos, status.output.find(L"connected, fixture 1.0")) << common::ToUtf8(status.output);
  EXPECT_EQ(L"", Command(device.Get(), L"reason"));
  EXPECT_EQ(L"", Command(device.Get(), L"test_stop"));

  // Stopped from a handler: the rest of what came in with the call is not raised, not even a
  // greeting that would mark it connected, and nothing after it.
  site.OnEvent(209, [&](const EventArguments& a) {
    calls.push_back(a);
    device->Stop();
  });
  ASSERT_TRUE(Fixture("send CID: *LINE*POTS*NMBR*111*|CID: *LINE*POTS*NMBR*222*|200 NCID Server: again"));
  ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 4; }, 3000));
  ASSERT_TRUE(Fixture("call POTS 333"));
  PumpFor(500);
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ(L"111", calls[3][2]);
  EXPECT_EQ(L"", Command(device.Get(), L"devicemodel"));

  // The program started again: each line label keeps its number.
  ControlSite restarted(host_->Handle(), CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26});
  std::vector<EventArguments> later;
  restarted.OnEvent(209, [&](const EventArguments& a) { later.push_back(a); });
  restarted.ConnectEvents(DIID_ITevrin5Events);
  ComPtr<ITevrin5> again = restarted.As<ITevrin5>(IID_ITevrin5);
  ASSERT_EQ(S_OK, again->Start());
  ASSERT_TRUE(PumpUntil([&] { return Command(again.Get(), L"devicemodel") == L"fixture 1.0"; }, 5000));
  ASSERT_TRUE(Fixture("call POTS 05324440000"));
  ASSERT_TRUE(PumpUntil([&] { return !later.empty(); }, 3000));
  EXPECT_EQ(L"2", later[0][1]);
}

TEST_F(SourceDeviceTest, AServerThatFallsSilentIsNoticedAndTheCallsMadeMeanwhileArriveOnce) {
  ASSERT_EQ(S_OK, library_.Install(true, (source_ + L",keepalive=2").c_str()));
  ControlSite site(host_->Handle(), CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26});
  std::vector<std::wstring> numbers;
  site.OnEvent(209, [&](const EventArguments& a) { numbers.push_back(a[2]); });
  site.ConnectEvents(DIID_ITevrin5Events);
  ComPtr<ITevrin5> device = site.As<ITevrin5>(IID_ITevrin5);
  ASSERT_EQ(S_OK, device->Start());
  ASSERT_TRUE(PumpUntil([&] { return Command(device.Get(), L"devicemodel") == L"fixture 1.0"; }, 5000));
  PumpFor(3000);  // quiet, yet answering: still connected
  EXPECT_EQ(L"fixture 1.0", Command(device.Get(), L"devicemodel"));

  ASSERT_TRUE(Fixture("silent"));
  const DWORD silent = GetTickCount();
  ASSERT_TRUE(Fixture("call POTS 05320000001 SESSIZKEN"));
  ASSERT_TRUE(PumpUntil([&] { return Command(device.Get(), L"devicemodel").empty(); }, 60000));
  const DWORD noticedMs = GetTickCount() - silent;
  EXPECT_LT(noticedMs, 5000u);  // asked after 2 s of silence, dead 1 s later
  std::printf("a silent server noticed after %lu ms\n", static_cast<unsigned long>(noticedMs));
  EXPECT_NE(std::wstring::npos,
            monitor::win32::testing::Devctl(L"status").output.find(L"not connected: the server does not answer"));
  ASSERT_TRUE(Fixture("call POTS 05320000002"));
  PumpFor(4000);  // reconnections that meet the same silence
  ASSERT_TRUE(Fixture("speak"));
  ASSERT_TRUE(PumpUntil([&] { return numbers.size() >= 2; }, 20000));
  PumpFor(500);
  EXPECT_EQ((std::vector<std::wstring>{L"05320000001", L"05320000002"}), numbers);
  EXPECT_EQ(L"fixture 1.0", Command(device.Get(), L"devicemodel"));
}

TEST_F(SourceDeviceTest, RegisteredInTheDeviceControlsPlaceItServesTestExeAndTevrin4) {
  TakeDeviceClass();
  {
    using namespace monitor::win32::testing;
    Monitor monitor;
    ASSERT_TRUE(PumpUntil([&] { return monitor.Text(L"Label9") == L"Bağlantı tamam  Hemen arayın"; }, 5000));
    EXPECT_EQ(L"Cihaz modeli: fixture 1.0", monitor.Text(L"Label24"));
    ASSERT_TRUE(Fixture("call POTS 05321112233 ŞİŞLİ"));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Text(L"Label5") == L"1"; }, 3000));
    EXPECT_EQ(L"05321112233", monitor.Column(2).back());
    EXPECT_EQ(L"ŞİŞLİ", monitor.Column(5).back());
    ASSERT_FALSE(monitor.parts.balloonTitles.empty());
    EXPECT_EQ(L"Çağrı: 1", monitor.parts.balloonTitles.back());

    ASSERT_TRUE(Fixture("stop"));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Text(L"Label9") == L"Cihaz bağlantısı sağlanamadı"; }, 3000));
    ASSERT_TRUE(Fixture("call POTS 05324445566"));
    ASSERT_TRUE(Fixture("start"));
    ASSERT_TRUE(PumpUntil([&] { return monitor.Text(L"Label5") == L"1"; }, 8000));  // counted anew after the loss
    PumpFor(1000);
    EXPECT_EQ(L"1", monitor.Text(L"Label5"));
    EXPECT_EQ(L"05324445566", monitor.Column(2).back());
  }
  {
    Library tevrin4(TEVRIN4_PATH);
    ASSERT_EQ(S_OK, tevrin4.Call("DllRegisterServer"));
    ControlSite kallora(host_->Handle(), legacy::CLSID_KalloraPlus, RECT{0, 0, 100, 50});
    std::vector<EventArguments> calls;
    kallora.OnEvent(202, [&](const EventArguments& a) { calls.push_back(a); });
    kallora.ConnectEvents(legacy::DIID_IKalloraPlusEvents);
    ComPtr<IDispatch> control = kallora.As<IDispatch>(IID_IDispatch);
    DISPPARAMS none{};
    ASSERT_EQ(S_OK, control->Invoke(203, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));  // Start
    PumpFor(1500);
    ASSERT_TRUE(Fixture("call VOIP 02125556677"));
    ASSERT_TRUE(PumpUntil([&] { return !calls.empty(); }, 3000));
    EXPECT_EQ(L"1", calls[0][0]);
    EXPECT_EQ(L"02125556677", calls[0][1]);
    EXPECT_EQ(14u, calls[0][2].size());
  }
  GiveDeviceClassBack();
}

TEST_F(SourceDeviceTest, AUsersOwnSourceOverridesTheMachinesAndStatusSaysWhichIsInForce) {
  const std::wstring userKey = L"Software\\OpenCallerId";
  auto controlSerial = [&] {
    ControlSite site(host_->Handle(), CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26});
    const std::wstring serial = Command(site.As<ITevrin5>(IID_ITevrin5).Get(), L"serial");
    std::wstring status = monitor::win32::testing::Devctl(L"status").output;  // "device in process N: ..."
    status = status.substr(0, status.find_first_of(L"\r\n"));
    return serial + L" | " + status.substr(std::min(status.size(), status.find(L": ") + 2));
  };
  ASSERT_EQ(S_OK, library_.Install(true, L"ncid=shop-server:4000"));
  EXPECT_EQ(L"", activex::ReadRegistryText(HKEY_CURRENT_USER, userKey, L"Source"));
  EXPECT_EQ(L"shop-server:4000 | ncid:shop-server:4000 not connected: not started (machine-wide source)",
            controlSerial());

  ASSERT_EQ(S_OK, library_.Install(true, L"modem=COM7,per-user"));
  EXPECT_EQ(L"modem=COM7", activex::ReadRegistryText(HKEY_CURRENT_USER, userKey, L"Source"));
  EXPECT_EQ(L"COM7 | COM7 not connected: not started (per-user source)", controlSerial());
  ASSERT_EQ(S_OK, library_.Install(false, L"per-user"));
  EXPECT_EQ(L"shop-server:4000", controlSerial().substr(0, 16));

  ASSERT_EQ(S_OK, library_.Install(true, L"modem=COM7,per-user"));
  ASSERT_EQ(S_OK, library_.Install(false, L""));  // what regsvr32 /u /n /i:"" does: both go
  EXPECT_EQ(L"", activex::ReadRegistryText(HKEY_CURRENT_USER, userKey, L"Source"));
  ASSERT_EQ(S_OK, library_.Install(true, L""));
  EXPECT_EQ(L"127.0.0.1:3333 | ncid:127.0.0.1:3333 not connected: not started (default source)", controlSerial());
}

TEST_F(SourceDeviceTest, ItsRegistrationTakesNoOtherFilesClassAndRemovesOnlyItsOwn) {
  const std::wstring otherFile = L"C:\\Program Files\\Real\\RealDevice.ocx";
  const std::wstring deviceKey = activex::ClassKey(monitor::win32::CLSID_Tevrin5);
  const std::wstring previous = ServerOf(monitor::win32::CLSID_Tevrin5);
  activex::WriteRegistryEntries(HKEY_CLASSES_ROOT, std::vector<activex::RegistryEntry>{
                                                       {deviceKey, L"", L"The real one"},
                                                       {deviceKey + L"\\InprocServer32", L"", otherFile}});
  library_.Install(false, L"");
  EXPECT_EQ(L"", ServerOf(CLSID_OpenCallerIdDevice));
  EXPECT_EQ(device::kClassHeldByAnother, library_.Install(true, L"ncid=example.net:4000,as-device"));
  EXPECT_EQ(L"", ServerOf(CLSID_OpenCallerIdDevice));  // nothing written
  EXPECT_EQ(otherFile, ServerOf(monitor::win32::CLSID_Tevrin5));
  EXPECT_EQ(S_OK, library_.Call("DllUnregisterServer"));
  EXPECT_EQ(otherFile, ServerOf(monitor::win32::CLSID_Tevrin5));
  EXPECT_EQ(E_INVALIDARG, library_.Install(true, L"ncid=host:99999"));  // a bad source: refused, nothing written
  EXPECT_EQ(L"", ServerOf(CLSID_OpenCallerIdDevice));
  if (previous.empty()) activex::RemoveRegistryEntries(HKEY_CLASSES_ROOT, std::vector<activex::RegistryEntry>{
                                                                             {deviceKey, L"", L""},
                                                                             {deviceKey + L"\\InprocServer32", L"", L""}});
  else devsim_.Install(true, L"force");
}

}  // namespace
}  // namespace opencid::test
