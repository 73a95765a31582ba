// Where each control of TForm1 lands on a screen of a given density: the designed values
// scaled from 114 pixels per inch, aligned controls fitted into their parents.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "monitor/form1_description.h"

namespace monitor {

struct Bounds {
  std::int32_t Left, Top, Width, Height;
  bool operator==(const Bounds&) const = default;
};

struct PlacedControl {
  const ControlDescription* Control;
  Bounds Place;  // in the form's client area; a label sized by its text has width and height 0
  FontDescription Font;  // height scaled
};

// value × ppi / 114, rounded half away from zero.
std::int32_t ScaleFromDesign(std::int32_t value, std::int32_t pixelsPerInch);

// The height of a line of text in a font, as the platform measures it.
using TextHeightOf = std::function<std::int32_t(const FontDescription& scaledFont)>;

// Every control but the form, parents first; clientWidth and clientHeight are the form's
// client area at the screen's density.
std::vector<PlacedControl> ArrangeForm1(std::int32_t pixelsPerInch, std::int32_t clientWidth,
                                        std::int32_t clientHeight, const TextHeightOf& textHeight);

}  // namespace monitor
