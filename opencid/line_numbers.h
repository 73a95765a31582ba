// The device's line numbers for a network server's line labels: 1, 2, 3 ... in the order the
// labels are first seen, kept for as long as the control lives.
#pragma once

#include <string>
#include <vector>

namespace opencid {

class LineNumbers {
 public:
  std::wstring NumberOf(const std::string& label) {
    std::size_t index = 0;
    while (index < labels_.size() && labels_[index] != label) ++index;
    if (index == labels_.size()) labels_.push_back(label);
    return std::to_wstring(index + 1);
  }

 private:
  std::vector<std::string> labels_;  // few: one per telephone line
};

}  // namespace opencid
