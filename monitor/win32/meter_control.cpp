#include "monitor/win32/meter_control.h"

#include <commctrl.h>

#include "monitor/form1_description.h"

namespace monitor::win32 {

MeterControl::MeterControl(HWND window) : window_(window) {
  SendMessageW(window_, PBM_SETRANGE32, MeterMin, MeterMax);
  SendMessageW(window_, PBM_SETSTEP, 1, 0);
}

void MeterControl::SetPosition(std::int32_t position) {
  SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MeterControl::SetSmooth() {
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  if (style & PBS_SMOOTH) return;
  SetWindowLongPtrW(window_, GWL_STYLE, style | PBS_SMOOTH);
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace monitor::win32
