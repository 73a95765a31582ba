// Where the tests find the built tevrin4.dll (a Wine path, drive Z: being the Unix root).
#pragma once

#include <string>

namespace test {

inline std::wstring Tevrin4Path() { return TEVRIN4_PATH; }

}  // namespace test
