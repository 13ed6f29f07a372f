#include "common/Rounding.h"

#include <cfenv>
#include <cmath>

namespace modKestralMGA {

double RoundHalfEven(double value) {
  // nearbyint rounds in the current rounding mode, which the program never changes from
  // round-to-nearest-even; std::round would send halves away from zero.
  return std::nearbyint(value);
}

std::optional<std::int32_t> ToInt32HalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = RoundHalfEven(value);
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace modKestralMGA
