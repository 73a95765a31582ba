// The relay's call log: every call is appended, and on the disk, before anyone is told of it.
// The current file rotates when the next line would take it past its size limit, keeping one
// older file. Opening cuts off a torn last line, so the next call starts a line of its own.
// When the disk refuses (full, read-only folder), the call is not written, the failure is
// reported at most once a minute, and the next call tries again (after cutting away what a
// failed write may have left). The newest calls stay in memory for clients' start-up.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "opencid/ncid_line.h"
#include "relay/log_store.h"

namespace relay {

inline constexpr std::uint64_t kDefaultLogLimit = 10 * 1024 * 1024;

class CallLog {
 public:
  using Report = std::function<void(const std::wstring& message)>;

  CallLog(LogStore& store, std::uint64_t sizeLimit, std::size_t historyLength, Report report);

  // Reads the kept calls (older file first) into the history.
  void Open(std::int64_t nowSeconds);
  // False when the call could not be written.
  bool Append(const opencid::CallFields& call, std::int64_t nowSeconds);

  // The newest calls, oldest first.
  std::vector<opencid::CallFields> History() const { return {history_.begin(), history_.end()}; }
  std::uint64_t CurrentSize() const { return size_; }

 private:
  void Remember(const opencid::CallFields& call);
  void Failed(const wchar_t* what, const std::exception& failure, std::int64_t nowSeconds);

  LogStore& store_;
  const std::uint64_t sizeLimit_;
  const std::size_t historyLength_;
  Report report_;
  std::deque<opencid::CallFields> history_;
  std::uint64_t size_ = 0;  // of the current file's whole lines
  bool cutBack_ = false;  // a write failed: what it left goes before the next
  bool failing_ = false;
  std::int64_t lastReport_ = 0;
};

}  // namespace relay
