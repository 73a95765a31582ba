// Reading the sources' date and time fields and writing the call list's form.
#include "opencid/call_time.h"

#include <cwchar>
#include <optional>

namespace opencid {
namespace {

// The number in exactly `digits` decimal digits at `at`, or nothing.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t digits) {
  if (text.size() < at + digits) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool Valid(const LocalTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour <= 23 &&
         t.minute >= 0 && t.minute <= 59;
}

// hhmm into the time; false when it is not one.
bool ReadClock(std::string_view time, LocalTime& into) {
  auto hour = Digits(time, 0, 2), minute = Digits(time, 2, 2);
  if (time.size() != 4 || !hour || !minute) return false;
  into.hour = *hour;
  into.minute = *minute;
  return true;
}

std::wstring TextOr(const LocalTime& read, bool complete, const LocalTime& now) {
  return CallTimeText(complete && Valid(read) ? read : now);
}

}  // namespace

std::wstring CallTimeText(const LocalTime& t) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%02d.%02d.%02d %02d:%02d", t.day % 100, t.month % 100, t.year % 100, t.hour % 100,
                t.minute % 100);
  return text;
}

std::wstring NcidCallTime(std::string_view date, std::string_view time, const LocalTime& now) {
  auto month = Digits(date, 0, 2), day = Digits(date, 2, 2), year = Digits(date, 4, 4);
  LocalTime read{};
  const bool complete = date.size() == 8 && month && day && year && ReadClock(time, read);
  if (complete) read = {*year, *month, *day, read.hour, read.minute};
  return TextOr(read, complete, now);
}

std::wstring ModemCallTime(std::string_view date, std::string_view time, const LocalTime& now) {
  auto month = Digits(date, 0, 2), day = Digits(date, 2, 2);
  LocalTime read{};
  const bool complete = date.size() == 4 && month && day && ReadClock(time, read);
  if (complete) {
    // A modem gives no year. Its date is this year's, unless that lies ahead (more than a day,
    // for clocks that differ): a late-December call read in January was last year's.
    const bool ahead = *month * 32 + *day > now.month * 32 + now.day + 1;
    read = {ahead ? now.year - 1 : now.year, *month, *day, read.hour, read.minute};
  }
  return TextOr(read, complete, now);
}

}  // namespace opencid
