// Screen positions, mouse buttons and the Shift state as the tray icon's events report them.
#pragma once

#include <cstdint>

namespace tray {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

enum class MouseButton { Left, Right, Middle };

// Shift, Ctrl and Alt as pressed, plus the button of a notification.
enum ShiftState : std::uint8_t {
  ssNone = 0,
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
};

inline ShiftState operator|(ShiftState a, ShiftState b) {
  return static_cast<ShiftState>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}

}  // namespace tray
