#include "common/error.h"

#include <utility>

#include "common/utf16.h"

namespace common {

Error::Error(std::wstring message, std::int32_t systemCode)
    : message_(std::move(message)), utf8_(ToUtf8(message_)), systemCode_(systemCode) {}

}  // namespace common
