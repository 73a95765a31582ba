// Gathering a modem's call block field by field.
#include "opencid/modem_block.h"

namespace opencid {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

struct Field {
  std::string_view key, value;
};

// "KEY = value" (blanks around "=" optional), or nothing.
std::optional<Field> ReadField(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Field{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

}  // namespace

std::optional<ModemCall> ModemBlock::Take() {
  if (!block_.hasNumber) return std::nullopt;
  ModemCall call = std::move(block_.call);
  block_ = {};
  return call;
}

std::optional<ModemCall> ModemBlock::Line(std::string_view line) {
  const auto field = ReadField(line);
  const std::string_view key = field ? field->key : std::string_view();
  if (key == "DATE" || key == "TIME" || key == "NMBR" || key == "NAME") {
    std::optional<ModemCall> previous;
    if (key == "DATE" || (key == "NMBR" && block_.hasNumber)) {
      previous = Take();
      block_ = {};
    }
    if (key == "DATE") block_.call.date = field->value;
    if (key == "TIME") block_.call.time = field->value;
    if (key == "NMBR") {
      block_.call.number = field->value;
      block_.hasNumber = true;
    }
    if (key == "NAME") {
      block_.call.name = field->value;
      block_.hasName = true;
    }
    if (previous) return previous;
    return block_.hasNumber && block_.hasName ? Take() : std::nullopt;
  }
  if (field) return std::nullopt;  // another field of the block (MESG, ...)
  if (Trim(line).empty() && !block_.hasNumber) return std::nullopt;
  std::optional<ModemCall> call = Take();
  block_ = {};
  return call;
}

}  // namespace opencid
