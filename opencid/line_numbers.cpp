// Numbering the server's line labels and saving the numbers.
#include "opencid/line_numbers.h"

namespace opencid {
namespace {

constexpr unsigned kHighestLine = 9999;
constexpr std::size_t kMostLabels = 64;  // a server that invents labels cannot grow the list for ever

// The number a label that is a line number stands for; 0 when it is not one.
unsigned LineNumberIn(std::string_view label) {
  if (label.empty() || label.size() > 4 || label[0] == '0') return 0;
  unsigned number = 0;
  for (char c : label) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number;
}

}  // namespace

LineNumbers::LineNumbers(std::string_view saved) {
  while (!saved.empty()) {
    const std::size_t end = saved.find(';');
    const std::string_view part = saved.substr(0, end);
    saved = end == std::string_view::npos ? std::string_view() : saved.substr(end + 1);
    const std::size_t equals = part.rfind('=');
    if (equals == std::string_view::npos || labels_.size() == kMostLabels) continue;
    const unsigned number = LineNumberIn(part.substr(equals + 1));
    if (number != 0) labels_.emplace_back(std::string(part.substr(0, equals)), number);
  }
}

bool LineNumbers::Taken(unsigned number) const {
  for (const auto& [label, taken] : labels_)
    if (taken == number) return true;
  return false;
}

std::wstring LineNumbers::NumberOf(const std::string& label) {
  for (const auto& [known, number] : labels_)
    if (known == label) return std::to_wstring(number);
  unsigned number = LineNumberIn(label);
  if (number == 0) {
    number = 1;
    while (Taken(number) && number < kHighestLine) ++number;
  }
  if (labels_.size() < kMostLabels) labels_.emplace_back(label, number);
  return std::to_wstring(number);
}

std::string LineNumbers::Saved() const {
  std::string text;
  for (const auto& [label, number] : labels_)
    if (label.find_first_of(";=") == std::string::npos)  // would not read back
      text += (text.empty() ? "" : ";") + label + "=" + std::to_string(number);
  return text;
}

}  // namespace opencid
