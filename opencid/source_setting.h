// Which source a user's device control reads, as stored per user and as given to DllInstall:
//   ncid=HOST[:PORT]  a network caller-ID server (port 3333 when left out; [v6 address]:PORT)
//   modem=COMn        a caller-ID modem on a serial port
// DllInstall's command line may add ",as-device" (register under the device control's class
// too); either part may stand alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace opencid {

struct SourceSetting {
  enum class Kind { Ncid, Modem } kind = Kind::Ncid;
  std::wstring host = L"127.0.0.1";
  unsigned port = 3333;
  std::wstring portName;  // COMn

  // As stored: "ncid=HOST:PORT", "modem=COMn".
  std::wstring Text() const;
  // The calls' device identifier: "ncid:HOST:PORT", "COMn".
  std::wstring DeviceId() const;
  // What "serial" answers: "HOST:PORT", "COMn".
  std::wstring Serial() const;
};

// Throws common::Error naming what is wrong.
SourceSetting ParseSource(std::wstring_view text);

struct InstallCommand {
  std::optional<SourceSetting> source;
  bool asDevice = false;
};
// Throws common::Error naming what is wrong.
InstallCommand ParseInstallCommand(std::wstring_view commandLine);

}  // namespace opencid
