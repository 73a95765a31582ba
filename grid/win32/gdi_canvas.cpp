#include "grid/win32/gdi_canvas.h"

#include <vector>

#include "common/checked_int.h"

namespace grid::win32 {

COLORREF ResolveColour(Colour colour) {
  return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour)) : static_cast<COLORREF>(colour);
}

HFONT CreateGdiFont(const Font& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = font.height;
  logFont.lfWeight = (font.style & font_style::Bold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (font.style & font_style::Italic) ? TRUE : FALSE;
  logFont.lfUnderline = (font.style & font_style::Underline) ? TRUE : FALSE;
  logFont.lfStrikeOut = (font.style & font_style::StrikeOut) ? TRUE : FALSE;
  logFont.lfCharSet = font.charset;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = font.pitch == FontPitch::Fixed      ? FIXED_PITCH
                             : font.pitch == FontPitch::Variable ? VARIABLE_PITCH
                                                                 : DEFAULT_PITCH;
  lstrcpynW(logFont.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&logFont);
}

namespace {

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

GdiCanvas::GdiCanvas(HDC dc)
    : dc_(dc),
      originalFont_(GetCurrentObject(dc, OBJ_FONT)),
      originalPen_(GetCurrentObject(dc, OBJ_PEN)),
      originalBrush_(GetCurrentObject(dc, OBJ_BRUSH)) {
  SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
  Unlimit();
  SelectObject(dc_, originalFont_);
  SelectObject(dc_, originalPen_);
  SelectObject(dc_, originalBrush_);
  SelectClipRgn(dc_, nullptr);
  for (HGDIOBJ object : {font_, pen_, brush_})
    if (object) DeleteObject(object);
}

void GdiCanvas::Replace(HGDIOBJ& current, HGDIOBJ next) {
  if (!next) return;
  SelectObject(dc_, next);
  if (current) DeleteObject(current);
  current = next;
}

void GdiCanvas::SetFont(const Font& font) {
  // The colour is the DC's text colour; only a change of shape needs a new font object.
  Font shape = font;
  Font oldShape = fontValue_;
  shape.colour = oldShape.colour = clBlack;
  if (!fontSet_ || !(shape == oldShape)) Replace(font_, CreateGdiFont(font));
  fontValue_ = font;
  fontSet_ = true;
  SetTextColor(dc_, ResolveColour(font.colour));
}

Size GdiCanvas::TextExtent(std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.data(), common::checked::Narrow(text.size()), &size);
  return {size.cx, size.cy};
}

void GdiCanvas::SetPen(Colour colour, std::int32_t width, PenStyle style) {
  penColour_ = colour;
  penWidth_ = width;
  penStyle_ = style;
}

void GdiCanvas::SetBrush(Colour colour, BrushStyle style) {
  brushColour_ = colour;
  brushStyle_ = style;
}

void GdiCanvas::SelectPen() {
  const int style = penStyle_ == PenStyle::Dot ? PS_DOT : PS_SOLID;
  Replace(pen_, CreatePen(style, penStyle_ == PenStyle::Dot ? 1 : penWidth_, ResolveColour(penColour_)));
}

void GdiCanvas::SelectBrush() {
  if (brushStyle_ == BrushStyle::Clear) {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
    return;
  }
  Replace(brush_, CreateSolidBrush(ResolveColour(brushColour_)));
}

void GdiCanvas::FillRect(const Rect& rect) {
  const RECT r = ToRect(rect);
  HBRUSH brush = CreateSolidBrush(ResolveColour(brushColour_));
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

void GdiCanvas::Rectangle(const Rect& rect) {
  SelectPen();
  SelectBrush();
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::Polyline(std::initializer_list<Point> points) {
  SelectPen();
  std::vector<POINT> path;
  for (const Point& p : points) path.push_back({p.x, p.y});
  ::Polyline(dc_, path.data(), common::checked::Narrow(path.size()));
}

void GdiCanvas::TextOut(Point origin, const Rect& clip, std::wstring_view text) {
  const RECT r = ToRect(clip);
  ExtTextOutW(dc_, origin.x, origin.y, ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void GdiCanvas::ClipTo(const Rect& area, const std::optional<Ring>& exclude) {
  HRGN region = CreateRectRgn(area.left, area.top, area.right, area.bottom);
  if (exclude) {
    HRGN outer = CreateRectRgn(exclude->outer.left, exclude->outer.top, exclude->outer.right, exclude->outer.bottom);
    HRGN inner = CreateRectRgn(exclude->inner.left, exclude->inner.top, exclude->inner.right, exclude->inner.bottom);
    CombineRgn(outer, outer, inner, RGN_DIFF);
    CombineRgn(region, region, outer, RGN_DIFF);
    DeleteObject(inner);
    DeleteObject(outer);
  }
  if (limit_) CombineRgn(region, region, limit_, RGN_AND);
  SelectClipRgn(dc_, region);
  DeleteObject(region);
}

void GdiCanvas::RemoveClip() { SelectClipRgn(dc_, limit_); }

void GdiCanvas::LimitTo(HRGN region) {
  Unlimit();
  limit_ = CreateRectRgn(0, 0, 0, 0);
  if (limit_) CombineRgn(limit_, region, nullptr, RGN_COPY);
  SelectClipRgn(dc_, limit_);
}

void GdiCanvas::Unlimit() {
  if (!limit_) return;
  SelectClipRgn(dc_, nullptr);
  DeleteObject(limit_);
  limit_ = nullptr;
}

}  // namespace grid::win32
