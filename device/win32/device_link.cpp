// WM_COPYDATA texts between the console tool and the devices.
#include "device/win32/device_link.h"

namespace device {

bool SendText(HWND to, HWND from, ULONG_PTR tag, const std::wstring& text, UINT timeoutMs) {
  COPYDATASTRUCT data{tag, static_cast<DWORD>(text.size() * sizeof(wchar_t)), const_cast<wchar_t*>(text.data())};
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0 &&
         answer == TRUE;
}

bool ReceiveText(LPARAM lParam, ULONG_PTR tag, std::wstring& text) {
  auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || data->dwData != tag) return false;
  text.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
  return true;
}

}  // namespace device
