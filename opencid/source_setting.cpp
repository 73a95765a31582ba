// Reading and writing the source setting.
#include "opencid/source_setting.h"

#include <cwctype>

#include "common/error.h"

namespace opencid {
namespace {

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  return text;
}

// Decimal digits only, within [low, high]; 0 when not.
unsigned Number(std::wstring_view digits, unsigned low, unsigned high) {
  if (digits.empty() || digits.size() > 5) return 0;
  unsigned value = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + static_cast<unsigned>(c - L'0');
  }
  return value >= low && value <= high ? value : 0;
}

[[noreturn]] void Refuse(std::wstring_view text, const wchar_t* why) {
  throw common::Error(L"\"" + std::wstring(text) + L"\": " + why);
}

SourceSetting Network(std::wstring_view address) {
  SourceSetting source;
  std::wstring_view host = address, port;
  if (address.starts_with(L'[')) {
    const std::size_t close = address.find(L']');
    if (close == std::wstring_view::npos) Refuse(address, L"the address lacks its \"]\"");
    host = address.substr(1, close - 1);
    if (close + 1 < address.size()) {
      if (address[close + 1] != L':') Refuse(address, L"a port follows the address after \":\"");
      port = address.substr(close + 2);
    }
  } else if (const std::size_t colon = address.rfind(L':'); colon != std::wstring_view::npos) {
    host = address.substr(0, colon);
    port = address.substr(colon + 1);
  }
  if (host.empty() || host.find_first_of(L" ,;") != std::wstring_view::npos) Refuse(address, L"no valid host");
  source.host = host;
  if (!port.empty() || address.ends_with(L':')) {
    source.port = Number(port, 1, 65535);
    if (source.port == 0) Refuse(address, L"the port is a number from 1 to 65535");
  }
  return source;
}

SourceSetting Modem(std::wstring_view name) {
  SourceSetting source;
  source.kind = SourceSetting::Kind::Modem;
  if (name.size() < 4 || std::towupper(name[0]) != L'C' || std::towupper(name[1]) != L'O' ||
      std::towupper(name[2]) != L'M' || Number(name.substr(3), 1, 255) == 0)
    Refuse(name, L"the port is COM1 to COM255");
  source.portName = L"COM" + std::to_wstring(Number(name.substr(3), 1, 255));
  return source;
}

// An initialisation is one AT command line a modem takes: printable ASCII, within its buffer.
bool ValidInit(std::wstring_view init) {
  if (init.size() < 2 || init.size() > 40 || std::towupper(init[0]) != L'A' || std::towupper(init[1]) != L'T')
    return false;
  for (wchar_t c : init)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

void AddOption(SourceSetting& source, std::wstring_view option) {
  const std::size_t equals = option.find(L'=');
  const std::wstring_view name = option.substr(0, equals);
  const std::wstring_view value = equals == std::wstring_view::npos ? std::wstring_view() : option.substr(equals + 1);
  if (name == L"init" && source.kind == SourceSetting::Kind::Modem) {
    if (!ValidInit(value)) Refuse(option, L"an initialisation is one AT command of at most 40 printable characters");
    source.init = value;
  } else if (name == L"keepalive" && source.kind == SourceSetting::Kind::Ncid) {
    source.keepAliveSeconds = Number(value, 2, 3600);
    if (source.keepAliveSeconds == 0) Refuse(option, L"keepalive is a number of seconds from 2 to 3600");
  } else {
    Refuse(option, L"a server takes keepalive=SECONDS, a modem init=AT...");
  }
}

}  // namespace

std::wstring SourceSetting::Text() const {
  if (kind == Kind::Modem) return L"modem=" + portName + (init.empty() ? L"" : L",init=" + init);
  return L"ncid=" + Serial() +
         (keepAliveSeconds == kDefaultKeepAliveSeconds ? L"" : L",keepalive=" + std::to_wstring(keepAliveSeconds));
}

std::wstring SourceSetting::DeviceId() const { return kind == Kind::Modem ? portName : L"ncid:" + Serial(); }

std::wstring SourceSetting::Serial() const {
  if (kind == Kind::Modem) return portName;
  const bool v6 = host.find(L':') != std::wstring::npos;
  return (v6 ? L"[" + host + L"]" : host) + L":" + std::to_wstring(port);
}

SourceSetting ParseSource(std::wstring_view text) {
  const std::size_t comma = text.find(L',');
  const std::wstring_view kind = Trim(text.substr(0, comma));
  SourceSetting source;
  if (kind.starts_with(L"ncid=")) source = Network(kind.substr(5));
  else if (kind.starts_with(L"modem=")) source = Modem(kind.substr(6));
  else Refuse(kind, L"a source is ncid=HOST:PORT or modem=COMn");
  for (std::wstring_view options = comma == std::wstring_view::npos ? L"" : text.substr(comma + 1); !options.empty();) {
    const std::size_t next = options.find(L',');
    AddOption(source, Trim(options.substr(0, next)));
    options = next == std::wstring_view::npos ? std::wstring_view() : options.substr(next + 1);
  }
  return source;
}

InstallCommand ParseInstallCommand(std::wstring_view commandLine) {
  InstallCommand command;
  std::wstring source;  // the source and its options, in their order
  while (!commandLine.empty()) {
    const std::size_t comma = commandLine.find(L',');
    const std::wstring_view part = Trim(commandLine.substr(0, comma));
    commandLine = comma == std::wstring_view::npos ? std::wstring_view() : commandLine.substr(comma + 1);
    if (part.empty()) continue;
    if (part == L"as-device") command.asDevice = true;
    else if (part == L"per-user") command.perUser = true;
    else source += (source.empty() ? L"" : L",") + std::wstring(part);
  }
  if (!source.empty()) command.source = ParseSource(source);
  return command;
}

}  // namespace opencid
