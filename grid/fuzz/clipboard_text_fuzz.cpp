// The clipboard text parse: the input (UTF-8) split into lines and each line into fields
// must give back exactly the text it came from, line endings and tabs aside.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/fuzz/fuzz_check.h"
#include "common/utf16.h"
#include "grid/clipboard_text.h"

using common::fuzz::Require;

namespace {

// The line endings of the text, CR LF counted once.
std::size_t LineEndings(const std::wstring& text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' || text[i] == L'\r') ++count;
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = common::FromUtf8({reinterpret_cast<const char*>(data), size});
  const auto lines = grid::SplitClipboardLines(text);
  const bool openLast = !text.empty() && text.back() != L'\n' && text.back() != L'\r';
  Require(lines.size() == LineEndings(text) + (openLast ? 1 : 0), "one line per line ending, and the open last line");

  std::wstring rest = text;
  for (const std::wstring& line : lines) {
    Require(line.find_first_of(L"\r\n") == std::wstring::npos, "no line ending inside a line");
    Require(rest.compare(0, line.size(), line) == 0, "the lines come in order, unchanged");
    rest.erase(0, line.size());
    const std::size_t ending = rest.compare(0, 2, L"\r\n") == 0 ? 2 : rest.empty() ? 0 : 1;
    rest.erase(0, ending);

    const auto fields = grid::SplitFields(line);
    std::wstring joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      Require(fields[i].find(L'\t') == std::wstring::npos, "no tab inside a field");
      joined += (i ? L"\t" : L"") + fields[i];
    }
    Require(joined == line, "the fields joined by tabs give the line back");
  }
  Require(rest.empty(), "nothing of the text is lost");
  return 0;
}
