// Test.exe on a second desk, unchanged: the open-source control registered in the device
// control's place, pointed at the relay, shows every call of a burst the relay's device raised.
// The relay and the desk need different controls in that place, so each runs in a Wine prefix
// of its own (second_desk.py starts both); they meet over loopback TCP and a shared folder.
// RELAY_DESK_SIDE says which side this run is: "relay" or "desk".
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include "common/utf16.h"
#include "monitor/win32/tests/accessible_tree.h"
#include "monitor/win32/tests/end_to_end_support.h"
#include "opencid/win32/tests/device_support.h"
#include "relay/win32/tests/relay_process.h"

namespace relay::win32::testing {
namespace {

using monitor::win32::testing::Devctl;

constexpr int kCalls = 1000;
constexpr DWORD kMeetingMs = 120000;

struct Call {
  std::wstring line, number, dateTime, name;
};

Call BurstCall(int index) {
  wchar_t time[32];
  swprintf(time, 32, L"%02d.12.26 %02d:%02d", 1 + index % 28, index / 60 % 24, index % 60);
  return {index % 2 ? L"2" : L"1", L"05320" + std::to_wstring(1000000 + index), time,
          L"ÇAĞRI " + std::to_wstring(index) + L" Şişli"};
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The folder both sides see, and a note one side leaves for the other there.
std::wstring NotePath(const char* note) { return common::FromUtf8(Environment("RELAY_DESK_FOLDER") + "\\" + note); }

void Leave(const char* note, const std::string& text) {
  HANDLE file = CreateFileW(NotePath(note).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string AwaitNote(const char* note) {
  std::string text;
  Eventually([&] { return !(text = ReadWholeFile(NotePath(note))).empty(); }, kMeetingMs);
  return text;
}

struct Screen {
  std::wstring counter;
  std::vector<std::wstring> rows;
  bool connected = false;
};

// What a screen reader finds in Test.exe: the counter, the connection and the calls' rows.
Screen Read(HWND window) {
  Screen screen;
  const auto tree = monitor::win32::testing::AccessibleTreeOf(window);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (tree[i].role == ROLE_SYSTEM_STATICTEXT && tree[i].name == L"Çağrı sayısı : " && i + 1 < tree.size())
      screen.counter = tree[i + 1].name;
    if (tree[i].role == ROLE_SYSTEM_STATICTEXT && tree[i].name == L"Bağlantı tamam  Hemen arayın")
      screen.connected = true;
    if (tree[i].role == ROLE_SYSTEM_ROW) screen.rows.push_back(tree[i].name);
  }
  return screen;
}

TEST(SecondDeskTest, TestExeThroughTheDeviceControlsPlaceShowsEveryCallTheRelaysDeviceRaised) {
  const std::string side = Environment("RELAY_DESK_SIDE");
  ASSERT_TRUE(side == "relay" || side == "desk") << "run through second_desk.py";
  ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (side == "relay") {
    monitor::win32::testing::RegisteredDevice devsim;
    TempFolder folder;
    RelayProcess relay(L"--port 0 --log-path \"" + folder.Path() + L"\\cidcall.log\"");
    ASSERT_NE(0u, relay.Port()) << relay.Output();
    ASSERT_TRUE(relay.WaitFor("The device control is started.")) << relay.Output();
    ASSERT_EQ(0, Devctl(L"plug KX-4 TR-1").exitCode);
    Leave("port", std::to_string(relay.Port()));
    ASSERT_EQ(AwaitNote("ready"), "ready") << relay.Output();
    std::wstring requests;
    for (int index = 0; index < kCalls; ++index) {
      const Call call = BurstCall(index);
      requests += L"call " + call.line + L" " + call.number + L" \"" + call.dateTime + L"\" TR-1 \"" + call.name + L"\"\n";
    }
    ASSERT_EQ(0, Devctl(L"-", common::ToUtf8(requests), 120000).exitCode);
    EXPECT_EQ(AwaitNote("done"), "done") << relay.Output();
  } else {
    opencid::test::Library opencid(OPENCID_PATH);
    const std::string port = AwaitNote("port");
    ASSERT_FALSE(port.empty());
    ASSERT_EQ(S_OK, opencid.Install(true, (L"ncid=127.0.0.1:" + common::FromUtf8(port) + L",as-device").c_str()));
    {
      monitor::win32::testing::MonitorProcess monitor;
      ASSERT_NE(monitor.Window(), nullptr);
      EXPECT_TRUE(Eventually([&] { return Read(monitor.Window()).connected; }, 30000));
      Leave("ready", "ready");
      Screen screen;
      EXPECT_TRUE(Eventually([&] { return (screen = Read(monitor.Window())).counter == std::to_wstring(kCalls); }, 90000))
          << common::ToUtf8(screen.counter);
      // A walk reads the rows before the counter, so the rows are read again once all is in.
      screen = Read(monitor.Window());
      EXPECT_EQ(screen.counter, std::to_wstring(kCalls));
      Leave("done", "done");
      // The newest eleven calls, oldest first, each numbered as the counter counted it.
      ASSERT_EQ(screen.rows.size(), 11u);
      for (int row = 0; row < 11; ++row) {
        const int index = kCalls - 11 + row;
        const Call call = BurstCall(index);
        const std::wstring& shown = screen.rows[static_cast<std::size_t>(row)];
        EXPECT_TRUE(shown.starts_with(std::to_wstring(index + 1) + L", " + call.line + L", " + call.number + L", " +
                                      call.dateTime + L", "))
            << common::ToUtf8(shown);
        EXPECT_TRUE(shown.ends_with(L", " + call.name)) << common::ToUtf8(shown);
      }
      EXPECT_TRUE(monitor.Close());
    }
    opencid.Install(false, L"");
  }
  CoUninitialize();
}

}  // namespace
}  // namespace relay::win32::testing
