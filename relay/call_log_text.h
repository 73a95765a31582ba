// The call log's text: one call a line, as a network caller-ID server's call log keeps it
// ("CID: *DATE*...*NAME*...*", UTF-8, LF), so that the NCID tools read it. Reading takes
// only whole lines: a last line without its end was torn by a process killed while writing
// and is never taken for a call; lines of other types or that are not well formed are passed
// over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "opencid/ncid_line.h"

namespace relay {

std::string LogLine(const opencid::CallFields& call);
std::vector<opencid::CallFields> ReadCallLog(std::string_view text);
// The length of the whole lines at the start of `text`.
std::size_t WholeLinesLength(std::string_view text);

}  // namespace relay
