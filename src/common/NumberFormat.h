#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modKestralMGA {

// The program's number formats.
inline constexpr std::string_view kFormatMetres = "0.000";            // distances, heights
inline constexpr std::string_view kFormatBearing = "0.0000";          // ddd.mmss bearings
inline constexpr std::string_view kFormatScaleFactor = "0.00000000";  // scale factors
inline constexpr std::string_view kFormatSeconds = "0.0";             // seconds of arc
inline constexpr std::string_view kFormatKey = "#";                   // point numbers and keys
inline constexpr std::string_view kFormatCount = "0";                 // counts

// value written with a format pattern: "0", "0.0", "0.000", "0.0000", "0.00000000" (any number
// of zeros after the point) or "#". A pattern of zeros gives at least one digit before the
// point and exactly as many after it as the pattern has; "#" gives the whole number and the
// empty text for a value that rounds to 0. "." always, a leading minus sign for a negative value
// that does not round to zero, no separators. Rounding works on the exact binary value of the
// double: only a value exactly half-way in binary is a tie, and ties go away from zero
// (12.3125 -> "12.313" with "0.000"; 2.675 -> "2.67" with "0.00", that double lying below the
// half). A value that is not finite gives "NaN", "Inf" or "-Inf".
std::string FormatNumber(double value, std::string_view pattern);

// A format pattern as FormatNumberTo takes it: the places after the point, and whether it is "#".
struct NumberPattern {
  int Decimals = 0;
  bool WholeOnly = false;
};

// The pattern of a pattern text: "#" is the whole number, any other text has as many places as
// it has characters after its "." (none without one).
constexpr NumberPattern PatternOf(std::string_view pattern) {
  if (pattern == "#") return {0, true};
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '.') return {static_cast<int>(pattern.size() - i - 1), false};
  }
  return {0, false};
}

// The room FormatNumberTo needs with `decimals` places: a sign, the 309 digits before the point
// of the largest double, the point, the places and one place more while rounding.
constexpr std::size_t NumberTextRoom(int decimals) {
  return 312 + static_cast<std::size_t>(decimals);
}

// The text of FormatNumber written at out, which has room for NumberTextRoom(pattern.Decimals)
// characters; returns the end of the text (no terminating zero is written). For writers that put
// the number straight into their own buffer.
char* FormatNumberTo(char* out, double value, NumberPattern pattern);

// FormatNumber's text kept in a buffer of its own, for a writer that copies it at once:
// out.Text(NumberText(value, kFormatMetres)).
class NumberText {
 public:
  NumberText(double value, std::string_view pattern) {
    const NumberPattern format = PatternOf(pattern);
    if (format.Decimals <= kShortPlaces) {
      m_text = {m_short,
                static_cast<std::size_t>(FormatNumberTo(m_short, value, format) - m_short)};
    } else {
      m_long = FormatNumber(value, pattern);
      m_text = m_long;
    }
  }
  NumberText(const NumberText&) = delete;
  NumberText& operator=(const NumberText&) = delete;
  operator std::string_view() const { return m_text; }

 private:
  static constexpr int kShortPlaces = 24;
  char m_short[NumberTextRoom(kShortPlaces)];
  std::string m_long;
  std::string_view m_text;
};

// FormatNumber's text made the long way for every value: the exact binary value written in fixed
// notation with one place more where it is a tie. FormatNumber takes this way only for values
// its quick way cannot settle (very large values, products too near a half); both give the same
// text for every value.
std::string FormatNumberGeneral(double value, std::string_view pattern);

// The shortest decimal text that reads back as the same double (12.5, 0.1, 1e+300), for files
// that must carry a value exactly: "." always, no separators, independent of the locale.
std::string FormatExact(double value);

}  // namespace modKestralMGA
