// The clipboard's text form of a block of cells: TAB between fields, CR LF after each line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace grid {

// Lines end at CR LF, CR or LF; a final line ending adds no empty line.
std::vector<std::wstring> SplitClipboardLines(std::wstring_view text);
std::vector<std::wstring> SplitFields(std::wstring_view line);

}  // namespace grid
