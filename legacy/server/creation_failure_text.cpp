#include "legacy/server/creation_failure_text.h"

namespace legacy::server {

std::wstring CreationFailureText(const std::wstring& message) {
  if (!message.empty() && message.back() > L'.') return message + L'.';
  return message;
}

}  // namespace legacy::server
