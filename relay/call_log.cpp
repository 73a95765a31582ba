// Appending to the call log, rotating it and riding out a refusing disk.
#include "relay/call_log.h"

#include "common/error.h"
#include "common/utf16.h"
#include "relay/call_log_text.h"

namespace relay {
namespace {

constexpr std::int64_t kReportPeriodSeconds = 60;

std::wstring Reason(const std::exception& failure) {
  if (const auto* error = dynamic_cast<const common::Error*>(&failure)) return error->Message();
  return common::FromUtf8(failure.what());
}

}  // namespace

CallLog::CallLog(LogStore& store, std::uint64_t sizeLimit, std::size_t historyLength, Report report)
    : store_(store), sizeLimit_(sizeLimit), historyLength_(historyLength), report_(std::move(report)) {}

void CallLog::Open(std::int64_t nowSeconds) {
  try {
    for (const auto& call : ReadCallLog(store_.Read(LogStore::Which::Older))) Remember(call);
    const std::string current = store_.Read(LogStore::Which::Current);
    for (const auto& call : ReadCallLog(current)) Remember(call);
    size_ = WholeLinesLength(current);
    if (size_ != current.size()) store_.Truncate(size_);
  } catch (const std::exception& failure) {
    Failed(L"read", failure, nowSeconds);
  }
}

bool CallLog::Append(const opencid::CallFields& call, std::int64_t nowSeconds) {
  Remember(call);
  const std::string line = LogLine(call);
  try {
    // A failed write may have left part of a line behind.
    if (cutBack_) store_.Truncate(size_);
    if (size_ > 0 && size_ + line.size() > sizeLimit_) {
      store_.Rotate();
      size_ = 0;
    }
    store_.Append(line);
  } catch (const std::exception& failure) {
    cutBack_ = true;
    Failed(L"written", failure, nowSeconds);
    return false;
  }
  size_ += line.size();
  cutBack_ = false;
  if (failing_) {
    failing_ = false;
    report_(L"The call log is written again.");
  }
  return true;
}

void CallLog::Remember(const opencid::CallFields& call) {
  if (historyLength_ == 0) return;
  if (history_.size() == historyLength_) history_.pop_front();
  history_.push_back(call);
}

void CallLog::Failed(const wchar_t* what, const std::exception& failure, std::int64_t nowSeconds) {
  const bool firstFailure = !failing_;
  failing_ = true;
  if (!firstFailure && nowSeconds - lastReport_ < kReportPeriodSeconds) return;
  lastReport_ = nowSeconds;
  report_(L"The call log cannot be " + std::wstring(what) + L": " + Reason(failure));
}

}  // namespace relay
