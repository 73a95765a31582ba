// 32-bit arithmetic raises instead of wrapping, at exactly the edges of the range.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "common/checked_int.h"

namespace common::checked {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(CheckedInt, ResultsInsideTheRangeAreExact) {
  EXPECT_EQ(Add(kMax - 1, 1), kMax);
  EXPECT_EQ(Sub(kMin + 1, 1), kMin);
  EXPECT_EQ(Mul(-65536, 32768), kMin);
  EXPECT_EQ(Div(-7, 2), -3);  // truncates toward zero
  EXPECT_EQ(Neg(kMax), kMin + 1);
  EXPECT_EQ(Narrow(std::int64_t{kMin}), kMin);
  EXPECT_EQ(Narrow(std::size_t{kMax}), kMax);
}

TEST(CheckedInt, OverflowRaisesWithTheSystemMessage) {
  EXPECT_THROW(Add(kMax, 1), OverflowError);
  EXPECT_THROW(Sub(kMin, 1), OverflowError);
  EXPECT_THROW(Mul(65536, 32768), OverflowError);
  EXPECT_THROW(Div(kMin, -1), OverflowError);
  EXPECT_THROW(Neg(kMin), OverflowError);
  EXPECT_THROW(Narrow(std::size_t{kMax} + 1), OverflowError);
  EXPECT_THROW(Narrow(std::int64_t{kMin} - 1), OverflowError);
  try {
    Add(kMax, kMax);
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), L"Integer overflow");
  }
  EXPECT_THROW(Div(1, 0), DivideByZeroError);
}

}  // namespace
}  // namespace common::checked
