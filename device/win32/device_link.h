// How the console tool reaches the simulated devices: every device has a hidden top-level
// window of this class; a WM_COPYDATA request (UTF-16 text) lands on the device's own thread,
// and the device answers with a WM_COPYDATA reply to the window named in wParam.
#pragma once

#include <windows.h>

#include <string>

namespace device {

inline constexpr wchar_t kDeviceWindowClass[] = L"SimulatedTevrin5Device";
inline constexpr ULONG_PTR kRequestTag = 0x54355251;  // "T5RQ"
inline constexpr ULONG_PTR kReplyTag = 0x54355250;    // "T5RP"

// Sends a text by WM_COPYDATA, waiting at most timeoutMs; false when it was not taken.
bool SendText(HWND to, HWND from, ULONG_PTR tag, const std::wstring& text, UINT timeoutMs);
// The text of a WM_COPYDATA with the tag, or false.
bool ReceiveText(LPARAM lParam, ULONG_PTR tag, std::wstring& text);

}  // namespace device
