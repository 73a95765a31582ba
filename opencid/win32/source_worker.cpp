// Connecting, reading and reconnecting off the user-interface thread.
#include "opencid/win32/source_worker.h"

#include "common/error.h"
#include "opencid/backoff.h"
#include "opencid/keep_alive.h"
#include "opencid/line_splitter.h"
#include "opencid/modem_dialogue.h"

namespace opencid {
namespace {

constexpr ULONGLONG kModemAnswerMs = 3000;

}  // namespace

// What the thread and the control share; the thread's reference keeps it after the control
// has gone.
struct SourceWorker::Shared {
  Shared(SourceSetting source, HWND window, UINT message, LinkOpener open)
      : source(std::move(source)), open(std::move(open)), window(window), message(message) {}
  ~Shared() {
    if (wake) CloseHandle(wake);
  }

  void Run() noexcept;
  void Connection();
  void InitialiseModem(SourceLink& link, LineSplitter& splitter);
  void ReadServer(SourceLink& link, LineSplitter& splitter);
  void Report(SourceReport report);
  bool Pause(unsigned milliseconds);  // false when stopped meanwhile

  const SourceSetting source;
  const LinkOpener open;
  HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> stopping{false};
  bool heard = false;  // the current connection brought something: the pauses start over

  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE taken = CONDITION_VARIABLE_INIT;
  HWND window;  // null once the control has gone
  const UINT message;
  std::vector<SourceReport> reports;
};

namespace {

HMODULE HoldModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HoldModule), &module);
  return module;
}

}  // namespace

struct SourceWorker::ThreadStart {
  std::shared_ptr<Shared> shared;
  HMODULE module;
};

// The thread gives up its reference to the module as its very last step, so the module stays
// loaded while any of its code may still run on this thread.
DWORD WINAPI SourceWorker::ThreadEntry(void* parameter) {
  auto* start = static_cast<ThreadStart*>(parameter);
  const HMODULE module = start->module;
  start->shared->Run();
  delete start;
  FreeLibraryAndExitThread(module, 0);
}

SourceWorker::SourceWorker(SourceSetting source, HWND window, UINT message, LinkOpener open)
    : shared_(std::make_shared<Shared>(std::move(source), window, message, std::move(open))) {
  if (!shared_->wake) throw common::Error(L"cannot start the source's thread");
  auto* start = new ThreadStart{shared_, HoldModule()};
  thread_ = CreateThread(nullptr, 0, ThreadEntry, start, 0, nullptr);
  if (!thread_) {
    if (start->module) FreeLibrary(start->module);
    delete start;
    throw common::Error(L"cannot start the source's thread");
  }
}

SourceWorker::~SourceWorker() {
  AcquireSRWLockExclusive(&shared_->lock);
  shared_->window = nullptr;
  shared_->stopping = true;
  ReleaseSRWLockExclusive(&shared_->lock);
  WakeAllConditionVariable(&shared_->taken);
  SetEvent(shared_->wake);
  WaitForSingleObject(thread_, kLongestStopWaitMs);
  CloseHandle(thread_);
}

std::vector<SourceReport> SourceWorker::Take() {
  AcquireSRWLockExclusive(&shared_->lock);
  std::vector<SourceReport> reports = std::move(shared_->reports);
  shared_->reports.clear();
  ReleaseSRWLockExclusive(&shared_->lock);
  WakeAllConditionVariable(&shared_->taken);
  return reports;
}

void SourceWorker::Shared::Report(SourceReport report) {
  AcquireSRWLockExclusive(&lock);
  // A full queue waits for the control (bounded memory, no report lost); a stop ends the wait.
  while (reports.size() >= kMostReports && window && !stopping) SleepConditionVariableSRW(&taken, &lock, 250, 0);
  const bool first = reports.empty();
  reports.push_back(std::move(report));
  const HWND to = window;
  ReleaseSRWLockExclusive(&lock);
  if (first && to) PostMessageW(to, message, 0, 0);
}

bool SourceWorker::Shared::Pause(unsigned milliseconds) {
  WaitForSingleObject(wake, milliseconds);
  return !stopping;
}

void SourceWorker::Shared::Run() noexcept {
  Backoff backoff;
  while (!stopping) {
    heard = false;
    try {
      Connection();
    } catch (const common::Error& lost) {
      Report({SourceReport::Kind::Lost, {}, lost.Message()});
    } catch (...) {
      Report({SourceReport::Kind::Lost, {}, L"out of memory"});
    }
    if (heard) backoff.Reset();
    if (!Pause(backoff.NextPauseMs())) return;
  }
}

void SourceWorker::Shared::Connection() {
  auto link = open(source, stopping);
  if (stopping) return;
  LineSplitter splitter;
  if (source.kind == SourceSetting::Kind::Ncid) return ReadServer(*link, splitter);
  InitialiseModem(*link, splitter);
  char buffer[4096];
  while (!stopping) {
    const std::size_t read = link->Read(buffer, sizeof buffer);
    for (std::string& line : splitter.Feed(std::string_view(buffer, read))) {
      heard = true;
      Report({SourceReport::Kind::Line, std::move(line), {}});
    }
  }
}

// A server's lines, and the keep-alive requests that tell a silent server from a gone one.
void SourceWorker::Shared::ReadServer(SourceLink& link, LineSplitter& splitter) {
  const ULONGLONG idleMs = source.keepAliveSeconds * 1000ull;
  KeepAlive keepAlive(idleMs, idleMs / 2);
  keepAlive.Connected(GetTickCount64());
  Report({SourceReport::Kind::Ready, {}, {}});
  char buffer[4096];
  while (!stopping) {
    const std::size_t read = link.Read(buffer, sizeof buffer);
    const ULONGLONG now = GetTickCount64();
    for (std::string& line : splitter.Feed(std::string_view(buffer, read))) {
      heard = true;
      keepAlive.Heard(line, now);
      Report({SourceReport::Kind::Line, std::move(line), {}});
    }
    if (auto request = keepAlive.Due(now)) link.Write(*request + "\n");
    if (keepAlive.Dead(now)) throw common::Error(L"the server does not answer");
  }
}

// The dialogue's lines are its own; the first call may follow in the same read as its end.
void SourceWorker::Shared::InitialiseModem(SourceLink& link, LineSplitter& splitter) {
  ModemDialogue dialogue;
  link.Write(dialogue.Begin(std::string(source.init.begin(), source.init.end())) + "\r");
  ULONGLONG asked = GetTickCount64();
  char buffer[512];
  auto send = [&](const std::string& command) {
    if (command.empty()) return;
    link.Write(command + "\r");
    asked = GetTickCount64();
  };
  while (!stopping && dialogue.Current() == ModemDialogue::State::Talking) {
    if (GetTickCount64() - asked > kModemAnswerMs) {
      std::string next;
      dialogue.Silent(next);
      send(next);
      continue;
    }
    const std::size_t read = link.Read(buffer, sizeof buffer);
    for (std::string& line : splitter.Feed(std::string_view(buffer, read))) {
      if (dialogue.Current() != ModemDialogue::State::Talking) {
        Report({SourceReport::Kind::Line, std::move(line), {}});
        continue;
      }
      std::string next;
      if (dialogue.Answer(line, next) == ModemDialogue::State::Ready) {
        heard = true;
        Report({SourceReport::Kind::Ready, dialogue.Identification(), {}});
      }
      send(next);
    }
  }
  if (dialogue.Current() == ModemDialogue::State::Failed) throw common::Error(dialogue.Reason());
}

}  // namespace opencid
