// UTF-16 helpers where the system meets byte texts: UTF-8 for consoles, logs and tests.
// std::wstring holds UTF-16 on Windows; natively it holds one code point per element.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Ill-formed input (a lone surrogate, a broken UTF-8 sequence) becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace common
