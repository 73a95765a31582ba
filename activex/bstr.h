// An owning BSTR, for texts handed to or taken from automation calls.
#pragma once

#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace activex {

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(b_, other.b_);
    return *this;
  }
  ~Bstr() { SysFreeString(b_); }

  static Bstr Attach(BSTR b) {
    Bstr result;
    result.b_ = b;
    return result;
  }
  BSTR Detach() noexcept { return std::exchange(b_, nullptr); }
  BSTR Get() const noexcept { return b_; }
  BSTR* Put() noexcept {
    SysFreeString(std::exchange(b_, nullptr));
    return &b_;
  }
  // A null BSTR is the empty text.
  std::wstring Text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

// Copies a BSTR argument (null is the empty text).
inline std::wstring TextOf(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

}  // namespace activex
