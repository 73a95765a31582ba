// Where the tests find the built programs (Wine paths, drive Z: being the Unix root).
#pragma once

#include <string>

namespace test {

inline std::wstring Tevrin4Path() { return TEVRIN4_PATH; }
#ifdef DEVICE_PATH
inline std::wstring DevicePath() { return DEVICE_PATH; }
inline std::wstring DevctlPath() { return DEVCTL_PATH; }
#endif

}  // namespace test
