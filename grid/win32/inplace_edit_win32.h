// The in-place editor's edit box: a borderless single-line EDIT child of the grid's window.
// Its keys and characters go through TTextInplace first; its changes arrive at the grid's
// window as EN_CHANGE and are passed on by it.
#pragma once

#include <windows.h>

#include "grid/inplace_edit_box.h"

namespace grid {
class TTextInplace;
}

namespace grid::win32 {

class InplaceEditWin32 : public InplaceEditBox {
 public:
  explicit InplaceEditWin32(TTextInplace& editor) : editor_(&editor) {}
  ~InplaceEditWin32() override;
  InplaceEditWin32(const InplaceEditWin32&) = delete;
  InplaceEditWin32& operator=(const InplaceEditWin32&) = delete;

  // Creates the window, hidden, as a child of the grid's window.
  void Create(HWND grid);
  HWND Handle() const { return window_; }
  // The brush the grid's window answers WM_CTLCOLOREDIT with.
  HBRUSH Paint(HDC dc) const;
  // An EN_CHANGE from the box.
  void Changed();

  void SetText(const std::wstring& text) override;
  std::wstring Text() const override;
  void SetColour(Colour colour) override;
  void SetFont(const Font& font) override;
  void RecreateWithAlignment(THorzAlign alignment) override;
  void SetBounds(Point position, Size size) override;
  void Show() override;
  void Hide() override;
  bool Visible() const override;

 private:
  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateWindowWith(THorzAlign alignment, const RECT& bounds, bool visible, const std::wstring& text);

  TTextInplace* editor_;
  HWND parent_ = nullptr;
  HWND window_ = nullptr;
  WNDPROC editProc_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH brush_ = nullptr;
  COLORREF colour_ = RGB(255, 255, 255);
};

}  // namespace grid::win32
