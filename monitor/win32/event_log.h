// Failures that a program goes on without (it cannot show them to anyone) are written to the
// Windows event log, Application, as errors of the program's source name, with their reason.
#pragma once

#include <exception>
#include <string>

namespace monitor::win32 {

void WriteToEventLog(const wchar_t* source, const std::wstring& text) noexcept;
// The failure's message, or a text saying it had none.
void WriteToEventLog(const wchar_t* source, const std::wstring& what, const std::exception_ptr& failure) noexcept;

}  // namespace monitor::win32
