// The call log's files on a Windows disk: the current file and "<name>.1", the older one.
// Each append goes through the file system's cache to the disk (FlushFileBuffers) before it
// returns. The file is opened again at the next append after any failure, so writing
// resumes once a full disk or a read-only folder allows it; the folder is created if missing.
#pragma once

#include <windows.h>

#include <string>

#include "relay/log_store.h"

namespace relay::win32 {

class FileLogStore final : public LogStore {
 public:
  explicit FileLogStore(std::wstring path);
  ~FileLogStore() override;
  FileLogStore(const FileLogStore&) = delete;
  FileLogStore& operator=(const FileLogStore&) = delete;

  std::string Read(Which file) override;
  void Append(std::string_view bytes) override;
  void Truncate(std::uint64_t size) override;
  void Rotate() override;

  const std::wstring& Path() const { return path_; }

 private:
  HANDLE Opened();
  void Close() noexcept;

  const std::wstring path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Where the older file of the log at `path` is.
std::wstring OlderLogPath(const std::wstring& path);

// The reason of the calling thread's last failure, as the system words it.
std::wstring SystemReason(DWORD code);

}  // namespace relay::win32
