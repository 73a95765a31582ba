// cidrelay.exe forwarding to an upstream server (the fixture, run around this test): every
// call arrives there once, in order, though the server is taken down (a call taken but its
// report lost with the link) and brought back in a burst, the relay is restarted while it
// is down, and the log rotates meanwhile.
#include <ole2.h>

#include <gtest/gtest.h>

#include <sstream>

#include "monitor/win32/tests/end_to_end_support.h"
#include "relay/win32/tests/relay_process.h"
#include "tray/win32/tests/message_pump.h"

namespace relay::win32::testing {
namespace {

using monitor::win32::testing::Devctl;

unsigned EnvironmentPort(const char* name) {
  const char* value = std::getenv(name);
  return value ? static_cast<unsigned>(std::atoi(value)) : 0u;
}

// One command to the fixture's control port; its answer.
std::string Upstream(const std::string& command) {
  SOCKET control = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(EnvironmentPort("RELAY_UPSTREAM_CONTROL_PORT")));
  std::string answer;
  if (connect(control, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string line = command + "\n";
    send(control, line.data(), static_cast<int>(line.size()), 0);
    char buffer[65536];
    for (int got; (got = recv(control, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(got));
  }
  closesocket(control);
  while (!answer.empty() && answer.back() == '\n') answer.pop_back();
  return answer;
}

std::vector<std::string> UpstreamCalls() {
  std::istringstream words(Upstream("calls"));
  std::vector<std::string> numbers;
  for (std::string number; words >> number;) numbers.push_back(number);
  return numbers;
}

std::string Calls(int from, int count) {
  std::string requests;
  for (int index = from; index < from + count; ++index)
    requests += "call 1 0532" + std::to_string(1000000 + index) + "\n";
  return requests;
}

TEST(RelayForwardingTest, EveryCallReachesTheUpstreamOnceInOrderAcrossItsAbsenceAndARestart) {
  ASSERT_NE(0u, EnvironmentPort("RELAY_UPSTREAM_PORT")) << "run through upstream_fixture.py";
  ASSERT_EQ(S_OK, OleInitialize(nullptr));
  WSADATA data;
  ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
  {
    monitor::win32::testing::RegisteredDevice devsim;
    TempFolder folder;
    // 194 of the test's lines to a file: the log rotates once, while the server is away.
    const std::wstring options = L"--port 0 --log-limit 13800 --log-path \"" + folder.Path() +
                                 L"\\cidcall.log\" --upstream 127.0.0.1:" +
                                 std::to_wstring(EnvironmentPort("RELAY_UPSTREAM_PORT"));
    std::vector<std::string> expected;
    for (int index = 0; index < 300; ++index) expected.push_back("0532" + std::to_string(1000000 + index));
    {
      RelayProcess relay(options);
      ASSERT_TRUE(relay.WaitFor("Forwarding to 127.0.0.1")) << relay.Output();
      ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
      ASSERT_EQ(0, Devctl(L"-", Calls(0, 100), 60000).exitCode);
      Upstream("stop");
      ASSERT_EQ(0, Devctl(L"-", Calls(100, 100), 60000).exitCode);
      EXPECT_TRUE(Eventually([&] { return relay.Output().find("interrupted") != std::string::npos; }, 10000));
    }
    RelayProcess relay(options);
    ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
    Upstream("start");
    ASSERT_EQ(0, Devctl(L"-", Calls(200, 100), 60000).exitCode);
    EXPECT_TRUE(Eventually([&] { return UpstreamCalls().size() >= expected.size(); }, 90000))
        << relay.Output();
    EXPECT_EQ(UpstreamCalls(), expected);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder.Path() + L"\\cidcall.log.1").c_str()));
  }
  WSACleanup();
  OleUninitialize();
}

}  // namespace
}  // namespace relay::win32::testing
