// What every timing program shares: a clock, the median, and the row it adds to the table
// that scripts/bench.sh prints. A row is one line: "bench" and six tab-separated fields
// (measure, figure, baseline, ratio, goal, met), ASCII only so that the table lines up.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace common::bench {

inline double Microseconds() {
  using namespace std::chrono;
  return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

inline std::string Format(const char* format, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

struct Row {
  std::string measure, figure, baseline, ratio, goal;
  bool met;
};

inline void Print(const Row& row) {
  std::printf("bench\t%s\t%s\t%s\t%s\t%s\t%s\n", row.measure.c_str(), row.figure.c_str(), row.baseline.c_str(),
              row.ratio.c_str(), row.goal.c_str(), row.met ? "yes" : "NO");
  std::fflush(stdout);
}

// A figure held to at most `most` times a baseline measured in the same run, both in `unit`;
// `how` says how they were taken ("median of 200").
inline void PrintRatio(const std::string& measure, double figure, const std::string& baselineName, double baseline,
                       const char* unit, double most, const std::string& how) {
  const double ratio = baseline > 0 ? figure / baseline : 0;
  const bool met = baseline > 0 && ratio <= most;
  Print({measure + " (" + how + ")", Format("%.1f %s", figure, unit),
         Format("%.1f %s %s", baseline, unit, baselineName.c_str()), Format("%.4g", ratio), Format("<= %g", most), met});
}

}  // namespace common::bench
