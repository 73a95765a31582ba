// A serial port read in short waits, so the worker notices a stop in time.
#include "opencid/win32/serial_link.h"

#include <windows.h>

#include "common/error.h"

namespace opencid {
namespace {

class SerialLink final : public SourceLink {
 public:
  explicit SerialLink(const std::wstring& portName) : name_(portName) {
    const std::wstring device = L"\\\\.\\" + portName;
    port_ = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) Fail(L"cannot open the port");
    DCB state{};
    state.DCBlength = sizeof state;
    GetCommState(port_, &state);
    state.BaudRate = CBR_115200;
    state.ByteSize = 8;
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    state.fBinary = TRUE;
    state.fDtrControl = DTR_CONTROL_ENABLE;
    state.fRtsControl = RTS_CONTROL_ENABLE;
    SetCommState(port_, &state);
    // A read returns as soon as bytes are there, or empty after a quarter of a second.
    COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, 250, 0, 2000};
    if (!SetCommTimeouts(port_, &timeouts)) {
      CloseHandle(port_);  // the destructor does not run for a constructor that throws
      Fail(L"cannot set up the port");
    }
  }
  ~SerialLink() override {
    if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
  }

  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!ReadFile(port_, buffer, static_cast<DWORD>(size), &read, nullptr)) Fail(L"the port is gone");
    // A port whose device went away can go on reading as merely quiet (Wine's serial ports
    // do): the port's state, which such a port can no longer give, tells the two apart.
    DWORD errors = 0;
    if (read == 0 && !ClearCommError(port_, &errors, nullptr)) Fail(L"the port is gone");
    return read;
  }

  void Write(std::string_view bytes) override {
    DWORD written = 0;
    if (!WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size())
      Fail(L"the port is gone");
  }

 private:
  [[noreturn]] void Fail(const std::wstring& what) {
    throw common::Error(name_ + L": " + what + L" (error " + std::to_wstring(GetLastError()) + L")");
  }

  std::wstring name_;
  HANDLE port_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<SourceLink> OpenSerialLink(const std::wstring& portName) {
  return std::make_unique<SerialLink>(portName);
}

}  // namespace opencid
