// The event log through its classic interface, which every Windows version has.
#include "monitor/win32/event_log.h"

#include <windows.h>

#include "common/error.h"
#include "common/utf16.h"

namespace monitor::win32 {

void WriteToEventLog(const wchar_t* source, const std::wstring& text) noexcept {
  HANDLE log = RegisterEventSourceW(nullptr, source);
  if (!log) return;
  const wchar_t* strings[] = {text.c_str()};
  ReportEventW(log, EVENTLOG_ERROR_TYPE, 0, 1, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(log);
}

void WriteToEventLog(const wchar_t* source, const std::wstring& what, const std::exception_ptr& failure) noexcept {
  std::wstring reason = L"no reason given";
  try {
    if (failure) std::rethrow_exception(failure);
  } catch (const common::Error& error) {
    reason = error.Message();
    if (error.SystemCode() != 0) {
      wchar_t code[16];
      wsprintfW(code, L"0x%08lX", static_cast<unsigned long>(error.SystemCode()));
      // A failure the system has no text for already names its code.
      if (reason.find(code) == std::wstring::npos) reason += L" (" + std::wstring(code) + L")";
    }
  } catch (const std::exception& error) {
    reason = common::FromUtf8(error.what());
  } catch (...) {
  }
  try {
    WriteToEventLog(source, what + L": " + reason);
  } catch (...) {
    // Out of memory for the text: nothing is written.
  }
}

}  // namespace monitor::win32
