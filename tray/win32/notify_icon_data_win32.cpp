// Filling the shell's Unicode record: every text keeps every letter, within the same limits.
#include "tray/win32/notify_icon_data_win32.h"

#include <cstddef>
#include <string>

namespace tray {
namespace {

template <std::size_t Size>
void CopyText(wchar_t (&field)[Size], const std::wstring& text) {
  const std::wstring cut = CutText(text, Size - 1);
  cut.copy(field, cut.size());
  field[cut.size()] = L'\0';
}

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const NotifyIconRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = static_cast<UINT>(record.identifier);
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  CopyText(data.szTip, record.tip);
  CopyText(data.szInfo, record.balloonText);
  data.uTimeout = record.timeoutOrVersion;  // shares its place with the version
  CopyText(data.szInfoTitle, record.balloonTitle);
  data.dwInfoFlags = static_cast<DWORD>(record.balloonIcon);
  return data;
}

DWORD ToShellMessage(ShellCommand command) {
  switch (command) {
    case ShellCommand::Add: return NIM_ADD;
    case ShellCommand::Modify: return NIM_MODIFY;
    case ShellCommand::Delete: return NIM_DELETE;
    case ShellCommand::SetVersion: return NIM_SETVERSION;
  }
  return NIM_MODIFY;
}

}  // namespace tray
