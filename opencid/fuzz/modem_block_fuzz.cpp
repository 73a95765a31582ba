// Any bytes from a caller-ID modem, through its initialisation and then its call blocks:
// nothing may crash, and every call read has a time the call list can show.
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
  dialogue.Begin();
  for (const std::string& line : splitter.Feed(bytes)) {
    std::string send;
    if (dialogue.Current() == opencid::ModemDialogue::State::Talking) dialogue.Answer(line, send);
    if (auto call = block.Line(line))
      if (opencid::ModemCallTime(call->date, call->time, now).size() != 14) std::abort();
  }
  return 0;
}
