// The sender of the grid's events: the grid itself, or its in-place editor.
#pragma once

namespace grid {

class Component {
 public:
  virtual ~Component() = default;

 protected:
  Component() = default;
  Component(const Component&) = default;
  Component& operator=(const Component&) = default;
};

}  // namespace grid
