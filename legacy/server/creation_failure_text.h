// The text of the "DAX Error" box that reports a control that could not be created.
#pragma once

#include <string>

namespace legacy::server {

// The failure's message, with a full stop appended when it is not empty and its last
// character sorts after the full stop (a message ending in "!" or ")" keeps its ending).
std::wstring CreationFailureText(const std::wstring& message);

}  // namespace legacy::server
