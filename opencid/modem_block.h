// The call block that a caller-ID modem prints between the first and second ring (or before
// the first, in some countries):
//   RING / DATE = MMDD / TIME = HHMM / NMBR = number / NAME = name / RING
// Its lines come in any order; the number may be labelled DDN_NMBR, and a number the network
// withholds reads P, O or A, shown as the server shows it: PRIVATE, OUT-OF-AREA, ANONYMOUS
// (and an empty one as NO-NUMBER).
// A block is complete once it has all four fields, or at the first other line once it has a
// number (a modem that sends no name); a field it already has starts the next block, except a
// second number, which masks the first ("NMBR = O" after it) and is passed over. A block cut
// before its number is dropped at the next other line. A call whose second ring comes with no
// block at all (a line without the caller-ID service, a caller whose network sends none) is
// raised then, once, as NO-NUMBER.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace opencid {

struct ModemCall {
  std::string date, time, number, name;
};

class ModemBlock {
 public:
  // Rings further apart than this belong to different calls.
  static constexpr unsigned long long kRingGapMs = 8000;

  // One line of the modem, read at `ms` on a millisecond clock.
  std::optional<ModemCall> Line(std::string_view line, unsigned long long ms = 0);
  void Reset() { *this = ModemBlock(); }

 private:
  struct Pending {
    ModemCall call;
    bool hasDate = false, hasTime = false, hasNumber = false, hasName = false;
    bool Empty() const { return !hasDate && !hasTime && !hasNumber && !hasName; }
    bool Complete() const { return hasDate && hasTime && hasNumber && hasName; }
  };

  std::optional<ModemCall> Field(std::string_view key, std::string_view value, unsigned long long ms);
  std::optional<ModemCall> Ring(unsigned long long ms);
  std::optional<ModemCall> Take(unsigned long long ms);

  Pending block_;
  bool ringing_ = false, raisedThisCall_ = false, raisedOnce_ = false;
  unsigned rings_ = 0;
  unsigned long long lastRingMs_ = 0, raisedMs_ = 0;
};

}  // namespace opencid
