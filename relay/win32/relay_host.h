// One running relay, the same in a console and as a service: the settings read from the
// registry (HKEY_LOCAL_MACHINE\SOFTWARE\CallerIdRelay) with a console run's options over
// them, the call log, the server, the device's thread, and the status pipe that
// "cidrelay status" reads.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "relay/relay_settings.h"

namespace relay::win32 {

inline constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\CallerIdRelay";

enum class RunMode { Console, Service };

// The registry's settings; a value that is not valid is noted and left at its default.
RelaySettings ReadRegistrySettings(const std::function<void(const std::wstring&)>& note);
// The call log's place when no setting names one: under the user's local application data
// for a console run, under the machine's program data for the service.
std::wstring DefaultLogPath(RunMode mode);

// Runs until `stop` is signalled; throws common::Error when it cannot start (the port is
// taken, the device class is not an identifier). `started` gets the port listened on.
void RunRelay(const RelaySettings& settings, HANDLE stop, const std::function<void(const std::wstring&)>& note,
              const std::function<void(unsigned port)>& started);

// What a running relay on `port` says of itself; throws common::Error when none answers.
std::wstring QueryStatus(unsigned port);

}  // namespace relay::win32
