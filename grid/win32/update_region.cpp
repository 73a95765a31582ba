#include "grid/win32/update_region.h"

#include <cstddef>

namespace grid::win32 {
namespace {

// Past this many pieces, checking each cell against every piece costs more than it saves.
constexpr DWORD kMostPieces = 16;

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

UpdateRegion::UpdateRegion(HWND window) {
  ReadRegion(window);
  if (!rects_.empty()) return;
  RECT client{};
  GetClientRect(window, &client);
  rects_.push_back(FromRect(client));
}

void UpdateRegion::ReadRegion(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (!region) return;
  if (GetUpdateRgn(window, region, FALSE) > NULLREGION) {
    std::vector<std::byte> buffer(GetRegionData(region, 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!buffer.empty() && GetRegionData(region, static_cast<DWORD>(buffer.size()), data)) {
      const auto* pieces = reinterpret_cast<const RECT*>(data->Buffer);
      if (data->rdh.nCount > kMostPieces)
        rects_.push_back(FromRect(data->rdh.rcBound));
      else
        for (DWORD i = 0; i < data->rdh.nCount; ++i) rects_.push_back(FromRect(pieces[i]));
    }
  }
  DeleteObject(region);
}

}  // namespace grid::win32
