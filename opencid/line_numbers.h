// The device's line numbers for a network server's line labels. A label that is a line number
// ("2") keeps it; any other label gets the lowest number that no label seen so far has, in
// the order first seen. The labels' numbers are saved as text ("POTS=1;VOIP=3"), so that a
// restart of the program gives each label the number it had.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace opencid {

class LineNumbers {
 public:
  LineNumbers() = default;
  // From what Saved() gave; malformed parts are passed over.
  explicit LineNumbers(std::string_view saved);

  std::wstring NumberOf(const std::string& label);
  std::string Saved() const;

 private:
  bool Taken(unsigned number) const;

  std::vector<std::pair<std::string, unsigned>> labels_;  // few: one per telephone line
};

}  // namespace opencid
