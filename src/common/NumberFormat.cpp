#include "common/NumberFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/Rounding.h"

namespace modKestralMGA {

namespace {

// 10^d for d up to 22: every one of them is a double exactly (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kQuickDecimals = 22;

constexpr std::uint64_t kWholePowersOfTen[] = {1U,
                                               10U,
                                               100U,
                                               1000U,
                                               10000U,
                                               100000U,
                                               1000000U,
                                               10000000U,
                                               100000000U,
                                               1000000000U,
                                               10000000000U,
                                               100000000000U,
                                               1000000000000U,
                                               10000000000000U,
                                               100000000000000U,
                                               1000000000000000U,
                                               10000000000000000U};

// The count of decimal digits of n, for n below 2^53.
int DigitCount(std::uint64_t n) {
  // bit_width * log10(2), rounded down, is the count or one less.
  const int guess = (static_cast<int>(std::bit_width(n | 1U)) * 1233) >> 12;
  return guess + (n >= kWholePowersOfTen[guess] ? 1 : 0);
}

// The quick way: magnitude * 10^decimals rounded to a whole number, ties away from zero, when
// the product rounded to a double settles it. Below 2^52 every half k + 1/2 is a double, and
// rounding to the nearest double never carries a value across a double: the rounded product lies
// on the same side of each half as the exact one, or on the half itself. False there (the exact
// product may lie either side) and for products of 2^52 and more.
bool QuickScaled(double magnitude, int decimals, std::uint64_t& scaled) {
  if (decimals > kQuickDecimals) return false;
  const double product = magnitude * kExactPowersOfTen[decimals];
  if (!(product < 0x1p52)) return false;
  const auto whole = static_cast<std::uint64_t>(product);
  // Exact: a double less its whole part needs no more bits than the double.
  const double fraction = product - static_cast<double>(whole);
  if (fraction < 0.5) {
    scaled = whole;
  } else if (fraction > 0.5) {
    scaled = whole + 1U;
  } else {
    return false;
  }
  return true;
}

// "00" to "99".
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// The last `count` digits of n (with leading zeros) written to end back to end - count; returns
// what is left of n.
std::uint64_t WriteLastDigits(char* end, std::uint64_t n, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * (n % 100U)], 2);
    n /= 100U;
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + n % 10U);
    n /= 10U;
  }
  return n;
}

// n units of 10^-decimals written with `decimals` places, at least one digit before the point.
char* WriteScaled(char* out, std::uint64_t n, int decimals) {
  const int whole = std::max(DigitCount(n) - decimals, 1);
  if (decimals == 0) {
    WriteLastDigits(out + whole, n, whole);
    return out + whole;
  }
  char* const point = out + whole;
  char* const end = point + 1 + decimals;
  *point = '.';
  WriteLastDigits(point, WriteLastDigits(end, n, decimals), whole);
  return end;
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

// Adds one unit in the last place to the digits (and at most one ".") in [first, end),
// carrying leftwards; returns the new end.
char* IncrementLastDigit(char* first, char* end) {
  for (char* at = end; at-- > first;) {
    if (*at == '.') continue;
    if (*at != '9') {
      ++*at;
      return end;
    }
    *at = '0';
  }
  std::memmove(first + 1, first, static_cast<std::size_t>(end - first));
  *first = '1';
  return end + 1;
}

// |value| with exactly `decimals` places, rounded to nearest from the exact binary value, ties
// away from zero, written in [first, last).
char* FixedMagnitudeTo(char* first, char* last, double magnitude, int decimals) {
  if (IsExactTie(magnitude, decimals)) {
    // The value has exactly decimals + 1 places, the last a 5: drop it and round up.
    char* end =
        std::to_chars(first, last, magnitude, std::chars_format::fixed, decimals + 1).ptr - 1;
    if (decimals == 0) --end;  // the point
    return IncrementLastDigit(first, end);
  }
  // Not a tie: to_chars rounds the exact binary value to nearest.
  return std::to_chars(first, last, magnitude, std::chars_format::fixed, decimals).ptr;
}

// The general way for a finite value, in the room of NumberTextRoom(pattern.Decimals).
char* GeneralTo(char* out, double value, NumberPattern pattern) {
  // The digits go one character in, leaving room for a sign.
  char* const digits = out + 1;
  char* const end = FixedMagnitudeTo(digits, out + NumberTextRoom(pattern.Decimals),
                                     std::fabs(value), pattern.Decimals);
  if (std::all_of(digits, end, [](char c) { return c == '0' || c == '.'; })) {
    if (pattern.WholeOnly) return out;
  } else if (std::signbit(value)) {
    *out = '-';
    return end;
  }
  std::memmove(out, digits, static_cast<std::size_t>(end - digits));
  return end - 1;
}

char* NotFiniteTo(char* out, double value) {
  const std::string_view text = std::isnan(value) ? "NaN" : value > 0 ? "Inf" : "-Inf";
  return std::copy(text.begin(), text.end(), out);
}

// The text that write(buffer) puts in a buffer of NumberTextRoom(decimals) characters.
template <typename Write>
std::string TextOf(int decimals, const Write& write) {
  constexpr std::size_t kStackRoom = 400;
  const std::size_t room = NumberTextRoom(decimals);
  if (room <= kStackRoom) {
    char text[kStackRoom];
    return std::string(text, write(text));
  }
  std::string text(room, '\0');
  text.resize(static_cast<std::size_t>(write(text.data()) - text.data()));
  return text;
}

}  // namespace

char* FormatNumberTo(char* out, double value, NumberPattern pattern) {
  if (!std::isfinite(value)) return NotFiniteTo(out, value);
  std::uint64_t scaled = 0;
  if (!QuickScaled(std::fabs(value), pattern.Decimals, scaled)) {
    return GeneralTo(out, value, pattern);
  }
  if (scaled == 0 && pattern.WholeOnly) return out;
  if (scaled != 0 && std::signbit(value)) *out++ = '-';
  return WriteScaled(out, scaled, pattern.Decimals);
}

std::string FormatNumber(double value, std::string_view pattern) {
  const NumberPattern format = PatternOf(pattern);
  return TextOf(format.Decimals, [&](char* out) { return FormatNumberTo(out, value, format); });
}

std::string FormatNumberGeneral(double value, std::string_view pattern) {
  const NumberPattern format = PatternOf(pattern);
  return TextOf(format.Decimals, [&](char* out) {
    return std::isfinite(value) ? GeneralTo(out, value, format) : NotFiniteTo(out, value);
  });
}

std::string FormatExact(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

}  // namespace modKestralMGA
