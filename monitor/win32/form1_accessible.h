// TForm1's accessible object: what a screen reader finds on the window, whose labels and group
// boxes are drawn text. It reads the window through IForm1Readout, on the window's thread,
// and only while the window lives.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "grid/win32/window_accessible.h"

namespace monitor::win32 {

class IForm1Readout {
 public:
  virtual ~IForm1Readout() = default;
  virtual std::wstring LabelCaption(const wchar_t* label) const = 0;
  // Where a control lies in the window's client area; nullopt for one that is not there.
  virtual std::optional<RECT> PlaceOf(const wchar_t* control) const = 0;
  // A control's child window, nullptr for drawn ones.
  virtual HWND WindowOf(const wchar_t* control) const = 0;
};

class Form1Accessible : public grid::win32::WindowAccessible {
 public:
  Form1Accessible(HWND window, const IForm1Readout& form) : WindowAccessible(window), form_(form) {}

 protected:
  std::int32_t ChildCount() const override;
  std::wstring Name(std::int32_t child) const override;
  std::optional<std::wstring> Value(std::int32_t child) const override;
  long Role(std::int32_t child) const override;
  long State(std::int32_t child) const override;
  std::optional<RECT> Place(std::int32_t child) const override;
  HWND ChildWindow(std::int32_t child) const override;

 private:
  const IForm1Readout& form_;
};

}  // namespace monitor::win32
