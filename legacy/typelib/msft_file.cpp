#include "legacy/typelib/msft_file.h"

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
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
constexpr std::size_t kMemberRecords = 0x04;
constexpr std::size_t kMemberCounts = 0x18;  // functions in the low word
constexpr std::size_t kTableSize = 0x4E;
// A function record: its size in the low word of its first field; its table offset, whose
// lowest bit is a flag.
constexpr std::size_t kRecordTableOffset = 0x0C;

[[noreturn]] void Malformed() { throw common::Error(L"Not a type library this build can correct", E_FAIL); }

std::int32_t ReadInt(const std::vector<char>& file, std::size_t at) {
  if (at + 4 > file.size()) Malformed();
  std::int32_t value;
  std::memcpy(&value, file.data() + at, 4);
  return value;
}

std::int16_t ReadShort(const std::vector<char>& file, std::size_t at) {
  if (at + 2 > file.size()) Malformed();
  std::int16_t value;
  std::memcpy(&value, file.data() + at, 2);
  return value;
}

void WriteShort(std::vector<char>& file, std::size_t at, std::int16_t value) {
  if (at + 2 > file.size()) Malformed();
  std::memcpy(file.data() + at, &value, 2);
}

std::vector<char> ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::wstring& path, const std::vector<char>& file) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  if (!out) throw common::Error(L"Writing the type library failed", E_FAIL);
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
  std::vector<char> file = ReadFile(path);
  const std::size_t type = TypeDescriptionAt(file, typeIndex);
  if ((ReadInt(file, type + kTypeKind) & 0xF) != TKIND_DISPATCH) Malformed();
  WriteShort(file, type + kTableSize, static_cast<std::int16_t>(members * pointerSize));
  WriteFile(path, file);
}

void ResizeInheritedTable(const std::wstring& path, int typeIndex, std::size_t inherited,
                          std::size_t writerPointerSize, std::size_t libraryPointerSize) {
  std::vector<char> file = ReadFile(path);
  const std::size_t type = TypeDescriptionAt(file, typeIndex);
  // A dual interface is stored as its dispatch side.
  const int kind = ReadInt(file, type + kTypeKind) & 0xF;
  if (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) Malformed();
  const auto shift = static_cast<std::int16_t>(static_cast<std::ptrdiff_t>(inherited) *
                                               (static_cast<std::ptrdiff_t>(libraryPointerSize) -
                                                static_cast<std::ptrdiff_t>(writerPointerSize)));
  WriteShort(file, type + kTableSize, static_cast<std::int16_t>(ReadShort(file, type + kTableSize) + shift));
  const int functions = ReadInt(file, type + kMemberCounts) & 0xFFFF;
  std::size_t record = static_cast<std::size_t>(ReadInt(file, type + kMemberRecords)) + 4;
  for (int i = 0; i < functions; ++i) {
    WriteShort(file, record + kRecordTableOffset,
               static_cast<std::int16_t>(ReadShort(file, record + kRecordTableOffset) + shift));
    const auto size = static_cast<std::size_t>(ReadInt(file, record) & 0xFFFF);
    if (size == 0) Malformed();
    record += size;
  }
  WriteFile(path, file);
}

}  // namespace legacy::typelib
