// The grid's canvas over a GDI device context: fonts with their character set, pens, brushes,
// clip regions, clipped transparent text. System colours are resolved at draw time.
#pragma once

#include <windows.h>

#include "grid/canvas.h"

namespace grid::win32 {

class GdiCanvas : public Canvas {
 public:
  // Draws on dc, which must outlive the canvas; the dc's original objects are put back at
  // destruction.
  explicit GdiCanvas(HDC dc);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  HDC Dc() const { return dc_; }

  void SetFont(const Font& font) override;
  Size TextExtent(std::wstring_view text) override;
  void SetPen(Colour colour, std::int32_t width, PenStyle style) override;
  void SetBrush(Colour colour, BrushStyle style) override;
  void FillRect(const Rect& rect) override;
  void Rectangle(const Rect& rect) override;
  void Polyline(std::initializer_list<Point> points) override;
  void TextOut(Point origin, const Rect& clip, std::wstring_view text) override;
  void ClipTo(const Rect& area, const std::optional<Ring>& exclude) override;
  void RemoveClip() override;

  // Keeps everything drawn, whatever the clipping asked for, inside region (copied) until
  // Unlimit: a paint outside a paint message draws only what waits to be painted.
  void LimitTo(HRGN region);
  void Unlimit();

 private:
  // Pens and brushes are created when something is drawn with them, so the system colours
  // they use are resolved then.
  void SelectPen();
  void SelectBrush();
  void Replace(HGDIOBJ& current, HGDIOBJ next);

  HDC dc_;
  HGDIOBJ originalFont_;
  HGDIOBJ originalPen_;
  HGDIOBJ originalBrush_;
  HGDIOBJ font_ = nullptr;
  HGDIOBJ pen_ = nullptr;
  HGDIOBJ brush_ = nullptr;
  HRGN limit_ = nullptr;
  Font fontValue_;
  bool fontSet_ = false;
  Colour penColour_ = clBlack;
  std::int32_t penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  Colour brushColour_ = clWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
};

// A plain colour as it is, a system colour as the system shows it now.
COLORREF ResolveColour(Colour colour);

// A GDI font for the description (its colour aside); the caller deletes it.
HFONT CreateGdiFont(const Font& font);

}  // namespace grid::win32
