// The relay as a Windows service ("CidRelay"): installed to start with the machine, removed,
// started and stopped through the service manager, and run by it. What stops the service
// from starting, or happens to it while it runs, goes to the Application event log with its
// reason.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace relay::win32 {

inline constexpr const wchar_t* kServiceName = L"CidRelay";

// Each throws common::Error with the service manager's reason.
void InstallService(const std::wstring& programPath);
void RemoveService();
void StartRelayService();
void StopRelayService();

// The service's body: runs until `stop` is signalled, notes go to the event log; throws
// common::Error when it cannot run.
using ServiceBody = std::function<void(HANDLE stop, const std::function<void(const std::wstring&)>& note)>;
// Called when the service manager started this program; returns when the service stops.
// False when this program was not started as a service.
bool RunAsService(ServiceBody body);

}  // namespace relay::win32
