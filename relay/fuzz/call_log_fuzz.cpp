// Any bytes as a call log, torn at any point: nothing may crash, every call read back writes
// the same line again, and a torn last line never adds a call.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fuzz/fuzz_check.h"
#include "relay/call_log_text.h"

using common::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto calls = relay::ReadCallLog(text);
  for (const auto& call : calls) {
    const auto again = relay::ReadCallLog(relay::LogLine(call));
    Require(again.size() == 1 && again.front() == call, "a call read back is written the same");
  }
  const std::size_t whole = relay::WholeLinesLength(text);
  Require(whole == 0 || text[whole - 1] == '\n', "whole lines end with a line end");
  Require(relay::ReadCallLog(text.substr(0, whole)) == calls, "a torn last line adds no call");
  return 0;
}
