// The record the tray icon hands to the shell for each of its calls, field by field as the
// shell's Unicode notification record with balloon fields, and the calls themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tray {

// The message the shell sends the hidden window for the tray icon's notifications.
inline constexpr std::uint32_t TrayCallbackMessage = 0x800;

// Longest texts, in characters, the record holds.
inline constexpr std::size_t kMaxTipLength = 127;
inline constexpr std::size_t kMaxBalloonTextLength = 255;
inline constexpr std::size_t kMaxBalloonTitleLength = 63;

enum NotifyIconFlags : std::uint32_t {
  nifMessage = 0x01,
  nifIcon = 0x02,
  nifTip = 0x04,
  nifInfo = 0x10,
};

enum class ShellCommand { Add, Modify, Delete, SetVersion };

// The icon shown beside a balloon's title; the values are the shell's.
enum class BalloonIcon : std::uint32_t { None = 0, Info = 1, Warning = 2, Error = 3 };

// The record's size is the platform's: the shell's record up to and including its balloon
// fields, in the width being built.
struct NotifyIconRecord {
  std::uintptr_t window = 0;
  std::uintptr_t identifier = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  std::uintptr_t icon = 0;
  std::wstring tip;
  std::wstring balloonText;
  // The balloon's time-out in milliseconds, or for the set-version command the version.
  std::uint32_t timeoutOrVersion = 0;
  std::wstring balloonTitle;
  BalloonIcon balloonIcon = BalloonIcon::None;
};

// The first maxLength characters of text, never ending in half of a surrogate pair.
std::wstring CutText(std::wstring_view text, std::size_t maxLength);

}  // namespace tray
