// Cleaning the device's texts into NCID fields.
#include "relay/call_fields.h"

#include <cstdio>

#include "common/utf16.h"

namespace relay {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::string Field(std::wstring_view text, std::size_t maxBytes) {
  const std::string utf8 = common::ToUtf8(text);
  std::string field;
  field.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) field += ' ';
    else if (c == '*') field += "\xE2\x88\x97";  // U+2217
    else field += c;
  }
  if (field.size() > maxBytes) {
    std::size_t cut = maxBytes;
    while (cut > 0 && IsContinuation(static_cast<unsigned char>(field[cut]))) --cut;
    field.resize(cut);
  }
  return field;
}

bool TwoDigits(std::wstring_view text, std::size_t at, int& value) {
  if (at + 2 > text.size() || text[at] < L'0' || text[at] > L'9' || text[at + 1] < L'0' || text[at + 1] > L'9')
    return false;
  value = (text[at] - L'0') * 10 + (text[at + 1] - L'0');
  return true;
}

// "dd.MM.yy HH:mm", as the device and the call list write it.
bool ReadDeviceTime(std::wstring_view text, opencid::LocalTime& time) {
  int year = 0;
  if (text.size() != 14 || text[2] != L'.' || text[5] != L'.' || text[8] != L' ' || text[11] != L':') return false;
  if (!TwoDigits(text, 0, time.day) || !TwoDigits(text, 3, time.month) || !TwoDigits(text, 6, year) ||
      !TwoDigits(text, 9, time.hour) || !TwoDigits(text, 12, time.minute))
    return false;
  time.year = 2000 + year;
  return time.day >= 1 && time.day <= 31 && time.month >= 1 && time.month <= 12 && time.hour < 24 &&
         time.minute < 60;
}

}  // namespace

opencid::CallFields FieldsOfDeviceCall(const device::CallerId& call, const opencid::LocalTime& now) {
  opencid::LocalTime time{};
  if (!ReadDeviceTime(call.dateTime, time)) time = now;
  char date[16], clock[8];
  std::snprintf(date, sizeof date, "%02d%02d%04d", time.month % 100, time.day % 100, time.year % 10000);
  std::snprintf(clock, sizeof clock, "%02d%02d", time.hour % 100, time.minute % 100);
  return {date, clock, Field(call.line, kMaxLineLabelBytes), Field(call.phoneNumber, kMaxNumberBytes),
          Field(call.otherText, kMaxNameBytes)};
}

}  // namespace relay
