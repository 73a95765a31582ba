#include "legacy/typelib/msft_file.h"

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/error.h"

namespace legacy::typelib {
namespace {

// Offsets in the file layout of a type library ("MSFT"): the header, an optional help-DLL
// word, the type-description offsets, then the segment directory whose first segment holds
// the type descriptions.
constexpr std::size_t kHeaderSize = 0x54;
constexpr std::size_t kVarFlags = 0x14;
constexpr std::size_t kTypeCount = 0x20;
constexpr std::int32_t kHelpDllFlag = 0x100;
constexpr std::size_t kTypeKind = 0x00;
constexpr std::size_t kTableSize = 0x4E;

[[noreturn]] void Malformed() { throw common::Error(L"Not a type library this build can correct", E_FAIL); }

std::int32_t ReadInt(const std::vector<char>& file, std::size_t at) {
  if (at + 4 > file.size()) Malformed();
  std::int32_t value;
  std::memcpy(&value, file.data() + at, 4);
  return value;
}

std::size_t TypeDescriptionAt(const std::vector<char>& file, int typeIndex) {
  if (file.size() < kHeaderSize || std::memcmp(file.data(), "MSFT", 4) != 0) Malformed();
  const std::int32_t count = ReadInt(file, kTypeCount);
  if (typeIndex < 0 || typeIndex >= count) Malformed();
  const std::size_t offsets = kHeaderSize + ((ReadInt(file, kVarFlags) & kHelpDllFlag) ? 4 : 0);
  const std::size_t segments = offsets + 4 * static_cast<std::size_t>(count);
  const std::size_t typeTable = static_cast<std::size_t>(ReadInt(file, segments));
  return typeTable + static_cast<std::size_t>(ReadInt(file, offsets + 4 * static_cast<std::size_t>(typeIndex)));
}

}  // namespace

std::size_t PointerSize(SYSKIND width) { return width == SYS_WIN64 ? 8 : 4; }

void SetDispinterfaceTableSize(const std::wstring& path, int typeIndex, std::size_t members,
                               std::size_t pointerSize) {
  std::vector<char> file;
  {
    std::ifstream in(path.c_str(), std::ios::binary);
    file.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::size_t type = TypeDescriptionAt(file, typeIndex);
  if ((ReadInt(file, type + kTypeKind) & 0xF) != TKIND_DISPATCH || type + kTableSize + 2 > file.size()) Malformed();
  const auto size = static_cast<std::uint16_t>(members * pointerSize);
  std::memcpy(file.data() + type + kTableSize, &size, 2);
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  if (!out) throw common::Error(L"Writing the type library failed", E_FAIL);
}

}  // namespace legacy::typelib
