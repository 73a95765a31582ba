// A hidden or shown top-level window to put grids in during the tests, and a 32-bit
// memory bitmap to render into and read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace grid::win32::testing {

class ParentWindow {
 public:
  explicit ParentWindow(bool shown = false, int width = 640, int height = 400) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"GridTestParent";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, L"GridTestParent", L"Grid", WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0), 0, 0,
                              width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~ParentWindow() { DestroyWindow(window_); }
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    original_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  }
  ~MemoryBitmap() {
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  HDC Dc() const { return dc_; }
  // Every pixel, row by row, as COLORREFs.
  std::vector<COLORREF> Pixels() const {
    GdiFlush();
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int i = 0; i < width_ * height_; ++i) pixels.push_back(ToColorRef(bits_[i]));
    return pixels;
  }
  // As a COLORREF (0x00BBGGRR).
  COLORREF At(int x, int y) const {
    GdiFlush();
    return ToColorRef(bits_[y * width_ + x]);
  }

 private:
  static COLORREF ToColorRef(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ original_;
  std::uint32_t* bits_ = nullptr;
};

inline void PumpWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace grid::win32::testing
