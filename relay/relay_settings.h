// The relay's settings, each under one name in both of their sources: a registry value
// written by an administrator or an installer (the name as is) and a console run's command
// line option ("--" and the name in lower case), which overrides it.
//   DeviceClass     the device control's class identifier ({...}; the device's own by default)
//   Port            TCP port for clients (3333); 0 takes a free one
//   AllowedClients  see AllowedClients ("local")
//   LogPath         the call log file (a default by how the relay runs)
//   LogLimit        the size in bytes at which the log rotates (10 MB)
//   History         how many of the newest calls a client gets on connecting (100)
//   Upstream        HOST:PORT of an NCID server to forward every call to (none)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace relay {

struct RelaySettings {
  std::wstring deviceClass;
  unsigned port = 3333;
  std::wstring allowedClients = L"local";
  std::wstring logPath;
  std::uint64_t logLimit = 10 * 1024 * 1024;
  std::uint32_t history = 100;
  std::wstring upstream;
};

inline constexpr const wchar_t* kSettingNames[] = {L"DeviceClass", L"Port",    L"AllowedClients", L"LogPath",
                                                   L"LogLimit",    L"History", L"Upstream"};

// Throws common::Error naming the setting and what is wrong with its value.
void SetSetting(RelaySettings& settings, std::wstring_view name, std::wstring_view value);

// Applies "--name value" pairs; throws common::Error for an unknown option or a missing value.
void ApplyOptions(RelaySettings& settings, const std::vector<std::wstring>& options);

}  // namespace relay
