// cidrelay.exe under Wine over the simulated device: a burst of calls reaches two
// open-source device controls once each, in order, with the device's texts, while a client
// that stops reading is dropped; a relay killed in a burst has logged every call it sent,
// and started again serves the same history; two hundred clients at once all take part; a
// device control that is a client of the relay itself is refused.
#include <ole2.h>

#include <gtest/gtest.h>

#include "activex/control_site.h"
#include "activex/message_window.h"
#include "common/utf16.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "open_source_device.h"
#include "opencid/win32/tests/device_support.h"
#include "relay/call_log_text.h"
#include "relay/win32/tests/relay_process.h"
#include "tray/win32/tests/message_pump.h"

namespace relay::win32::testing {
namespace {

using monitor::win32::testing::Devctl;
using tray::testing::PumpUntil;

class RelayEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  }
  void TearDown() override {
    opencid_.Install(false, L"");
    CoFreeUnusedLibraries();
    WSACleanup();
    OleUninitialize();
  }
  std::wstring LogOption() const { return L"--log-path \"" + folder_.Path() + L"\\cidcall.log\""; }
  std::string LogText() const { return ReadWholeFile(folder_.Path() + L"\\cidcall.log"); }

  TempFolder folder_;
  opencid::test::Library opencid_{OPENCID_PATH};
};

// The device's call as the console tool sends it, and as an open-source control raises it.
struct SentCall {
  std::wstring line, number, dateTime, name;
};

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::vector<SentCall> Burst(int count) {
  std::vector<SentCall> calls;
  for (int index = 0; index < count; ++index) {
    wchar_t time[32];
    swprintf(time, 32, L"%02d.12.26 %02d:%02d", 1 + index % 28, index / 60 % 24, index % 60);
    calls.push_back({index % 2 ? L"2" : L"1", L"05320" + std::to_wstring(1000000 + index), time,
                     L"ÇAĞRI " + std::to_wstring(index) + L" " + std::wstring(200, L'Ş')});
  }
  return calls;
}

std::string Requests(const std::vector<SentCall>& calls) {
  std::wstring requests;
  for (const SentCall& call : calls)
    requests += L"call " + call.line + L" " + call.number + L" " + Quoted(call.dateTime) + L" TR-1 " +
                Quoted(call.name) + L"\n";
  return common::ToUtf8(requests);
}

TEST_F(RelayEndToEndTest, ABurstReachesTwoClientsOnceInOrderWithTheDevicesTextsAndASilentClientIsDropped) {
  monitor::win32::testing::RegisteredDevice devsim;
  RelayProcess relay(L"--port 0 --history 5 " + LogOption());
  ASSERT_NE(0u, relay.Port()) << relay.Output();
  ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
  ASSERT_EQ(0, Devctl(L"plug KX-4 TR-1").exitCode);

  ASSERT_EQ(S_OK, opencid_.Install(true, (L"ncid=127.0.0.1:" + std::to_wstring(relay.Port())).c_str()));
  activex::MessageWindow host(L"RelayTestHost", WS_OVERLAPPEDWINDOW, nullptr, RECT{0, 0, 320, 200}, nullptr);
  std::vector<activex::EventArguments> received[2];
  std::vector<std::unique_ptr<activex::ControlSite>> clients;
  for (auto& calls : received) {
    clients.push_back(std::make_unique<activex::ControlSite>(host.Handle(), CLSID_OpenCallerIdDevice, RECT{0, 0, 26, 26}));
    clients.back()->OnEvent(209, [&calls](const activex::EventArguments& call) { calls.push_back(call); });
    clients.back()->ConnectEvents(DIID_ITevrin5Events);
    auto device = clients.back()->As<ITevrin5>(IID_ITevrin5);
    opencid::test::Command(device.Get(), L"+:~.-q");
    ASSERT_EQ(S_OK, device->Start());
    ASSERT_TRUE(PumpUntil([&] { return opencid::test::Command(device.Get(), L"devicemodel").starts_with(L"cidrelay 1.0"); },
                          10000));
  }
  NcidClient silent(relay.Port(), 4096);
  ASSERT_TRUE(silent.ReadUntil("300 ", 1, 5000));

  const std::vector<SentCall> burst = Burst(1000);
  ASSERT_EQ(0, Devctl(L"-", Requests(burst), 120000).exitCode);
  ASSERT_TRUE(PumpUntil([&] { return received[0].size() >= burst.size() && received[1].size() >= burst.size(); },
                        60000))
      << received[0].size() << " and " << received[1].size() << " of " << burst.size();
  for (const auto& calls : received) {
    ASSERT_EQ(calls.size(), burst.size());
    for (std::size_t index = 0; index < burst.size(); ++index) {
      ASSERT_EQ(calls[index].size(), 5u);
      EXPECT_EQ(calls[index][1], burst[index].line) << index;
      EXPECT_EQ(calls[index][2], burst[index].number) << index;
      EXPECT_EQ(calls[index][3], burst[index].dateTime) << index;
      EXPECT_EQ(calls[index][4], burst[index].name) << index;
    }
  }
  // Its queue filled while it read nothing: the relay closed it, with a part of the burst sent.
  EXPECT_TRUE(silent.ReadToEnd(10000));
  EXPECT_LT(silent.Lines("CID:").size(), burst.size());
  EXPECT_NE(std::string::npos, relay.Output().find("is gone."));
  EXPECT_EQ(ReadCallLog(LogText()).size(), burst.size());
  clients.clear();
}

TEST_F(RelayEndToEndTest, ARelayKilledInABurstHasLoggedEveryCallItSentAndStartedAgainServesTheSameHistory) {
  monitor::win32::testing::RegisteredDevice devsim;
  std::vector<std::string> sent;
  {
    RelayProcess relay(L"--port 0 --history 50 " + LogOption());
    ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
    NcidClient client(relay.Port());
    ASSERT_TRUE(client.ReadUntil("300 ", 1, 5000));
    // The console tool runs on while the relay is killed under it.
    const std::wstring requestsPath = folder_.Path() + L"\\requests.txt";
    const std::string requests = Requests(Burst(1000));
    HANDLE file = CreateFileW(requestsPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, requests.data(), static_cast<DWORD>(requests.size()), &written, nullptr);
    CloseHandle(file);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = CreateFileW(requestsPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    PROCESS_INFORMATION devctl{};
    std::wstring commandLine = L"\"" + monitor::win32::testing::BuiltPath(DEVCTL_PATH) + L"\" -";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &devctl));
    CloseHandle(startup.hStdInput);
    EXPECT_TRUE(client.ReadUntil("CID:", 100, 60000));
    relay.Kill();
    client.ReadToEnd(10000);
    WaitForSingleObject(devctl.hProcess, 60000);
    CloseHandle(devctl.hProcess);
    CloseHandle(devctl.hThread);
    sent = client.Lines("CID:");
  }
  ASSERT_GE(sent.size(), 100u);
  const std::vector<opencid::CallFields> logged = ReadCallLog(LogText());
  ASSERT_GE(logged.size(), sent.size());
  for (std::size_t index = 0; index < sent.size(); ++index)
    EXPECT_EQ(opencid::ParseNcidLine(sent[index]).call, logged[index]) << index;

  RelayProcess again(L"--port 0 --history 50 " + LogOption());
  NcidClient client(again.Port());
  ASSERT_TRUE(client.ReadUntil("300 ", 1, 10000));
  const std::vector<std::string> history = client.Lines("CIDLOG:");
  ASSERT_EQ(history.size(), 50u);
  for (std::size_t index = 0; index < history.size(); ++index)
    EXPECT_EQ(opencid::ParseNcidLine(history[index]).call, logged[logged.size() - 50 + index]) << index;
}

TEST_F(RelayEndToEndTest, TwoHundredClientsAtOnceEachGetTheStartUpAndTheNextCall) {
  monitor::win32::testing::RegisteredDevice devsim;
  RelayProcess relay(L"--port 0 --history 5 " + LogOption());
  ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
  ASSERT_EQ(0, Devctl(L"plug KX-4 TR-1").exitCode);
  std::vector<std::unique_ptr<NcidClient>> clients;
  for (int index = 0; index < 200; ++index) {
    clients.push_back(std::make_unique<NcidClient>(relay.Port()));
    ASSERT_TRUE(clients.back()->ReadUntil("300 ", 1, 5000)) << "client " << index << "\n" << relay.Output();
  }
  ASSERT_EQ(0, Devctl(L"call 3 05329876543 \"10.12.26 09:15\" TR-1 \"AYŞE\"").exitCode);
  for (std::size_t index = 0; index < clients.size(); ++index) {
    ASSERT_TRUE(clients[index]->ReadUntil("CID:", 1, 5000)) << "client " << index;
    EXPECT_EQ(opencid::ParseNcidLine(clients[index]->Lines("CID:").front()).call.number, "05329876543") << index;
  }
}

// A file where the log's folder should be: no call can be written until it is gone.
TEST_F(RelayEndToEndTest, ALogThatCannotBeWrittenStillLetsEveryCallThroughSaysSoOnceAndResumes) {
  monitor::win32::testing::RegisteredDevice devsim;
  const std::wstring blocker = folder_.Path() + L"\\blocked";
  CloseHandle(CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  RelayProcess relay(L"--port 0 --log-path \"" + blocker + L"\\cidcall.log\"");
  ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
  ASSERT_EQ(0, Devctl(L"plug KX-4 TR-1").exitCode);
  NcidClient client(relay.Port());
  ASSERT_TRUE(client.ReadUntil("300 ", 1, 5000));
  const auto call = [](int index) {
    return L"call 1 0532000000" + std::to_wstring(index) + L" \"10.12.26 10:0" + std::to_wstring(index) + L"\" TR-1 X";
  };
  ASSERT_EQ(0, Devctl(call(1)).exitCode);
  ASSERT_EQ(0, Devctl(call(2)).exitCode);
  EXPECT_TRUE(client.ReadUntil("CID:", 2, 5000));
  const std::string refused = "The call log cannot be written: ";
  ASSERT_TRUE(relay.WaitFor(refused)) << relay.Output();
  const std::string output = relay.Output();
  EXPECT_EQ(output.find(refused, output.find(refused) + 1), std::string::npos) << output;

  ASSERT_TRUE(DeleteFileW(blocker.c_str()));
  ASSERT_EQ(0, Devctl(call(3)).exitCode);
  EXPECT_TRUE(client.ReadUntil("CID:", 3, 5000));
  EXPECT_TRUE(relay.WaitFor("The call log is written again.")) << relay.Output();
  const std::vector<opencid::CallFields> logged = ReadCallLog(ReadWholeFile(blocker + L"\\cidcall.log"));
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged.front().number, "05320000003");
}

TEST_F(RelayEndToEndTest, ADeviceControlThatIsAClientOfTheRelayIsRefused) {
  const unsigned port = FreePort();
  ASSERT_EQ(S_OK, opencid_.Install(true, (L"ncid=127.0.0.1:" + std::to_wstring(port)).c_str()));
  wchar_t openClass[64];
  StringFromGUID2(CLSID_OpenCallerIdDevice, openClass, 64);
  RelayProcess relay(L"--port " + std::to_wstring(port) + L" --device-class " + openClass + L" " + LogOption());
  ASSERT_EQ(port, relay.Port()) << relay.Output();
  EXPECT_TRUE(relay.WaitFor("Refused: the device control is a client of this relay (a loop): cidrelay 1.0 #"))
      << relay.Output();
  NcidClient client(port);
  EXPECT_TRUE(client.ReadUntil("300 ", 1, 5000));  // and it goes on serving
}

}  // namespace
}  // namespace relay::win32::testing
