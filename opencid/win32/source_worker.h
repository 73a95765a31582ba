// The thread that keeps a source open: it connects (or opens and initialises the modem),
// reads its lines, notices a server that has gone silent, and after a loss tries again after
// growing pauses. It never touches the control: what happens is queued as reports (at most
// kMostReports waiting; the thread waits for the control to take them rather than grow the
// queue), and a posted message tells the control's window to take them, so the events are
// raised on the control's own thread. Stopping never waits long for the thread: one that is
// caught in a host-name lookup or a slow port finishes on its own, and holds the module
// loaded until then.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "opencid/source_setting.h"
#include "opencid/win32/source_link.h"

namespace opencid {

struct SourceReport {
  enum class Kind { Ready, Line, Lost } kind;
  // Ready: the connection is open (a modem's: initialised, with its identification as text).
  std::string text;     // Line: the line
  std::wstring reason;  // Lost: why
};

using LinkOpener = std::function<std::unique_ptr<SourceLink>(const SourceSetting&, const std::atomic<bool>& stopping)>;

class SourceWorker {
 public:
  static constexpr std::size_t kMostReports = 1024;
  static constexpr DWORD kLongestStopWaitMs = 200;

  // Posts `message` to `window` whenever reports wait to be taken. Throws common::Error when
  // no thread can be started.
  SourceWorker(SourceSetting source, HWND window, UINT message, LinkOpener open = OpenLink);
  // Asks the thread to stop and waits for it kLongestStopWaitMs at most; it posts nothing after.
  ~SourceWorker();
  SourceWorker(const SourceWorker&) = delete;
  SourceWorker& operator=(const SourceWorker&) = delete;

  std::vector<SourceReport> Take();

 private:
  struct Shared;
  struct ThreadStart;
  static DWORD WINAPI ThreadEntry(void* start);

  std::shared_ptr<Shared> shared_;
  HANDLE thread_ = nullptr;
};

}  // namespace opencid
