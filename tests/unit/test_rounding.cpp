// Whole-number conversions round half to even; the 32-bit conversion checks its range before
// any cast (the sanitizer build traps an out-of-range cast).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "common/Rounding.h"

using namespace modKestralMGA;

namespace {

TEST(RoundingTest, HalvesGoToTheEvenNeighbour) {
  struct Case {
    double Value;
    double Expected;
  };
  const std::vector<Case> cases = {
      {30.5, 30.0},   {31.5, 32.0},
      {-30.5, -30.0}, {-31.5, -32.0},
      {0.5, 0.0},     {1.5, 2.0},
      {30.4, 30.0},   {30.6, 31.0},
      {59.5, 60.0},   {2.4999999999999996, 2.0},
      {-0.4, -0.0},   {4503599627370495.5, 4503599627370496.0},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(IsExactly(RoundHalfEven(c.Value), c.Expected)) << c.Value;
  }
}

TEST(RoundingTest, Int32ConversionRefusesWhatDoesNotFit) {
  struct Case {
    double Value;
    std::optional<std::int32_t> Expected;
  };
  const std::vector<Case> cases = {
      {66281001.5, 66281002},
      {66281002.5, 66281002},
      {2147483646.5, 2147483646},
      {2147483647.0, 2147483647},
      {2147483647.4, 2147483647},
      {2147483647.5, std::nullopt},  // rounds to 2147483648
      {2147483648.0, std::nullopt},
      {-2147483648.5, std::numeric_limits<std::int32_t>::min()},  // rounds to -2147483648
      {-2147483649.0, std::nullopt},
      {1e300, std::nullopt},
      {std::numeric_limits<double>::infinity(), std::nullopt},
      {-std::numeric_limits<double>::infinity(), std::nullopt},
      {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ToInt32HalfEven(c.Value), c.Expected) << c.Value;
}

}  // namespace
