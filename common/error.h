// Failures of the system: exceptions carrying its exact message texts (UTF-16),
// and where one came from the platform, the system error code (an HRESULT).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace common {

class Error : public std::exception {
 public:
  explicit Error(std::wstring message, std::int32_t systemCode = 0);

  const std::wstring& Message() const noexcept { return message_; }
  // Zero when the failure carries no system error code.
  std::int32_t SystemCode() const noexcept { return systemCode_; }
  // The message in UTF-8, for logs and test output.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::wstring message_;
  std::string utf8_;
  std::int32_t systemCode_;
};

// A text that is not what a conversion accepts.
class ConvertError : public Error {
 public:
  using Error::Error;
};

// 32-bit arithmetic that would have wrapped.
class OverflowError : public Error {
 public:
  OverflowError() : Error(L"Integer overflow") {}
};

// Integer division by zero.
class DivideByZeroError : public Error {
 public:
  DivideByZeroError() : Error(L"Division by zero") {}
};

}  // namespace common
