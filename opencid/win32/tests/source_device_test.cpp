// The open-source device control under Wine against the fixture server on loopback: alone
// through the control site, under Test.exe's window and under tevrin4's control, registered
// in the device control's place; and its registration, which never takes another file's.
#include <olectl.h>
#include <ole2.h>

#include <gtest/gtest.h>

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
