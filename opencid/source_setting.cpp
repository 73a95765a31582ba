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

}  // namespace

std::wstring SourceSetting::Text() const {
  return kind == Kind::Modem ? L"modem=" + portName : L"ncid=" + Serial();
}

std::wstring SourceSetting::DeviceId() const { return kind == Kind::Modem ? portName : L"ncid:" + Serial(); }

std::wstring SourceSetting::Serial() const {
  if (kind == Kind::Modem) return portName;
  const bool v6 = host.find(L':') != std::wstring::npos;
  return (v6 ? L"[" + host + L"]" : host) + L":" + std::to_wstring(port);
}

SourceSetting ParseSource(std::wstring_view text) {
  text = Trim(text);
  if (text.starts_with(L"ncid=")) return Network(text.substr(5));
  if (text.starts_with(L"modem=")) return Modem(text.substr(6));
  Refuse(text, L"a source is ncid=HOST:PORT or modem=COMn");
}

InstallCommand ParseInstallCommand(std::wstring_view commandLine) {
  InstallCommand command;
  while (!commandLine.empty()) {
    const std::size_t comma = commandLine.find(L',');
    const std::wstring_view part = Trim(commandLine.substr(0, comma));
    commandLine = comma == std::wstring_view::npos ? std::wstring_view() : commandLine.substr(comma + 1);
    if (part.empty()) continue;
    if (part == L"as-device") command.asDevice = true;
    else command.source = ParseSource(part);
  }
  return command;
}

}  // namespace opencid
