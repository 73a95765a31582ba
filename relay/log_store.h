// What the call log needs of the file system: the current file and one older file, read
// whole, appended to durably (on the disk, not only in a cache, when Append returns), cut
// back, and rotated. Every failure throws common::Error with its reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace relay {

class LogStore {
 public:
  enum class Which { Current, Older };

  virtual ~LogStore() = default;
  // Empty when the file does not exist.
  virtual std::string Read(Which file) = 0;
  virtual void Append(std::string_view bytes) = 0;
  virtual void Truncate(std::uint64_t size) = 0;
  // The current file becomes the older one (replacing it); a new current file is empty.
  virtual void Rotate() = 0;
};

}  // namespace relay
