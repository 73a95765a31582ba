// The relay's timing and memory rows of the benchmark table. One call, from the device's
// event handed to the relay to its line written to 100 connected clients' sockets (the call
// log's durable append included), against a plain loop that writes the same line to 100
// connected sockets; and the memory in use after 100,000 calls against after 1,000, with
// ten clients connected. The log goes in LOG-FOLDER (default: the temporary folder): each
// call is flushed to the disk, which on a disk costs a disk's write per call, and on a
// memory file system (a tmpfs under Wine) costs what the relay's own work costs.
//   relay_timing.exe [CALLS] [LOG-FOLDER]
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "common/bench/bench_row.h"
#include "opencid/ncid_server_lines.h"
#include "relay/call_fields.h"
#include "relay/call_log.h"
#include "relay/call_relay.h"
#include "relay/win32/file_log_store.h"
#include "relay/win32/tcp_server.h"

namespace {

constexpr int kClients = 100;
constexpr int kLongRunClients = 10;  // so that 100,000 calls take minutes, not hours, under Wine
constexpr int kTimedCalls = 200;
constexpr int kWarmup = 1000;
constexpr long long kAllowedGrowth = 64 * 1024;

// Bytes in busy blocks of every heap of the process (Wine leaves the private byte count at 0).
long long HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 8);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  long long used = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(heap);
  }
  return used;
}

SOCKET ConnectTo(unsigned port) {
  SOCKET link = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  connect(link, reinterpret_cast<sockaddr*>(&address), sizeof address);
  return link;
}

// Reads and throws away whatever arrives on the sockets until stopped.
class Drain {
 public:
  explicit Drain(std::vector<SOCKET> sockets) : sockets_(std::move(sockets)), thread_([this] { Run(); }) {}
  ~Drain() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Run() {
    std::vector<WSAPOLLFD> polled;
    for (SOCKET socket : sockets_) polled.push_back({socket, POLLRDNORM, 0});
    char buffer[65536];
    while (!stop_) {
      if (WSAPoll(polled.data(), static_cast<ULONG>(polled.size()), 20) <= 0) continue;
      for (auto& entry : polled)
        if (entry.revents & POLLRDNORM) recv(entry.fd, buffer, sizeof buffer, 0);
    }
  }
  std::vector<SOCKET> sockets_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// 100 connected pairs of sockets made directly, the baseline's.
std::vector<SOCKET> PlainPairs(std::vector<SOCKET>& receivers) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, SOMAXCONN);
  int length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::vector<SOCKET> senders;
  for (int client = 0; client < kClients; ++client) {
    receivers.push_back(ConnectTo(ntohs(address.sin_port)));
    senders.push_back(accept(listener, nullptr, nullptr));
  }
  closesocket(listener);
  return senders;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int calls = argc > 1 ? std::max(kWarmup, _wtoi(argv[1])) : 100000;
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  wchar_t temporary[MAX_PATH];
  GetTempPathW(MAX_PATH, temporary);
  std::wstring folder = argc > 2 && *argv[2] ? argv[2] : temporary;
  if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  const std::wstring logPath = folder + L"relay-timing-" + std::to_wstring(GetCurrentProcessId()) + L".log";

  relay::win32::FileLogStore store(logPath);
  relay::CallLog log(store, relay::kDefaultLogLimit, 100, [](const std::wstring&) {});
  log.Open(0);
  relay::CallRelay relay(log, "cidrelay 1.0");
  relay::win32::TcpServer server(relay, 0, relay::AllowedClients("local"), [](const std::wstring&) {});
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread serving([&] { server.Run(stop); });
  std::vector<SOCKET> clients;
  for (int client = 0; client < kClients; ++client) clients.push_back(ConnectTo(server.Port()));
  while (server.ClientCount() < kClients) Sleep(10);

  const device::CallerId call{L"TR-1", L"2", L"05321234567", L"10.12.26 09:05", L"AYŞE YILMAZ"};
  const opencid::LocalTime now{2026, 12, 10, 9, 5};

  std::vector<double> relayed, plain;
  {
    Drain drain(clients);
    std::vector<SOCKET> receivers;
    const std::vector<SOCKET> senders = PlainPairs(receivers);
    Drain receiversDrain(receivers);
    const std::string line = opencid::CallLine("CID", relay::FieldsOfDeviceCall(call, now)) + "\r\n";
    // Interleaved, so that the machine's changes of speed fall on both alike.
    for (int round = 0; round < kTimedCalls; ++round) {
      double start = common::bench::Microseconds();
      server.Call(relay::FieldsOfDeviceCall(call, now));
      relayed.push_back(common::bench::Microseconds() - start);
      start = common::bench::Microseconds();
      for (SOCKET socket : senders) send(socket, line.data(), static_cast<int>(line.size()), 0);
      plain.push_back(common::bench::Microseconds() - start);
    }
    for (SOCKET socket : senders) closesocket(socket);
    for (SOCKET socket : receivers) closesocket(socket);
  }
  {
    for (int client = kLongRunClients; client < kClients; ++client) closesocket(clients[client]);
    clients.resize(kLongRunClients);
    while (server.ClientCount() > kLongRunClients) Sleep(10);
    Drain drain(clients);
    common::bench::PrintRatio("relay: one call to 100 clients' sockets, call log flushed", common::bench::Median(relayed),
                              "plain writes", common::bench::Median(plain), "us", 1.5, "median of 200");

    for (int done = kTimedCalls; done < kWarmup; ++done) server.Call(relay::FieldsOfDeviceCall(call, now));
    Sleep(300);
    const long long early = HeapBytesInUse();
    for (int done = kWarmup; done < calls; ++done) server.Call(relay::FieldsOfDeviceCall(call, now));
    Sleep(300);
    const long long late = HeapBytesInUse();
    const long long growth = late - early;
    common::bench::Print({common::bench::Format("relay: memory growth, 1,000 to %d calls, %d clients", calls, kLongRunClients),
                          common::bench::Format("%lld B", growth), common::bench::Format("%lld B at 1,000", early), "-",
                          "<= 65536 B", growth <= kAllowedGrowth});
  }
  for (SOCKET socket : clients) closesocket(socket);
  SetEvent(stop);
  serving.join();
  CloseHandle(stop);
  DeleteFileW(logPath.c_str());
  DeleteFileW(relay::win32::OlderLogPath(logPath).c_str());
  WSACleanup();
  return 0;
}
