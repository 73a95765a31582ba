// Gathering a modem's call block field by field, and counting its rings.
#include "opencid/modem_block.h"

namespace opencid {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

struct FieldText {
  std::string_view key, value;
};

// "KEY = value" (blanks around "=" optional), or nothing.
std::optional<FieldText> ReadField(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return FieldText{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The network's letters for a withheld number, in the words a server uses; an empty one is
// no number at all.
std::string NumberText(std::string_view number) {
  if (number.empty()) return "NO-NUMBER";
  if (number == "P") return "PRIVATE";
  if (number == "O") return "OUT-OF-AREA";
  if (number == "A") return "ANONYMOUS";
  return std::string(number);
}

}  // namespace

std::optional<ModemCall> ModemBlock::Take(unsigned long long ms) {
  if (!block_.hasNumber) return std::nullopt;
  ModemCall call = std::move(block_.call);
  block_ = {};
  raisedThisCall_ = raisedOnce_ = true;
  raisedMs_ = ms;
  return call;
}

std::optional<ModemCall> ModemBlock::Field(std::string_view key, std::string_view value, unsigned long long ms) {
  if (key == "DDN_NMBR") key = "NMBR";
  if (key == "NMBR" && block_.hasNumber) return std::nullopt;  // the first number stands
  const bool again = (key == "DATE" && block_.hasDate) || (key == "TIME" && block_.hasTime) ||
                     (key == "NAME" && block_.hasName);
  std::optional<ModemCall> previous;
  if (again) {
    previous = Take(ms);
    block_ = {};
  }
  if (key == "DATE") {
    block_.call.date = value;
    block_.hasDate = true;
  } else if (key == "TIME") {
    block_.call.time = value;
    block_.hasTime = true;
  } else if (key == "NMBR") {
    block_.call.number = NumberText(value);
    block_.hasNumber = true;
  } else {
    block_.call.name = value;
    block_.hasName = true;
  }
  if (previous) return previous;
  return block_.Complete() ? Take(ms) : std::nullopt;
}

std::optional<ModemCall> ModemBlock::Ring(unsigned long long ms) {
  if (!ringing_ || ms - lastRingMs_ > kRingGapMs) {
    // A new call; a block just before its first ring is its own.
    rings_ = 0;
    raisedThisCall_ = raisedOnce_ && ms - raisedMs_ <= kRingGapMs;
  }
  ringing_ = true;
  lastRingMs_ = ms;
  ++rings_;
  if (auto call = Take(ms)) return call;
  block_ = {};
  if (rings_ < 2 || raisedThisCall_) return std::nullopt;
  ModemCall unknown{{}, {}, "NO-NUMBER", {}};
  raisedThisCall_ = raisedOnce_ = true;
  raisedMs_ = ms;
  return unknown;
}

std::optional<ModemCall> ModemBlock::Line(std::string_view line, unsigned long long ms) {
  const auto field = ReadField(line);
  if (field) {
    const std::string_view key = field->key;
    if (key == "DATE" || key == "TIME" || key == "NMBR" || key == "DDN_NMBR" || key == "NAME")
      return Field(key, field->value, ms);
    return std::nullopt;  // another field of the block (MESG, ...)
  }
  const std::string_view text = Trim(line);
  if (text == "RING") return Ring(ms);
  if (text.empty() && !block_.hasNumber) return std::nullopt;
  std::optional<ModemCall> call = Take(ms);
  block_ = {};
  return call;
}

}  // namespace opencid
