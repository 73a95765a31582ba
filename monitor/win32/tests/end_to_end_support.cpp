#include "monitor/win32/tests/end_to_end_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "common/utf16.h"
#include "device/win32/tests/child_process.h"
#include "monitor/form1_description.h"

namespace monitor::win32::testing {
namespace {

template <class Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindForm(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (owner != search->processId || std::wstring(className) != L"TForm1" || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring BuiltPath(const char* utf8Path) {
  std::wstring path = common::FromUtf8(utf8Path);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path.starts_with(L"\\") ? L"Z:" + path : path;
}

ToolRun Devctl(const std::wstring& arguments, const std::string& input, DWORD timeoutMs) {
  const ::test::ChildResult run = ::test::RunChild(L"\"" + BuiltPath(DEVCTL_PATH) + L"\" " + arguments, timeoutMs, input);
  return {static_cast<int>(run.exitCode), common::FromUtf8(run.output)};
}

AnswerProbe::AnswerProbe(HWND window) : window_(window), thread_([this] {
  while (!stop_) {
    const DWORD start = GetTickCount();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
    longest_ = std::max<DWORD>(longest_, GetTickCount() - start);
    Sleep(20);
  }
  finished_ = true;
}) {}

AnswerProbe::~AnswerProbe() { Stop(); }

DWORD AnswerProbe::Stop() {
  stop_ = true;
  // The window lives on this thread: keep answering the probe's last message until it is done.
  MSG message;
  while (thread_.joinable() && !finished_) {
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(1);
  }
  if (thread_.joinable()) thread_.join();
  return longest_;
}

RegisteredDevice::RegisteredDevice() : library_(LoadLibraryW(BuiltPath(DEVSIM_PATH).c_str())) {
  using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
  if (auto install = library_ ? Export<Install>(library_, "DllInstall") : nullptr) install(TRUE, L"force");
}

RegisteredDevice::~RegisteredDevice() {
  Unregister();
  if (library_) FreeLibrary(library_);
}

void RegisteredDevice::Unregister() {
  HMODULE library = LoadLibraryW(BuiltPath(DEVSIM_PATH).c_str());
  using Unregister = HRESULT(STDAPICALLTYPE*)();
  if (auto unregister = library ? Export<Unregister>(library, "DllUnregisterServer") : nullptr) unregister();
  if (library) FreeLibrary(library);
}

tray::ShellNotifier RecordingProgramParts::Shell() {
  return [this](DWORD message, NOTIFYICONDATAW* data) {
    if (message == NIM_MODIFY && (data->uFlags & NIF_INFO) && data->szInfo[0]) {
      balloonTitles.push_back(data->szInfoTitle);
      balloonTexts.push_back(data->szInfo);
    }
    return TRUE;
  };
}

std::wstring Monitor::Text(const wchar_t* control) const { return form->LabelNamed(control).Caption(); }

int Monitor::Position(const wchar_t* meter) const {
  return static_cast<int>(SendMessageW(form->Control(meter), PBM_GETPOS, 0, 0));
}

std::vector<std::wstring> Monitor::Column(std::int32_t col) {
  std::vector<std::wstring> texts;
  for (std::int32_t row = 0; row < form->TextGrid1().RowCount(); ++row)
    texts.push_back(form->TextGrid1().Cells(col, row));
  return texts;
}

std::wstring Monitor::Snapshot() {
  std::wstring all;
  for (const auto& control : Form1Description().subspan(1)) {
    if (control.Kind == ControlKind::Label) all += Text(control.Name) + L"|";
    if (control.Kind == ControlKind::ProgressBar) all += std::to_wstring(Position(control.Name)) + L"|";
  }
  for (std::int32_t col = 0; col < 6; ++col)
    for (const auto& cell : Column(col)) all += cell + L";";
  return all;
}

MonitorProcess::MonitorProcess() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = L"\"" + BuiltPath(TEST_EXE_PATH) + L"\"";
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
    return;
  for (int wait = 0; wait < 3000 && !window_; ++wait) {
    Search search{process_.dwProcessId, nullptr};
    EnumWindows(FindForm, reinterpret_cast<LPARAM>(&search));
    window_ = search.found;
    if (!window_) Sleep(5);
  }
}

MonitorProcess::~MonitorProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    Close();
    TerminateProcess(process_.hProcess, 1);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool MonitorProcess::Close() {
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
}

DWORD MonitorProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_.hProcess) GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace monitor::win32::testing
