// Which source the device control reads, as stored and as given to DllInstall:
//   ncid=HOST[:PORT][,keepalive=SECONDS]  a network caller-ID server (port 3333 when left
//                     out; [v6 address]:PORT), asked after SECONDS of silence (30) whether it is
//                     still there, and given half as long again to answer
//   modem=COMn[,init=AT...]  a caller-ID modem on a serial port, with the user's extra
//                     initialisation for a modem that needs one
// DllInstall's command line may add ",as-device" (register under the device control's class
// too) or ",per-user" (store the source for this user only); either part may stand alone.
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
  std::wstring init;      // the modem's extra initialisation ("AT+GCI=B5"), printable ASCII
  static constexpr unsigned kDefaultKeepAliveSeconds = 30;
  unsigned keepAliveSeconds = kDefaultKeepAliveSeconds;

  // As stored: "ncid=HOST:PORT", "modem=COMn", with the options that differ from the default.
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
  bool perUser = false;
};
// Throws common::Error naming what is wrong.
InstallCommand ParseInstallCommand(std::wstring_view commandLine);

}  // namespace opencid
