// A host window creates the simulated device through the control site and the console tool
// drives it from another process: commands, texts, failures, the log, and clean lifetimes.
#include <ole2.h>

#include "activex/bstr.h"
#include "activex/control_site.h"
#include "activex/message_window.h"
#include "common/error.h"
#include "common/utf16.h"
#include "device_test_support.h"
#include "tevrin5_typelib.h"

namespace device::test {
namespace {

using activex::Bstr;
using activex::ComPtr;
using activex::ControlSite;
using activex::EventArguments;

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(S_OK, OleInitialize(nullptr));
    library_ = std::make_unique<DeviceLibrary>();
    host_ = std::make_unique<activex::MessageWindow>(L"DeviceTestHost", WS_OVERLAPPEDWINDOW, nullptr,
                                                     RECT{0, 0, 320, 200}, nullptr);
  }
  void TearDown() override {
    host_.reset();
    library_.reset();
    CoFreeUnusedLibraries();
    OleUninitialize();
  }
  std::unique_ptr<ControlSite> CreateDevice() {
    return std::make_unique<ControlSite>(host_->Handle(), CLSID_Tevrin5, RECT{0, 0, 26, 26});
  }
  static std::wstring Command(ITevrin5* device, const wchar_t* text) {
    Bstr command(text), result;
    activex::ThrowIfFailed(device->Command(command.Get(), result.Put()), device, IID_ITevrin5);
    return result.Text();
  }

  std::unique_ptr<DeviceLibrary> library_;
  std::unique_ptr<activex::MessageWindow> host_;
};

TEST_F(DeviceTest, StartSitsAtSlot47AndCommandAtSlot50) {
  auto site = CreateDevice();
  ComPtr<ITevrin5> device = site->As<ITevrin5>(IID_ITevrin5);
  ASSERT_TRUE(device);
  using StartSlot = HRESULT(STDMETHODCALLTYPE*)(ITevrin5*);
  using CommandSlot = HRESULT(STDMETHODCALLTYPE*)(ITevrin5*, BSTR, BSTR*);
  void** table = *reinterpret_cast<void***>(device.Get());
  EXPECT_EQ(S_OK, reinterpret_cast<StartSlot>(table[46])(device.Get()));
  VARIANT_BOOL started = VARIANT_FALSE;
  device->get_Started(&started);
  EXPECT_EQ(VARIANT_TRUE, started);
  Bstr command(L"devicemodel"), result;
  EXPECT_EQ(S_OK, reinterpret_cast<CommandSlot>(table[49])(device.Get(), command.Get(), result.Put()));
  EXPECT_EQ(L"", result.Text());
  LONG count = 0;
  device->get_CommandCount(&count);
  EXPECT_EQ(1, count);
}

TEST_F(DeviceTest, TheConsoleToolDrivesTheHostedDeviceEndToEnd) {
  auto site = CreateDevice();
  std::vector<EventArguments> calls, signals;
  std::vector<DWORD> threads;
  site->OnEvent(209, [&](const EventArguments& a) { calls.push_back(a); threads.push_back(GetCurrentThreadId()); });
  site->OnEvent(210, [&](const EventArguments& a) { signals.push_back(a); threads.push_back(GetCurrentThreadId()); });
  site->ConnectEvents(DIID_ITevrin5Events);
  ComPtr<ITevrin5> device = site->As<ITevrin5>(IID_ITevrin5);

  EXPECT_EQ(L"", Command(device.Get(), L"+:~.-q"));
  EXPECT_EQ(S_OK, device->Start());
  EXPECT_EQ(L"", Command(device.Get(), L"devicemodel"));

  ToolRun plug = RunDevctl(L"plug KX-800 TR-0042");
  EXPECT_EQ(0, plug.exitCode) << common::ToUtf8(plug.output);
  EXPECT_NE(std::wstring::npos, plug.output.find(L"plugged KX-800 TR-0042"));
  EXPECT_EQ(L"KX-800", Command(device.Get(), L"devicemodel"));
  EXPECT_EQ(L"TR-0042", Command(device.Get(), L"serial"));

  EXPECT_EQ(0, RunDevctl(L"call 3 \"0532 111 22 33\" \"08.12.2026 10:11:12\" DEV-1 \"Işıl Çağlar ğüşöİ\"").exitCode);
  EXPECT_EQ(0, RunDevctl(L"call 1 555").exitCode);
  ASSERT_EQ(2u, calls.size());
  EXPECT_EQ((EventArguments{L"DEV-1", L"3", L"0532 111 22 33", L"08.12.2026 10:11:12", L"Işıl Çağlar ğüşöİ"}), calls[0]);
  EXPECT_EQ(L"TR-0042", calls[1][0]);
  EXPECT_EQ(L"1", calls[1][1]);
  EXPECT_EQ(14u, calls[1][3].size());  // the current time, dd.MM.yy HH:mm

  EXPECT_EQ(0, RunDevctl(L"levels 0 10 20 30 abc -5 \"\" 256").exitCode);
  ASSERT_EQ(1u, signals.size());
  EXPECT_EQ((EventArguments{L"0", L"10", L"20", L"30", L"abc", L"-5", L"", L"256"}), signals[0]);
  for (DWORD thread : threads) EXPECT_EQ(GetCurrentThreadId(), thread);

  EXPECT_EQ(0, RunDevctl(L"fail 1").exitCode);
  try {
    Command(device.Get(), L"devicemodel");
    ADD_FAILURE() << "the command did not fail";
  } catch (const common::Error& error) {
    EXPECT_EQ(E_FAIL, error.SystemCode());
    EXPECT_EQ(L"Simulated device failure", error.Message());
  }
  EXPECT_EQ(L"KX-800", Command(device.Get(), L"devicemodel"));
  EXPECT_EQ(L"", Command(device.Get(), L"test_stop"));

  ToolRun log = RunDevctl(L"log");
  EXPECT_EQ(0, log.exitCode);
  EXPECT_NE(std::wstring::npos,
            log.output.find(L"+:~.-q\nStart()\ndevicemodel\ndevicemodel\nserial\ndevicemodel\ndevicemodel\ntest_stop\n"))
      << common::ToUtf8(log.output);
  ToolRun status = RunDevctl(L"status");
  EXPECT_NE(std::wstring::npos, status.output.find(L"plugged KX-800 TR-0042, not started")) << common::ToUtf8(status.output);

  EXPECT_EQ(0, RunDevctl(L"unplug").exitCode);
  EXPECT_EQ(L"", Command(device.Get(), L"devicemodel"));
}

TEST_F(DeviceTest, TheToolExplainsUsageAndFailsWhenNoDeviceRuns) {
  ToolRun usage = RunDevctl(L"levels 1 2");
  EXPECT_EQ(2, usage.exitCode);
  EXPECT_NE(std::wstring::npos, usage.output.find(L"usage: devctl levels L1 L2 L3 L4 L5 L6 L7 L8"));
  ToolRun none = RunDevctl(L"status");
  EXPECT_EQ(1, none.exitCode);
  EXPECT_NE(std::wstring::npos, none.output.find(L"no simulated device is running"));
}

TEST_F(DeviceTest, EveryRunningDeviceHearsTheTool) {
  auto first = CreateDevice();
  auto second = CreateDevice();
  ToolRun plug = RunDevctl(L"plug M S");
  EXPECT_EQ(0, plug.exitCode);
  EXPECT_EQ(L"M", Command(first->As<ITevrin5>(IID_ITevrin5).Get(), L"devicemodel"));
  EXPECT_EQ(L"M", Command(second->As<ITevrin5>(IID_ITevrin5).Get(), L"devicemodel"));
}

TEST_F(DeviceTest, AClassThatIsNotRegisteredGivesTheCreationError) {
  const CLSID missing{0x0eea1805, 0x171f, 0x4293, {0x85, 0x98, 0xab, 0x6e, 0x1d, 0x72, 0x57, 0xb3}};
  try {
    ControlSite site(host_->Handle(), missing, RECT{0, 0, 26, 26});
    ADD_FAILURE() << "created";
  } catch (const common::Error& error) {
    EXPECT_EQ(REGDB_E_CLASSNOTREG, error.SystemCode());
  }
}

TEST_F(DeviceTest, TheScriptHostCreatesUsesAndReleasesTheDevice) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring script = std::wstring(folder) + L"device_probe.vbs";
  const char text[] =
      "Set d = CreateObject(\"SimulatedDevice.Tevrin5\")\r\n"
      "WScript.Echo \"model=[\" & d.Command(\"devicemodel\") & \"] lines=\" & d.LineCount\r\n"
      "d.Start\r\n"
      "WScript.Echo \"started=\" & CInt(d.Started) & \" commands=\" & d.CommandCount\r\n"
      "Set d = Nothing\r\n";
  HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text, sizeof text - 1, &written, nullptr);
  CloseHandle(file);
  ToolRun run = RunProgram(L"cscript.exe //nologo \"" + script + L"\"");
  DeleteFileW(script.c_str());
  EXPECT_EQ(0, run.exitCode);
  EXPECT_NE(std::wstring::npos, run.output.find(L"model=[] lines=8")) << common::ToUtf8(run.output);
  EXPECT_NE(std::wstring::npos, run.output.find(L"started=-1 commands=1")) << common::ToUtf8(run.output);
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(window, CountOwnWindow, count);
  return TRUE;
}

// The process's USER objects; where the system does not count them (Wine), its windows,
// message-only ones included.
DWORD UserObjects() {
  if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return counted;
  DWORD windows = 0;
  EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;)
    CountOwnWindow(window, reinterpret_cast<LPARAM>(&windows));
  return windows;
}
// Wine does not count GDI objects (it answers 0); Windows does.
DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST_F(DeviceTest, AThousandCyclesLeaveNothingBehind) {
  auto cycle = [&] {
    auto site = CreateDevice();
    site->ConnectEvents(DIID_ITevrin5Events);
    ComPtr<ITevrin5> device = site->As<ITevrin5>(IID_ITevrin5);
    Command(device.Get(), L"+:~.-q");
    device->Start();
    Command(device.Get(), L"devicemodel");
    RedrawWindow(site->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    activex::ComPtr<IViewObject> view = site->As<IViewObject>(IID_IViewObject);
    HDC screen = GetDC(nullptr);
    RECTL bounds{0, 0, 26, 26};
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, screen, &bounds, nullptr, nullptr, 0);
    ReleaseDC(nullptr, screen);
  };
  cycle();  // the first creation loads what stays loaded
  DWORD users = UserObjects(), gdi = GdiObjects();
  ASSERT_GT(users, 0u);  // the host window at least
  for (int i = 0; i < 1000; ++i) cycle();
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"devsim.dll"), "DllCanUnloadNow")));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_EQ(S_OK, canUnload());
  EXPECT_EQ(users, UserObjects());
  EXPECT_EQ(gdi, GdiObjects());
}

}  // namespace
}  // namespace device::test
