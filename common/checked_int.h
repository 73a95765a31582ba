// 32-bit signed arithmetic that raises OverflowError instead of wrapping.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>

#include "common/error.h"

namespace common::checked {

inline std::int32_t Add(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw OverflowError();
  return r;
}

inline std::int32_t Sub(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw OverflowError();
  return r;
}

inline std::int32_t Mul(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw OverflowError();
  return r;
}

// Truncating division, as the layout and painting rules use it.
inline std::int32_t Div(std::int32_t a, std::int32_t b) {
  if (b == 0) throw DivideByZeroError();
  if (a == std::numeric_limits<std::int32_t>::min() && b == -1) throw OverflowError();
  return a / b;
}

inline std::int32_t Neg(std::int32_t a) { return Sub(0, a); }

// Any integer (a container size, a 64-bit intermediate) narrowed to 32 bits.
template <std::integral T>
std::int32_t Narrow(T value) {
  std::int32_t r;
  if (__builtin_add_overflow(value, 0, &r)) throw OverflowError();
  return r;
}

}  // namespace common::checked
