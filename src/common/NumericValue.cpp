#include "common/NumericValue.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace modKestralMGA {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The plain decimal at the start of text: an optional sign, then digits with at most one "." (at
// least one digit, at most 15), read as the quotient of two doubles that hold their values
// exactly, the digits as a whole number and a power of ten up to 1e15; one correctly rounded
// division gives the correctly rounded value of the decimal (Clinger's fast path). used is where
// the decimal ends. False when text does not start so, or when the character after the decimal
// could change the reading: a blank, tab or line feed (dropped by the numeric value rule) or an
// exponent letter. The general reading then decides.
bool ReadPlainDecimal(std::string_view text, double& value, std::size_t& used) {
  constexpr std::size_t kMostDigits = 15;  // any 15-digit whole number is exact in a double
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  // The digits as one whole number (unsigned arithmetic: more than 19 digits wrap harmlessly,
  // being refused below).
  std::uint64_t digits = 0;
  const char* const wholeStart = p;
  while (p < end && IsDigit(*p)) digits = digits * 10 + static_cast<std::uint64_t>(*p++ - '0');
  std::size_t count = static_cast<std::size_t>(p - wholeStart);
  std::size_t decimals = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    while (p < end && IsDigit(*p)) digits = digits * 10 + static_cast<std::uint64_t>(*p++ - '0');
    decimals = static_cast<std::size_t>(p - fractionStart);
    count += decimals;
  }
  if (count == 0 || count > kMostDigits) return false;
  if (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == 'e' || *p == 'E')) return false;
  const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  used = static_cast<std::size_t>(p - text.data());
  return true;
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
  const auto isIgnored = [ignored](char c) {
    for (const char i : ignored) {
      if (c == i) return true;
    }
    return false;
  };
  bool any = false;
  for (const char c : text) any = any || isIgnored(c);
  if (!any) return text;
  storage.clear();
  storage.reserve(text.size());
  for (const char c : text) {
    if (!isIgnored(c)) storage.push_back(c);
  }
  return storage;
}

}  // namespace

NumberReading ReadNumericValue(std::string_view text) {
  double value = 0.0;
  std::size_t used = 0;
  if (ReadPlainDecimal(text, value, used)) return {value, NumberStatus::Ok};
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
  double value = 0.0;
  std::size_t used = 0;
  if (ReadPlainDecimal(text, value, used) && used == text.size()) {
    return {value, NumberStatus::Ok};
  }
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
