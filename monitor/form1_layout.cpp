#include "monitor/form1_layout.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <stdexcept>

#include "common/checked_int.h"

namespace monitor {
namespace {

// A parent's placed rectangle and what its aligned children have left of it.
struct Container {
  const wchar_t* Name;
  Bounds Place;
  Bounds Free;
};

Bounds Inset(Bounds b, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  using namespace common::checked;
  return {Add(b.Left, left), Add(b.Top, top), std::max(0, Sub(b.Width, Add(left, right))),
          std::max(0, Sub(b.Height, Add(top, bottom)))};
}

// A group box keeps its frame and caption line free; the other kinds give all their area.
Bounds ClientOf(const Bounds& place, const PlacedControl& placed, const TextHeightOf& textHeight) {
  if (placed.Control->Kind != ControlKind::GroupBox) return place;
  constexpr std::int32_t Frame = 2;
  return Inset(place, Frame, common::checked::Add(textHeight(placed.Font), Frame), Frame, Frame);
}

Bounds TakeAligned(Bounds& free, Alignment align, std::int32_t width, std::int32_t height) {
  using namespace common::checked;
  Bounds taken = free;
  switch (align) {
    case Alignment::Top:
      taken.Height = std::min(height, free.Height);
      free = Inset(free, 0, taken.Height, 0, 0);
      break;
    case Alignment::Left:
      taken.Width = std::min(width, free.Width);
      free = Inset(free, taken.Width, 0, 0, 0);
      break;
    case Alignment::Right:
      taken.Width = std::min(width, free.Width);
      taken.Left = Sub(Add(free.Left, free.Width), taken.Width);
      free = Inset(free, 0, 0, taken.Width, 0);
      break;
    case Alignment::Client:
      free.Width = free.Height = 0;
      break;
    case Alignment::None:
      break;
  }
  return taken;
}

Container& Find(std::vector<Container>& containers, const wchar_t* name) {
  for (auto& c : containers)
    if (std::wcscmp(c.Name, name) == 0) return c;
  throw std::logic_error("a control is described before its parent");
}

int AlignOrder(Alignment align) {
  switch (align) {
    case Alignment::Top: return 0;
    case Alignment::Left: return 1;
    case Alignment::Right: return 2;
    case Alignment::Client: return 3;
    case Alignment::None: break;
  }
  return 4;
}

}  // namespace

std::int32_t ScaleFromDesign(std::int32_t value, std::int32_t pixelsPerInch) {
  const std::int64_t product = std::int64_t{value} * pixelsPerInch;
  const std::int64_t half = DesignPixelsPerInch / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / DesignPixelsPerInch
                                            : -((-product + half) / DesignPixelsPerInch);
  return common::checked::Narrow(rounded);
}

std::vector<PlacedControl> ArrangeForm1(std::int32_t pixelsPerInch, std::int32_t clientWidth,
                                        std::int32_t clientHeight, const TextHeightOf& textHeight) {
  const auto description = Form1Description();
  const Bounds client{0, 0, clientWidth, clientHeight};
  std::vector<Container> containers{{description.front().Name, client, client}};
  std::vector<PlacedControl> placed;

  const auto place = [&](const ControlDescription& control) {
    Container& parent = Find(containers, control.Parent);
    const auto scale = [&](std::int32_t v) { return ScaleFromDesign(v, pixelsPerInch); };
    FontDescription font = control.Font;
    font.Height = scale(font.Height);
    Bounds bounds{common::checked::Add(parent.Place.Left, scale(control.Left)),
                  common::checked::Add(parent.Place.Top, scale(control.Top)), scale(control.Width),
                  scale(control.Height)};
    if (control.Align != Alignment::None)
      bounds = TakeAligned(parent.Free, control.Align, bounds.Width, bounds.Height);
    placed.push_back({&control, bounds, font});
    containers.push_back({control.Name, bounds, ClientOf(bounds, placed.back(), textHeight)});
  };
  const auto isPlaced = [&](const ControlDescription& control) {
    return std::any_of(placed.begin(), placed.end(),
                       [&](const PlacedControl& p) { return p.Control == &control; });
  };

  for (const auto& control : description.subspan(1)) {
    if (isPlaced(control)) continue;
    if (control.Align == Alignment::None) {
      place(control);
      continue;
    }
    // Aligned siblings take their shares together: top, then left, right, client.
    std::vector<const ControlDescription*> siblings;
    for (const auto& other : description.subspan(1))
      if (other.Align != Alignment::None && std::wcscmp(other.Parent, control.Parent) == 0)
        siblings.push_back(&other);
    std::stable_sort(siblings.begin(), siblings.end(), [](auto* a, auto* b) {
      return AlignOrder(a->Align) < AlignOrder(b->Align);
    });
    for (const ControlDescription* sibling : siblings) place(*sibling);
  }
  return placed;
}

}  // namespace monitor
