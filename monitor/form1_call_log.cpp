// The call log: every call becomes the newest of at most 11 rows, is counted, announced by
// a balloon and a beep; "Listeyi sil" empties the list.
#include "common/checked_int.h"
#include "monitor/call_list.h"
#include "monitor/form1_handlers.h"
#include "monitor/form1_texts.h"
#include "monitor/tray_balloon.h"

namespace monitor {

void TForm1Handlers::Tevrin51CallerID(IDeviceControl&, const CallerIdArgs& call) {
  ICallList& grid = c_.TextGrid1;
  while (grid.RowCount() > RowsKeptBeforeCall) grid.DeleteRow(0);
  grid.AddRow();
  SetCallCount(common::checked::Add(callCount_, 1));
  ShowCall(common::checked::Sub(grid.RowCount(), 1), call);
  c_.TrayIcon1.ShowBalloonHint(texts::BalloonTitlePrefix + std::to_wstring(callCount_),
                               call.PhoneNumber, BalloonIcon::Info, BalloonSeconds);
  Tbip::Start(beeps_, beepMutex_);
}

// The six cells in column order, repainted once at the end.
void TForm1Handlers::ShowCall(std::int32_t row, const CallerIdArgs& call) {
  ICallList& grid = c_.TextGrid1;
  grid.BeginUpdate();
  grid.SetCell(0, row, std::to_wstring(callCount_));
  grid.SetCell(1, row, call.Line);
  grid.SetCell(2, row, call.PhoneNumber);
  grid.SetCell(3, row, call.DateTime);
  grid.SetCell(4, row, call.DeviceID);
  grid.SetCell(5, row, call.OtherText);
  grid.EndUpdate();
}

void TForm1Handlers::Listeyisil1Click() {
  ICallList& grid = c_.TextGrid1;
  while (grid.RowCount() > 0) grid.DeleteRow(0);
  SetCallCount(0);
}

}  // namespace monitor
