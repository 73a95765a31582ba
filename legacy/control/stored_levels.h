// The last analogue signal level of each of the eight lines. Process-wide by design: every
// KalloraPlus control in a process reports the levels last written by any of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace legacy::control {

using Levels = std::array<std::uint8_t, 8>;

Levels& StoredLevels();

// Stores the low 8 bits of each text's integer value, line by line; a text the conversion
// rejects raises common::ConvertError there, the lines before it already stored.
void StoreLevels(const std::array<std::wstring, 8>& texts);

// OnSignalA's arguments: the levels as plain decimal texts.
std::vector<std::wstring> LevelTexts(const Levels& levels);

}  // namespace legacy::control
