// The integer conversion of device texts (signal levels): the text is taken in the system's
// single-byte code page, then read as a signed 32-bit decimal or hexadecimal number.
#pragma once

#include <cstdint>
#include <string_view>

namespace common {

// Accepts optional leading blanks, an optional "+" or "-", then decimal digits (the value must
// fit 32 bits) or up to 8 hexadecimal digits after "$", "x", "X", "0x" or "0X" (two's
// complement), and nothing after. Anything else raises
// ConvertError "'<text>' is not a valid integer value".
std::int32_t DeviceTextToInt(std::wstring_view text);

}  // namespace common
