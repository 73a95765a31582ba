// The integer conversion of device texts against an independent reading of its grammar: the
// input is taken as UTF-8 (ill-formed bytes become U+FFFD), and the conversion must agree
// with the reference on every text, failing only with its conversion error.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/device_int.h"
#include "common/error.h"
#include "common/fuzz/fuzz_check.h"
#include "common/tests/device_int_reference.h"
#include "common/utf16.h"

using common::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text = common::FromUtf8({reinterpret_cast<const char*>(data), size});
  std::optional<std::int32_t> value;
  try {
    value = common::DeviceTextToInt(text);
  } catch (const common::ConvertError& error) {
    Require(error.Message() == L"'" + text + L"' is not a valid integer value", "the error quotes the text");
  }
  // The reference's regular expression recurses per character: keep it to texts of a sane length.
  if (text.size() <= 256) Require(value == common::testing::ReferenceDeviceInt(text), "agrees with the reference");
  return 0;
}
