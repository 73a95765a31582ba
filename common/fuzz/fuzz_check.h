// How a fuzz target reports a broken rule: it names the rule and aborts, which libFuzzer
// records as a crash and saves the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace common::fuzz {

inline void Require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "fuzz target rule broken: %s\n", rule);
  std::abort();
}

}  // namespace common::fuzz
