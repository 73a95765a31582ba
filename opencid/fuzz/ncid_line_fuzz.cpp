// Any bytes from a network caller-ID server, split into lines and run through a session over
// two connections: nothing may crash, and every call raised carries a line number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "opencid/line_splitter.h"
#include "opencid/ncid_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  opencid::NcidSession session(L"ncid:fuzz:3333");
  const opencid::LocalTime now{2026, 12, 8, 9, 5};
  for (int connection = 0; connection < 2; ++connection) {
    opencid::LineSplitter splitter;
    session.Connected();
    for (const std::string& line : splitter.Feed(bytes)) {
      if (line.size() > opencid::kMaxLineBytes) std::abort();
      for (const auto& call : session.Line(line, now))
        if (call.line.empty() || call.dateTime.size() != 14) std::abort();
    }
    session.Disconnected();
  }
  return 0;
}
