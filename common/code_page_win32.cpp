// The ANSI code page conversions through the system, with its default replacement rules.
#include <windows.h>

#include "common/checked_int.h"
#include "common/code_page.h"

namespace common {

std::string ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = checked::Narrow(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int length = checked::Narrow(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, out.data(), size);
  return out;
}

}  // namespace common
