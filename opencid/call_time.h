// Call times as the call list shows them, "dd.MM.yy HH:mm", from what each source sends: a
// network server's DATE (mmddyyyy) and TIME (hhmm), a modem's DATE (MMDD) and TIME (HHMM),
// which lacks the year (the clock's, or the year before for a date that lies ahead). A field that is not a valid date or time gives way to the clock.
#pragma once

#include <string>
#include <string_view>

namespace opencid {

struct LocalTime {
  int year, month, day, hour, minute;
};

std::wstring CallTimeText(const LocalTime& time);
std::wstring NcidCallTime(std::string_view date, std::string_view time, const LocalTime& now);
std::wstring ModemCallTime(std::string_view date, std::string_view time, const LocalTime& now);

}  // namespace opencid
