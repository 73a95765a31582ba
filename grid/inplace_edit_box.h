// What the in-place editor needs of the platform's single-line edit box.
#pragma once

#include <string>

#include "grid/colour.h"
#include "grid/font.h"
#include "grid/geometry.h"
#include "grid/grid_types.h"

namespace grid {

class InplaceEditBox {
 public:
  virtual ~InplaceEditBox() = default;

  // Setting the text raises the box's change notification, as typing does.
  virtual void SetText(const std::wstring& text) = 0;
  virtual std::wstring Text() const = 0;
  virtual void SetColour(Colour colour) = 0;
  virtual void SetFont(const Font& font) = 0;
  // Recreates the box so that the new alignment takes effect.
  virtual void RecreateWithAlignment(THorzAlign alignment) = 0;
  virtual void SetBounds(Point position, Size size) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
};

}  // namespace grid
