// The DISPIDs of IKalloraPlus and of its events (the two sets overlap; they live in separate
// interfaces). Part of the contract with old hosts.
#pragma once

namespace legacy::dispid {

// IKalloraPlus
inline constexpr long kVisible = 201;
inline constexpr long kActive = 209;
inline constexpr long kAboutBox = -552;  // DISPID_ABOUTBOX
inline constexpr long kConfig = 208;
inline constexpr long kDialThisNumber = 205;
inline constexpr long kAbout = 206;
inline constexpr long kServiceRunning = 207;
inline constexpr long kDeviceModel = 211;
inline constexpr long kLineStatus = 202;
inline constexpr long kStart = 203;

// IKalloraPlusEvents
inline constexpr long kOnActivate = 201;
inline constexpr long kOnCreate = 203;
inline constexpr long kOnDestroy = 205;
inline constexpr long kOnDeactivate = 206;
inline constexpr long kOnCallerID = 202;
inline constexpr long kOnDebug = 204;
inline constexpr long kOnSignalA = 229;
inline constexpr long kOnSignalD = 239;
inline constexpr long kOnBusy = 231;
inline constexpr long kOnReady = 241;

}  // namespace legacy::dispid
