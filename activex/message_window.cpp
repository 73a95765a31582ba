// Message windows, their reference-counted window classes and the parking window.
#include "activex/message_window.h"

#include <map>
#include <mutex>

#include "activex/server_module.h"
#include "common/error.h"

namespace activex {
namespace {

std::mutex classesMutex;
std::map<std::wstring, int> classUsers;

void UseClass(const std::wstring& name, WNDPROC procedure) {
  std::lock_guard lock(classesMutex);
  if (classUsers[name]++ > 0) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = CurrentModule();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name.c_str();
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    --classUsers[name];
    throw common::Error(L"Cannot register a window class", HRESULT_FROM_WIN32(GetLastError()));
  }
}

void LeaveClass(const std::wstring& name) {
  std::lock_guard lock(classesMutex);
  if (--classUsers[name] == 0) {
    classUsers.erase(name);
    UnregisterClassW(name.c_str(), CurrentModule());
  }
}

}  // namespace

MessageWindow::MessageWindow(const wchar_t* className, DWORD style, HWND parent, const RECT& rect,
                             Handler handler)
    : className_(className), handler_(std::move(handler)) {
  UseClass(className_, &Procedure);
  hwnd_ = CreateWindowExW(0, className_.c_str(), L"", style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent, nullptr, CurrentModule(), this);
  if (!hwnd_) {
    DWORD error = GetLastError();
    LeaveClass(className_);
    throw common::Error(L"Cannot create a window", HRESULT_FROM_WIN32(error));
  }
}

MessageWindow::~MessageWindow() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  LeaveClass(className_);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window && window->handler_) {
    try {
      if (std::optional<LRESULT> answer = window->handler_(message, wParam, lParam)) return *answer;
    } catch (...) {
      return 0;  // a failing handler leaves the message handled and the window intact
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

namespace {

// Plain values only: a thread-local object with a destructor would outlive an unloaded DLL.
thread_local int parkingLeases = 0;
thread_local MessageWindow* parkingWindow = nullptr;

}  // namespace

ParkingLease::ParkingLease() {
  if (parkingLeases == 0) parkingWindow = new MessageWindow(L"ActiveXParking", WS_POPUP, nullptr, RECT{}, nullptr);
  ++parkingLeases;
}

ParkingLease::~ParkingLease() {
  if (--parkingLeases == 0) {
    delete parkingWindow;
    parkingWindow = nullptr;
  }
}

HWND ParkingLease::Window() const noexcept { return parkingWindow->Handle(); }

}  // namespace activex
