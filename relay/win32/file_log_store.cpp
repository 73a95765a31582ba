// Reading, appending durably, cutting back and rotating the call log's files.
#include "relay/win32/file_log_store.h"

#include "common/error.h"

namespace relay::win32 {
namespace {

[[noreturn]] void Fail(const std::wstring& what) {
  const DWORD code = GetLastError();
  throw common::Error(what + L": " + SystemReason(code), static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)));
}

void CreateFolders(const std::wstring& path) {
  for (std::size_t slash = path.find_first_of(L"\\/", 3); slash != std::wstring::npos;
       slash = path.find_first_of(L"\\/", slash + 1))
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}

}  // namespace

std::wstring OlderLogPath(const std::wstring& path) { return path + L".1"; }

std::wstring SystemReason(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = text ? text : L"error " + std::to_wstring(code);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
    reason.pop_back();
  return reason;
}

FileLogStore::FileLogStore(std::wstring path) : path_(std::move(path)) {}

FileLogStore::~FileLogStore() { Close(); }

std::string FileLogStore::Read(Which which) {
  const std::wstring path = which == Which::Current ? path_ : OlderLogPath(path_);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
    SetLastError(code);
    Fail(path);
  }
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

void FileLogStore::Append(std::string_view bytes) {
  HANDLE file = Opened();
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size() ||
      !FlushFileBuffers(file)) {
    const DWORD code = GetLastError() ? GetLastError() : ERROR_DISK_FULL;
    Close();
    SetLastError(code);
    Fail(path_);
  }
}

void FileLogStore::Truncate(std::uint64_t size) {
  HANDLE file = Opened();
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
    const DWORD code = GetLastError();
    Close();
    SetLastError(code);
    Fail(path_);
  }
  // Appending continues at the new end.
  Close();
}

void FileLogStore::Rotate() {
  Close();
  if (!MoveFileExW(path_.c_str(), OlderLogPath(path_).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    Fail(path_);
}

HANDLE FileLogStore::Opened() {
  if (file_ != INVALID_HANDLE_VALUE) return file_;
  CreateFolders(path_);
  file_ = CreateFileW(path_.c_str(), FILE_APPEND_DATA | GENERIC_WRITE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) Fail(path_);
  LARGE_INTEGER end{};
  SetFilePointerEx(file_, end, nullptr, FILE_END);
  return file_;
}

void FileLogStore::Close() noexcept {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

}  // namespace relay::win32
