#include "common/NumericValue.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace modKestralMGA {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Converts a decimal number already known to be well formed (digits, at most one ".", at least
// one digit, optional exponent with at least one digit; no sign) and applies the sign.
NumberReading Convert(std::string_view number, bool negative) {
  double value = 0.0;
  const char* first = number.data();
  const char* last = number.data() + number.size();
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves value untouched on both overflow and underflow; tell them apart by the
    // decimal exponent of the first significant digit.
    std::int64_t digitsBeforePoint = 0;
    std::int64_t leadingZerosAfterPoint = 0;
    bool seenPoint = false;
    bool seenSignificant = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
      const char c = number[i];
      if (c == '.') {
        seenPoint = true;
      } else if (!seenSignificant && c == '0') {
        if (seenPoint) ++leadingZerosAfterPoint;
      } else {
        seenSignificant = true;
        if (!seenPoint) ++digitsBeforePoint;
      }
    }
    if (!seenSignificant) return {negative ? -0.0 : 0.0, NumberStatus::Ok};
    bool exponentNegative = false;
    std::int64_t exponent = 0;
    if (i < number.size()) {
      ++i;
      if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
        exponentNegative = number[i] == '-';
        ++i;
      }
      for (; i < number.size(); ++i) {
        if (exponent < 1000000000) exponent = exponent * 10 + (number[i] - '0');
      }
    }
    const std::int64_t magnitude =
        (digitsBeforePoint > 0 ? digitsBeforePoint : -leadingZerosAfterPoint) +
        (exponentNegative ? -exponent : exponent);
    if (magnitude > 0) return {0.0, NumberStatus::OutOfRange};
    return {negative ? -0.0 : 0.0, NumberStatus::Ok};
  }
  if (result.ec != std::errc()) return {0.0, NumberStatus::NotANumber};
  return {negative ? -value : value, NumberStatus::Ok};
}

// The length of the longest prefix of text (which starts after any sign) that reads as an
// unsigned decimal number with an optional exponent; mantissaDigits counts its digits.
std::size_t NumberPrefix(std::string_view text, std::size_t& mantissaDigits) {
  std::size_t i = 0;
  mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponentStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > exponentStart) i = j;
  }
  return i;
}

// text without the characters the reading ignores; the text itself when it holds none.
std::string_view WithoutIgnored(std::string_view text, std::string_view ignored,
                                std::string& storage) {
  if (text.find_first_of(ignored) == std::string_view::npos) return text;
  storage.clear();
  storage.reserve(text.size());
  for (const char c : text) {
    if (ignored.find(c) == std::string_view::npos) storage.push_back(c);
  }
  return storage;
}

}  // namespace

NumberReading ReadNumericValue(std::string_view text) {
  std::string storage;
  std::string_view s = WithoutIgnored(text, std::string_view(" \t\n", 3), storage);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  std::size_t digits = 0;
  const std::size_t length = NumberPrefix(s, digits);
  if (length == 0) return {0.0, NumberStatus::Ok};
  return Convert(s.substr(0, length), negative);
}

double NumericValue(std::string_view text) {
  const NumberReading reading = ReadNumericValue(text);
  return reading.Status == NumberStatus::Ok ? reading.Value : 0.0;
}

NumberReading ReadStrictNumber(std::string_view text) {
  std::string storage;
  std::string_view s = WithoutIgnored(text, std::string_view(" \t", 2), storage);
  if (s.empty()) return {0.0, NumberStatus::Ok};
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  std::size_t digits = 0;
  const std::size_t length = NumberPrefix(s, digits);
  if (length == 0 || length != s.size()) return {0.0, NumberStatus::NotANumber};
  return Convert(s, negative);
}

}  // namespace modKestralMGA
