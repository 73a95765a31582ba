// The call block that a caller-ID modem prints between the first and second ring:
//   RING / DATE = MMDD / TIME = HHMM / NMBR = number / NAME = name / RING
// A block is complete with its NAME after its NMBR, or at the first other line once NMBR is
// known (a modem that sends no name); a new DATE or a second NMBR starts the next block. A
// block cut before its NMBR (a lost line, a garbled field) is dropped at the next other line.
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
  std::optional<ModemCall> Line(std::string_view line);
  void Reset() { block_ = {}; }

 private:
  std::optional<ModemCall> Take();

  struct Pending {
    ModemCall call;
    bool hasNumber = false, hasName = false;
  } block_;
};

}  // namespace opencid
