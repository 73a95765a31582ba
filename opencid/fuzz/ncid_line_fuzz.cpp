// Any bytes from a network caller-ID server, split into lines and run through a session over
// two connections and the keep-alive watch: nothing may crash, every call raised carries a
// line number, and the saved line numbers read back as they were.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "opencid/keep_alive.h"
#include "opencid/line_numbers.h"
#include "opencid/line_splitter.h"
#include "opencid/ncid_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  opencid::NcidSession session(L"ncid:fuzz:3333");
  const opencid::LocalTime now{2026, 12, 8, 9, 5};
  for (int connection = 0; connection < 2; ++connection) {
    opencid::LineSplitter splitter;
    opencid::KeepAlive keepAlive(2000, 1000);
    session.Connected();
    keepAlive.Connected(0);
    std::uint64_t ms = 0;
    for (const std::string& line : splitter.Feed(bytes)) {
      if (line.size() > opencid::kMaxLineBytes) std::abort();
      ms += line.size() * 100;
      keepAlive.Heard(line, ms);
      if (keepAlive.Due(ms + 2000) && keepAlive.Dead(ms + 2000)) std::abort();
      for (const auto& call : session.Line(line, now))
        if (call.line.empty() || call.dateTime.size() != 14) std::abort();
    }
    session.Disconnected();
  }
  const std::string saved = session.SavedLines();
  if (opencid::LineNumbers(saved).Saved() != saved) std::abort();
  return 0;
}
