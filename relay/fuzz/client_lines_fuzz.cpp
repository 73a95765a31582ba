// Any bytes from a client, in two pieces: nothing may crash, only keep-alive answers come
// back, and once a line passes the bound the client is dropped.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fuzz/fuzz_check.h"
#include "opencid/ncid_server_lines.h"
#include "relay/client_input.h"

using common::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  relay::ClientInput input;
  const std::size_t half = size / 2;
  for (std::string_view piece : {bytes.substr(0, half), bytes.substr(half)}) {
    const auto outcome = input.Feed(piece);
    for (const auto& answer : outcome.answers) Require(answer == opencid::kKeepAliveAnswer, "only keep-alive answers");
    if (outcome.drop) break;
  }
  bool longLine = false;
  std::size_t run = 0;
  for (char c : bytes) {
    run = c == '\n' ? 0 : run + 1;
    longLine = longLine || run > relay::kMaxClientLineBytes;
  }
  if (longLine) {
    relay::ClientInput whole;
    Require(whole.Feed(bytes).drop, "a line past the bound drops the client");
  }
  return 0;
}
