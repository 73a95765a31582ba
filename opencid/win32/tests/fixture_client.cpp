#include "opencid/win32/tests/fixture_client.h"

#include <winsock2.h>

#include <cstdlib>

namespace opencid::test {

unsigned FixturePort(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : 0;
}

bool Fixture(const std::string& command) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  SOCKET link = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(FixturePort("OPENCID_CONTROL_PORT")));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool done = false;
  if (connect(link, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string line = command + "\n";
    char reply[16] = {};
    done = send(link, line.data(), static_cast<int>(line.size()), 0) > 0 && recv(link, reply, 15, 0) >= 2 &&
           std::string(reply).starts_with("ok");
  }
  closesocket(link);
  WSACleanup();
  return done;
}

}  // namespace opencid::test
