// The system's single-byte code page: on Windows the ANSI code page; natively Windows-1254,
// the code page of the Turkish systems the programs are written for.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Characters the code page lacks become what the platform makes of them ('?' natively).
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

}  // namespace common
