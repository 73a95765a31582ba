// Connecting, reading and reconnecting off the user-interface thread.
#include "opencid/win32/source_worker.h"

#include "common/error.h"
#include "opencid/backoff.h"
#include "opencid/line_splitter.h"
#include "opencid/modem_dialogue.h"
#include "opencid/win32/source_link.h"

namespace opencid {
namespace {

constexpr DWORD kModemAnswerMs = 3000;

}  // namespace

SourceWorker::SourceWorker(SourceSetting source, HWND window, UINT message)
    : source_(std::move(source)), window_(window), message_(message), wake_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] { Run(); });
}

SourceWorker::~SourceWorker() {
  stopping_ = true;
  SetEvent(wake_);
  thread_.join();
  CloseHandle(wake_);
}

std::vector<SourceReport> SourceWorker::Take() {
  std::lock_guard<std::mutex> hold(lock_);
  return std::move(reports_);
}

void SourceWorker::Report(SourceReport report) {
  bool first;
  {
    std::lock_guard<std::mutex> hold(lock_);
    first = reports_.empty();
    reports_.push_back(std::move(report));
  }
  if (first) PostMessageW(window_, message_, 0, 0);
}

bool SourceWorker::Pause(unsigned milliseconds) {
  WaitForSingleObject(wake_, milliseconds);
  return !stopping_;
}

void SourceWorker::Run() noexcept {
  Backoff backoff;
  while (!stopping_) {
    heard_ = false;
    try {
      Connection();
    } catch (const common::Error& lost) {
      Report({SourceReport::Kind::Lost, {}, lost.Message()});
    } catch (...) {
      Report({SourceReport::Kind::Lost, {}, L"out of memory"});
    }
    if (heard_) backoff.Reset();
    if (!Pause(backoff.NextPauseMs())) return;
  }
}

void SourceWorker::Connection() {
  auto link = OpenLink(source_, stopping_);
  LineSplitter splitter;
  if (source_.kind == SourceSetting::Kind::Modem) InitialiseModem(*link, splitter);
  else Report({SourceReport::Kind::Ready, {}, {}});
  char buffer[4096];
  while (!stopping_) {
    const std::size_t read = link->Read(buffer, sizeof buffer);
    for (std::string& line : splitter.Feed(std::string_view(buffer, read))) {
      heard_ = true;
      Report({SourceReport::Kind::Line, std::move(line), {}});
    }
  }
}

// The dialogue's lines are its own; the first call may follow in the same read as its end.
void SourceWorker::InitialiseModem(SourceLink& link, LineSplitter& splitter) {
  ModemDialogue dialogue;
  link.Write(dialogue.Begin() + "\r");
  DWORD asked = GetTickCount();
  char buffer[512];
  while (!stopping_ && dialogue.Current() == ModemDialogue::State::Talking) {
    if (GetTickCount() - asked > kModemAnswerMs)
      throw common::Error(L"the modem does not answer " + std::wstring(dialogue.Command().begin(), dialogue.Command().end()));
    const std::size_t read = link.Read(buffer, sizeof buffer);
    for (std::string& line : splitter.Feed(std::string_view(buffer, read))) {
      if (dialogue.Current() != ModemDialogue::State::Talking) {
        Report({SourceReport::Kind::Line, std::move(line), {}});
        continue;
      }
      std::string send;
      if (dialogue.Answer(line, send) == ModemDialogue::State::Ready) {
        heard_ = true;
        Report({SourceReport::Kind::Ready, dialogue.Identification(), {}});
      }
      if (!send.empty()) {
        link.Write(send + "\r");
        asked = GetTickCount();
      }
    }
  }
  if (dialogue.Current() == ModemDialogue::State::Failed) throw common::Error(dialogue.Reason());
}

}  // namespace opencid
