// What a screen reader finds on TForm1, whose labels and group boxes are drawn text: each
// labelled group box, each label with its current text, each meter named after its line with
// its level as value, and the call list, in the window's order. A child's number never
// changes, so that a label's new text is announced by it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace monitor {

enum class AccessibleRole { GroupBox, Label, Meter, CallList };

struct AccessibleChild {
  const wchar_t* Control;  // the described control
  AccessibleRole Role;
};

// The form's children in the window's order; a child's number is its index + 1.
std::span<const AccessibleChild> Form1AccessibleChildren();
// The child's number of a control; 0 when it is none of them.
std::int32_t Form1AccessibleChildNumber(const wchar_t* control);

// A label's current text.
using CaptionOf = std::function<std::wstring(const wchar_t* label)>;
// A label's current text, a group box's caption without the spaces around it, a meter's
// line ("Telefon 1"); the call list has none of its own.
std::wstring Form1AccessibleName(const AccessibleChild& child, const CaptionOf& caption);
// A meter's level as its line shows it; the others have no value.
std::optional<std::wstring> Form1AccessibleValue(const AccessibleChild& child, const CaptionOf& caption);

// The children whose name or value follow a label's text (0 for none): the label's own
// name, and the value of the meter whose level it shows.
struct CaptionFollowers {
  std::int32_t Named;
  std::int32_t Valued;
};
CaptionFollowers Form1CaptionFollowers(const wchar_t* label);

}  // namespace monitor
