// Texts cut to what the shell's record holds.
#include "tray/notify_icon_record.h"

namespace tray {

std::wstring CutText(std::wstring_view text, std::size_t maxLength) {
  if (text.size() <= maxLength) return std::wstring(text);
  std::size_t length = maxLength;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;  // a lead surrogate alone
  return std::wstring(text.substr(0, length));
}

}  // namespace tray
