// TForm1 as data, like a form file: every control with its parent, place, size, caption and
// font at the designed density of 114 pixels per inch, its timers and its menu.
#pragma once

#include <cstdint>
#include <span>

namespace monitor {

inline constexpr std::int32_t DesignPixelsPerInch = 114;
inline constexpr std::uint8_t DefaultCharset = 1;
inline constexpr std::uint8_t TurkishCharset = 162;

enum class ControlKind { Form, GroupBox, TextGrid, Label, ProgressBar };
// Aligned controls take their place from the parent in this order: top, left, right, client.
enum class Alignment { None, Top, Left, Right, Client };

struct FontDescription {
  const wchar_t* Name;
  std::int32_t Height;  // character height in pixels
  bool Italic;
  std::uint8_t Charset;
};

struct ControlDescription {
  const wchar_t* Name;
  ControlKind Kind;
  const wchar_t* Parent;  // nullptr for the form itself
  Alignment Align;
  std::int32_t Left, Top, Width, Height;  // relative to the parent; the form's size is its frame's
  const wchar_t* Caption;
  FontDescription Font;
  bool AutoSize;  // labels that take the size of their text
};

struct TimerDescription {
  const wchar_t* Name;
  std::uint32_t IntervalMs;
  bool Enabled;
};

struct MenuItemDescription {
  const wchar_t* Name;
  const wchar_t* Caption;
};

// The form first, then every control after its parent.
std::span<const ControlDescription> Form1Description();
std::span<const TimerDescription> Form1Timers();
std::span<const MenuItemDescription> PopupMenu1Items();
// A control's number among the form's children (its window identifier), 0 when unknown.
std::int32_t ControlId(const wchar_t* name);

// The names whose right click opens PopupMenu1.
std::span<const wchar_t* const> PopupMenu1Openers();

inline constexpr std::int32_t MeterMin = 0;
inline constexpr std::int32_t MeterMax = 30;

}  // namespace monitor
