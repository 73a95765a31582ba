#include "legacy/control/stored_levels.h"

#include "common/device_int.h"

namespace legacy::control {

Levels& StoredLevels() {
  static Levels levels{};
  return levels;
}

void StoreLevels(const std::array<std::wstring, 8>& texts) {
  Levels& levels = StoredLevels();
  for (std::size_t line = 0; line < texts.size(); ++line)
    levels[line] = static_cast<std::uint8_t>(common::DeviceTextToInt(texts[line]) & 0xFF);
}

std::vector<std::wstring> LevelTexts(const Levels& levels) {
  std::vector<std::wstring> texts;
  for (std::uint8_t level : levels) texts.push_back(std::to_wstring(level));
  return texts;
}

}  // namespace legacy::control
