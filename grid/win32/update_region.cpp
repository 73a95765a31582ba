#include "grid/win32/update_region.h"

#include <cstddef>

namespace grid::win32 {
namespace {

// Past this many pieces, checking each cell against every piece costs more than it saves.
constexpr DWORD kMostPieces = 16;

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

UpdateRegion::UpdateRegion(HWND window) : region_(CreateRectRgn(0, 0, 0, 0)) {
  waiting_ = region_ && GetUpdateRgn(window, region_, FALSE) > NULLREGION;
  if (waiting_) ReadRectangles();
  if (!rects_.empty()) return;
  RECT client{};
  GetClientRect(window, &client);
  rects_.push_back(FromRect(client));
}

UpdateRegion::~UpdateRegion() {
  if (region_) DeleteObject(region_);
}

void UpdateRegion::Validate(HWND window) const {
  if (waiting_) ValidateRgn(window, region_);
}

void UpdateRegion::ReadRectangles() {
  std::vector<std::byte> buffer(GetRegionData(region_, 0, nullptr));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (buffer.empty() || !GetRegionData(region_, static_cast<DWORD>(buffer.size()), data)) return;
  const auto* pieces = reinterpret_cast<const RECT*>(data->Buffer);
  if (data->rdh.nCount > kMostPieces)
    rects_.push_back(FromRect(data->rdh.rcBound));
  else
    for (DWORD i = 0; i < data->rdh.nCount; ++i) rects_.push_back(FromRect(pieces[i]));
}

}  // namespace grid::win32
