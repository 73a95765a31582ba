// The tray icon's balloon, as the call log announces a call with it.
#pragma once

#include <cstdint>
#include <string>

namespace monitor {

enum class BalloonIcon : std::uint8_t { None = 0, Info = 1, Warning = 2, Error = 3 };

class ITrayBalloon {
 public:
  virtual ~ITrayBalloon() = default;
  // Replaces a balloon still shown; answers whether the shell took it.
  virtual bool ShowBalloonHint(const std::wstring& title, const std::wstring& text, BalloonIcon icon,
                               std::uint8_t timeoutSeconds) = 0;
};

}  // namespace monitor
