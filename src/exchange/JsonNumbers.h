#pragma once

#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>
#include <string_view>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"

namespace modKestralMGA {

// The JSON the batch program writes: members in the order they are added.
using Json = nlohmann::ordered_json;

// value rounded as the program writes it with pattern, as a JSON number; null when not finite.
inline Json RoundedJson(double value, std::string_view pattern) {
  if (!std::isfinite(value)) return nullptr;
  return NumericValue(FormatNumber(value, pattern));
}

inline Json RoundedJson(const std::optional<double>& value, std::string_view pattern) {
  return value ? RoundedJson(*value, pattern) : Json(nullptr);
}

}  // namespace modKestralMGA
