// Any bytes from a caller-ID modem, through its initialisation (a "." line standing for a
// command left unanswered) and then its call blocks and rings, on a clock that each line moves
// by its length in seconds: nothing may crash, and every call read has a number and a time the
// call list can show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "opencid/call_time.h"
#include "opencid/line_splitter.h"
#include "opencid/modem_block.h"
#include "opencid/modem_dialogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  opencid::LineSplitter splitter;
  opencid::ModemDialogue dialogue;
  opencid::ModemBlock block;
  const opencid::LocalTime now{2026, 12, 8, 9, 5};
  dialogue.Begin("AT+GCI=B5");
  unsigned long long ms = 0;
  for (const std::string& line : splitter.Feed(bytes)) {
    std::string send;
    if (dialogue.Current() == opencid::ModemDialogue::State::Talking) {
      if (line == ".") dialogue.Silent(send);
      else dialogue.Answer(line, send);
    }
    ms += line.size() * 1000;
    if (auto call = block.Line(line, ms))
      if (call->number.empty() || opencid::ModemCallTime(call->date, call->time, now).size() != 14) std::abort();
  }
  return 0;
}
