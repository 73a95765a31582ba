// Helpers of the tray tests under Wine.
#include "tray/win32/tests/tray_test_support.h"

namespace tray::testing {

HICON MakeSolidIcon(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all zero: every pixel opaque
  HDC drawing = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(drawing, image);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, 16, 16};
  FillRect(drawing, &all, brush);
  DeleteObject(brush);
  SelectObject(drawing, previous);
  DeleteDC(drawing);
  ReleaseDC(nullptr, screen);

  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = image;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  return icon;
}

COLORREF IconColour(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return CLR_INVALID;
  HDC drawing = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(drawing, info.hbmColor);
  const COLORREF colour = GetPixel(drawing, 8, 8);
  SelectObject(drawing, previous);
  DeleteDC(drawing);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return colour;
}

ShellNotifier ShellRecorder::Notifier() {
  return [this](DWORD message, NOTIFYICONDATAW* data) {
    calls.push_back({message, *data, IconColour(data->hIcon)});
    return forward ? Shell_NotifyIconW(message, data) : TRUE;
  };
}

std::vector<ShellCallRecord> ShellRecorder::CallsOf(DWORD message) const {
  std::vector<ShellCallRecord> found;
  for (const auto& call : calls)
    if (call.message == message) found.push_back(call);
  return found;
}

namespace {
constexpr wchar_t kTestWindowClass[] = L"TrayTestOwnerWindow";
}

TestWindow::TestWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kTestWindowClass;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kTestWindowClass, L"TEST", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
}

TestWindow::~TestWindow() { DestroyWindow(window_); }

HWND OwnWindow(HWND parent, const wchar_t* className) {
  HWND window = nullptr;
  while ((window = FindWindowExW(parent, window, className, nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

}  // namespace tray::testing
