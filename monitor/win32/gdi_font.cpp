#include "monitor/win32/gdi_font.h"

#include <cwchar>

#include "common/error.h"

namespace monitor::win32 {

GdiFont::GdiFont(const FontDescription& font) {
  LOGFONTW log{};
  log.lfHeight = -font.Height;  // a character height, not a cell height
  log.lfWeight = FW_NORMAL;
  log.lfItalic = font.Italic ? TRUE : FALSE;
  log.lfCharSet = font.Charset;
  log.lfQuality = DEFAULT_QUALITY;
  std::wcsncpy(log.lfFaceName, font.Name, LF_FACESIZE - 1);
  font_ = CreateFontIndirectW(&log);
  if (!font_) throw common::Error(L"The font could not be created.");
}

GdiFont::~GdiFont() { DeleteObject(font_); }

std::int32_t GdiFont::LineHeight() const {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

}  // namespace monitor::win32
