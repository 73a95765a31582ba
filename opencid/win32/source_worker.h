// The thread that keeps a source open: it connects (or opens and initialises the modem),
// reads its lines, and after a loss tries again after growing pauses. It never touches the
// control: what happens is queued as reports, and a posted message tells the control's
// window to take them, so the events are raised on the control's own thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "opencid/source_setting.h"

namespace opencid {

struct SourceReport {
  enum class Kind { Ready, Line, Lost } kind;
  // Ready: the connection is open (a modem's: initialised, with its identification as text).
  std::string text;     // Line: the line
  std::wstring reason;  // Lost: why
};

class SourceWorker {
 public:
  // Posts `message` to `window` whenever reports wait to be taken.
  SourceWorker(SourceSetting source, HWND window, UINT message);
  // Stops the thread and waits for it (a quarter of a second at most, or the connect slice).
  ~SourceWorker();
  SourceWorker(const SourceWorker&) = delete;
  SourceWorker& operator=(const SourceWorker&) = delete;

  std::vector<SourceReport> Take();

 private:
  void Run() noexcept;
  void Connection();
  void InitialiseModem(class SourceLink& link, class LineSplitter& splitter);
  void Report(SourceReport report);
  bool Pause(unsigned milliseconds);  // false when stopped meanwhile

  const SourceSetting source_;
  const HWND window_;
  const UINT message_;
  std::atomic<bool> stopping_{false};
  bool heard_ = false;  // the current connection brought something: the pauses start over
  HANDLE wake_;
  std::mutex lock_;
  std::vector<SourceReport> reports_;
  std::thread thread_;
};

}  // namespace opencid
