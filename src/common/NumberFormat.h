#pragma once

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

// The shortest decimal text that reads back as the same double (12.5, 0.1, 1e+300), for files
// that must carry a value exactly: "." always, no separators, independent of the locale.
std::string FormatExact(double value);

}  // namespace modKestralMGA
