// Reading settings by name from the registry's texts or the command line.
#include "relay/relay_settings.h"

#include <algorithm>
#include <cwctype>

#include "common/error.h"
#include "relay/allowed_clients.h"
#include "relay/forwarding.h"
#include "common/utf16.h"

namespace relay {
namespace {

std::uint64_t Number(std::wstring_view name, std::wstring_view value, std::uint64_t max) {
  std::uint64_t number = 0;
  bool digits = !value.empty();
  for (wchar_t c : value) {
    digits = digits && c >= L'0' && c <= L'9';
    if (!digits) break;
    number = number * 10 + static_cast<std::uint64_t>(c - L'0');
    if (number > max) digits = false;
  }
  if (!digits) throw common::Error(std::wstring(name) + L": not a number from 0 to " + std::to_wstring(max) + L": " +
                                   std::wstring(value));
  return number;
}

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  std::erase(lower, L'-');  // "--log-limit" names LogLimit
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return lower;
}

}  // namespace

void SetSetting(RelaySettings& settings, std::wstring_view name, std::wstring_view value) {
  const std::wstring key = Lower(name);
  if (key == L"deviceclass") settings.deviceClass = value;
  else if (key == L"port") settings.port = static_cast<unsigned>(Number(name, value, 65535));
  else if (key == L"allowedclients") {
    AllowedClients check(common::ToUtf8(value));  // refuses what it cannot read
    settings.allowedClients = value;
  } else if (key == L"logpath") settings.logPath = value;
  else if (key == L"loglimit") settings.logLimit = std::max<std::uint64_t>(Number(name, value, 1ULL << 40), 4096);
  else if (key == L"history") settings.history = static_cast<std::uint32_t>(Number(name, value, 100000));
  else if (key == L"upstream") {
    std::string host;
    unsigned port = 0;
    if (!value.empty() && !ParseUpstream(common::ToUtf8(value), host, port))
      throw common::Error(std::wstring(name) + L": not HOST:PORT: " + std::wstring(value));
    settings.upstream = value;
  }
  else throw common::Error(L"Unknown setting: " + std::wstring(name));
}

void ApplyOptions(RelaySettings& settings, const std::vector<std::wstring>& options) {
  for (std::size_t index = 0; index < options.size(); index += 2) {
    const std::wstring& option = options[index];
    if (option.size() < 3 || option.compare(0, 2, L"--") != 0) throw common::Error(L"Unknown option: " + option);
    if (index + 1 == options.size()) throw common::Error(L"The option " + option + L" needs a value.");
    SetSetting(settings, std::wstring_view(option).substr(2), options[index + 1]);
  }
}

}  // namespace relay
