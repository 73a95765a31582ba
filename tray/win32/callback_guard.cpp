// The process's handler of failures caught at system callbacks.
#include "tray/win32/callback_guard.h"

#include <utility>

namespace tray {
namespace {

FailureHandler& Handler() {
  static FailureHandler handler;
  return handler;
}

}  // namespace

void SetFailureHandler(FailureHandler handler) { Handler() = std::move(handler); }

void ReportFailure(std::exception_ptr failure) noexcept {
  try {
    if (Handler()) Handler()(failure);
  } catch (...) {
    // A handler that fails itself has nowhere further to report to.
  }
}

}  // namespace tray
