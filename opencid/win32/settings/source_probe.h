// The settings window's "test": what a source says when asked (a server's greeting line, a
// modem's answer to ATI), or why it could not be asked.
#pragma once

#include <atomic>
#include <string>

#include "opencid/source_setting.h"

namespace opencid::settings {

// Waits a few seconds at most; gives up early when `stopping` is set. Never throws.
std::wstring ProbeSource(const SourceSetting& source, const std::atomic<bool>& stopping);

}  // namespace opencid::settings
