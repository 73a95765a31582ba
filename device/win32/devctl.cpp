// devctl: drives every simulated device running on the desktop, in any process, and
// registers or removes the simulated device control.
//   devctl plug MODEL SERIAL | unplug | call LINE NUMBER [DATETIME [DEVICEID [OTHER]]]
//          levels L1 ... L8 | fail N | demo on|off | log | status | register [--force] | unregister
//   devctl -   reads requests from standard input, one a line, and sends them in that order
#include <windows.h>
#include <shellapi.h>

#include <new>
#include <string>
#include <vector>

#include "activex/bstr.h"
#include "activex/com_ptr.h"
#include "common/error.h"
#include "common/utf16.h"
#include "device/control_request.h"
#include "device/win32/device_link.h"
#include "device/win32/tevrin5_control.h"

namespace device {
namespace {

void Write(DWORD stream, const std::wstring& text) {
  HANDLE handle = GetStdHandle(stream);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    std::string bytes = common::ToUtf8(text);
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

// The arguments of a command line, without the program's name.
std::vector<std::wstring> Arguments(const wchar_t* commandLine) {
  int count = 0;
  wchar_t** list = CommandLineToArgvW(commandLine, &count);
  if (!list) return {};
  std::vector<std::wstring> arguments(list + (count > 0 ? 1 : 0), list + count);
  LocalFree(list);
  return arguments;
}

std::string StandardInput() {
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

// Every line of standard input quoted as on the command line; all are checked before any is
// sent. One tool run sends a whole burst, as starting a program takes far longer than a request.
std::vector<ControlRequest> RequestsFromInput() {
  const std::wstring input = common::FromUtf8(StandardInput());
  std::vector<ControlRequest> requests;
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find(L'\n', start);
    if (end == std::wstring::npos) end = input.size();
    std::wstring line = input.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.find_first_not_of(L" \t") != std::wstring::npos)
      requests.push_back(ParseRequest(Arguments((L"devctl " + line).c_str()), NowText()));
    start = end + 1;
  }
  return requests;
}

BOOL CALLBACK CollectDevice(HWND window, LPARAM found) {
  wchar_t name[64];
  if (GetClassNameW(window, name, 64) && lstrcmpW(name, kDeviceWindowClass) == 0)
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

std::vector<HWND> RunningDevices() {
  std::vector<HWND> devices;
  EnumWindows(CollectDevice, reinterpret_cast<LPARAM>(&devices));
  return devices;
}

// Replies arrive at a message-only window while the request is being handled.
struct ReplyBox {
  std::wstring reply;
  bool received = false;
};

LRESULT CALLBACK ReplyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<ReplyBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_COPYDATA && box) {
    try {
      if (ReceiveText(lParam, kReplyTag, box->reply)) {
        box->received = true;
        return TRUE;
      }
    } catch (const std::bad_alloc&) {
      return FALSE;  // a reply too large to keep is not taken; the tool reports no answer
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Sends the request to every device and prints each answer; false when none answered.
bool SendToDevices(const ControlRequest& request, const std::vector<HWND>& devices, HWND replies, ReplyBox& box) {
  int answered = 0;
  for (HWND device : devices) {
    box = ReplyBox{};
    DWORD process = 0;
    GetWindowThreadProcessId(device, &process);
    std::wstring header = L"device in process " + std::to_wstring(process) + L": ";
    if (!SendText(device, replies, kRequestTag, Encode(request), 10000) || !box.received) {
      Write(STD_ERROR_HANDLE, header + L"no answer\n");
      continue;
    }
    ++answered;
    Write(STD_OUTPUT_HANDLE, request.verb == L"log" ? header + L"\n" + box.reply : header + box.reply + L"\n");
  }
  return answered > 0;
}

// 0 when every request reached at least one device.
int Drive(const std::vector<ControlRequest>& requests) {
  std::vector<HWND> devices = RunningDevices();
  if (devices.empty()) {
    Write(STD_ERROR_HANDLE, L"devctl: no simulated device is running\n");
    return 1;
  }
  WNDCLASSW replyClass{};
  replyClass.lpfnWndProc = ReplyProcedure;
  replyClass.hInstance = GetModuleHandleW(nullptr);
  replyClass.lpszClassName = L"DevctlReply";
  RegisterClassW(&replyClass);
  HWND replies = CreateWindowW(L"DevctlReply", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, replyClass.hInstance, nullptr);
  ReplyBox box;
  SetWindowLongPtrW(replies, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
  bool allAnswered = true;
  for (const ControlRequest& request : requests)
    allAnswered = SendToDevices(request, devices, replies, box) && allAnswered;
  DestroyWindow(replies);
  return allAnswered ? 0 : 1;
}

using RegisterStep = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

int Register(bool install, bool force) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring library(path);
  library = library.substr(0, library.find_last_of(L'\\') + 1) + L"devsim.dll";
  OleInitialize(nullptr);
  HMODULE module = LoadLibraryW(library.c_str());
  if (!module) {
    Write(STD_ERROR_HANDLE, L"devctl: cannot load " + library + L"\n");
    OleUninitialize();
    return 1;
  }
  // Another file of that name may stand there.
  auto step = reinterpret_cast<RegisterStep>(reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
  const HRESULT hr = step ? step(install, force ? L"force" : L"") : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  if (!step) {
    Write(STD_ERROR_HANDLE, L"devctl: " + library + L" has no DllInstall\n");
  } else if (FAILED(hr)) {
    activex::ComPtr<IErrorInfo> info;
    activex::Bstr description;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) info->GetDescription(description.Put());
    Write(STD_ERROR_HANDLE, L"devctl: " + (description.Text().empty() ? L"registration failed" : description.Text()) + L"\n");
  } else {
    Write(STD_OUTPUT_HANDLE, install ? L"registered " + library + L"\n" : L"unregistered " + library + L"\n");
  }
  FreeLibrary(module);
  OleUninitialize();
  return FAILED(hr) ? 1 : 0;
}

int Main() {
  std::vector<std::wstring> arguments = Arguments(GetCommandLineW());
  if (!arguments.empty() && arguments[0] == L"register") {
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1] != L"--force")) {
      Write(STD_ERROR_HANDLE, L"usage: devctl register [--force]\n");
      return 2;
    }
    return Register(true, arguments.size() == 2);
  }
  if (!arguments.empty() && arguments[0] == L"unregister") return Register(false, false);
  try {
    if (arguments.size() == 1 && arguments[0] == L"-") return Drive(RequestsFromInput());
    return Drive({ParseRequest(arguments, NowText())});
  } catch (const common::Error& usage) {
    Write(STD_ERROR_HANDLE, L"devctl: " + usage.Message());
    return 2;
  }
}

}  // namespace
}  // namespace device

int main() { return device::Main(); }
