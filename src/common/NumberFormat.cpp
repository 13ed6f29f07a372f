#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/Rounding.h"

namespace modKestralMGA {

namespace {

// Decimal places of a pattern of zeros: the zeros after the ".", 0 when there is no ".".
int DecimalsOf(std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  if (point == std::string_view::npos) return 0;
  return static_cast<int>(pattern.size() - point - 1);
}

// True when |value| lies exactly half-way between two neighbours with `decimals` places. That
// happens exactly when value * 2^(decimals + 1) is an odd whole number: a tie k + 1/2 at 10^-d
// steps is (2k + 1) / (2^(d+1) 5^d), which a double holds only when 5^d divides 2k + 1.
bool IsExactTie(double magnitude, int decimals) {
  const double scaled = std::ldexp(magnitude, decimals + 1);
  if (!std::isfinite(scaled) || scaled > 9007199254740992.0) return false;
  // A whole number up to 2^53 converts exactly, so its last bit tells odd from even.
  if (!IsExactly(std::floor(scaled), scaled)) return false;
  return (static_cast<std::uint64_t>(scaled) & 1U) == 1U;
}

// Adds one unit in the last place to a string of digits and at most one ".", carrying leftwards.
void IncrementLastDigit(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '.') continue;
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// |value| with exactly `decimals` places, rounded to nearest from the exact binary value, ties
// away from zero.
std::string FixedMagnitude(double magnitude, int decimals) {
  if (decimals == 0 && magnitude <= 9007199254740992.0 &&
      IsExactly(std::floor(magnitude), magnitude)) {
    // A whole number (keys, counts) is its own digits.
    char digits[20];
    const auto r =
        std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(magnitude));
    return std::string(digits, r.ptr);
  }
  // The widest double has 309 digits before the point; room for the point and one place more.
  // Short results (almost all) are built on the stack and copied once.
  constexpr std::size_t kStackRoom = 64;
  const std::size_t room = 312 + static_cast<std::size_t>(decimals);
  char stackBuffer[kStackRoom];
  std::string heapBuffer;
  char* first = stackBuffer;
  if (room > kStackRoom && !(magnitude < 1e30 && decimals < 30)) {
    heapBuffer.assign(room, '\0');
    first = heapBuffer.data();
  }
  char* const last = first + (first == stackBuffer ? kStackRoom : room);
  if (IsExactTie(magnitude, decimals)) {
    // The value has exactly decimals + 1 places, the last a 5: drop it and round up.
    const auto r = std::to_chars(first, last, magnitude, std::chars_format::fixed, decimals + 1);
    std::string text(first, r.ptr);
    text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    IncrementLastDigit(text);
    return text;
  }
  // Not a tie: to_chars rounds the exact binary value to nearest.
  const auto r = std::to_chars(first, last, magnitude, std::chars_format::fixed, decimals);
  return std::string(first, r.ptr);
}

bool IsAllZeros(const std::string& digits) {
  for (const char c : digits) {
    if (c != '0' && c != '.') return false;
  }
  return true;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  const bool negative = std::signbit(value);
  const bool wholeOnly = pattern == "#";
  const int decimals = wholeOnly ? 0 : DecimalsOf(pattern);
  std::string text = FixedMagnitude(std::fabs(value), decimals);
  if (IsAllZeros(text)) return wholeOnly ? std::string() : text;
  if (negative) text.insert(text.begin(), '-');
  return text;
}

std::string FormatExact(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

}  // namespace modKestralMGA
