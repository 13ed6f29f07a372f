#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace modKestralMGA {

// True when a and b are the same double, bit for bit up to the sign of zero. The program's
// rules compare some values exactly (a bearing of exactly 999, a count of values); this
// names the intent where a plain == would be mistaken for a careless float comparison.
inline bool IsExactly(double a, double b) {
  return std::equal_to<double>()(a, b);
}

// value rounded to the nearest whole number, a half going to the even neighbour (30.5 -> 30,
// 31.5 -> 32). The rounding of every whole-number conversion: keys, a mark's order, seconds.
double RoundHalfEven(double value);

// value rounded half to even, when the result fits a 32-bit signed whole number; nothing when
// it does not or when value is not finite. The range is checked before any cast.
std::optional<std::int32_t> ToInt32HalfEven(double value);

}  // namespace modKestralMGA
