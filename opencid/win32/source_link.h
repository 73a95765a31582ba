// The byte stream of a source, opened and read on the worker thread: a TCP connection to a
// network caller-ID server, or a serial port with a modem. Failures are common::Error with a
// reason the user can read ("connection refused", "COM3: the port does not exist").
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "opencid/source_setting.h"

namespace opencid {

class SourceLink {
 public:
  virtual ~SourceLink() = default;
  // Waits at most about a quarter of a second; 0 bytes when nothing came. Throws when lost.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  virtual void Write(std::string_view bytes) = 0;
};

// Gives up when `stopping` is set while it waits.
std::unique_ptr<SourceLink> OpenLink(const SourceSetting& source, const std::atomic<bool>& stopping);

}  // namespace opencid
