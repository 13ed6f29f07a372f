#include "geodesy/Angles.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"

namespace modKestralMGA {

namespace {

// The (at most) count characters of text from the 0-based position start; empty when start lies
// beyond the end.
std::string_view Mid(std::string_view text, std::size_t start, std::size_t count) {
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

// The angle in radians of whole degrees, minutes and seconds read from a ddd.mmss text. 1e-09 is
// added to the minutes and to the seconds, nudging the angle upwards so that converting it back
// finds the written minute and second rather than a hair below them.
double NudgedDMSToRadians(double wholeDegrees, double minutes, double seconds) {
  const double nudgedMinutes = minutes + 1e-09;
  const double nudgedSeconds = seconds + 1e-09;
  const double degrees = (nudgedMinutes / 60.0 + wholeDegrees) + nudgedSeconds / 3600.0;
  return Pi() * degrees / 180.0;
}

}  // namespace

double Pi() {
  return 4.0 * std::atan(1.0);
}

double DMSToRadians(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return Pi() * NumericValue(text) / 180.0;
  // The minutes and seconds are the two-character groups after the point.
  const double minutes = NumericValue(Mid(text, point + 1, 2));
  const double seconds = NumericValue(Mid(text, point + 3, 2));
  return NudgedDMSToRadians(std::floor(NumericValue(text)), minutes, seconds);
}

double WrittenDMSToRadians(double bearing) {
  // From 0 up to 1e9 the text is the nearest whole number n of ten-thousandths written with four
  // places: degrees n / 10000, then minutes and seconds as its next two pairs of digits. The
  // product bearing * 10000 is off the exact one by at most 0.002, so when it lies within 0.25 of
  // n the exact product rounds to n as well. Nearer a half, and outside that range, the text
  // itself is written and read.
  if (bearing >= 0.0 && bearing < 1e9) {
    const double scaled = bearing * 10000.0;
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) < 0.25) {
      const auto n = static_cast<std::uint64_t>(nearest);
      return NudgedDMSToRadians(static_cast<double>(n / 10000), static_cast<double>(n / 100 % 100),
                                static_cast<double>(n % 100));
    }
  }
  return DMSToRadians(FormatNumber(bearing, kFormatBearing));
}

double RadiansToDMS(double angle) {
  const double pi = Pi();
  // One correction each way: an angle from pi upwards goes down by a full circle, and a negative
  // one (including what that first step made negative) comes up by one.
  if (angle >= pi) angle -= 2.0 * pi;
  if (angle < 0.0) angle += 2.0 * pi;

  const double degrees = angle * 180.0 / pi;
  double wholeDegrees = std::floor(degrees);
  const double fraction = degrees - wholeDegrees;
  double minutes = std::floor(fraction * 60.0);
  double seconds = RoundHalfEven((fraction * 60.0 - minutes) * 60.0);
  if (seconds >= 59.5) {
    minutes += 1.0;
    seconds = 0.0;
  }
  if (minutes > 59.0) {
    wholeDegrees += 1.0;
    minutes = 0.0;
  }
  return wholeDegrees + minutes / 100.0 + seconds / 10000.0;
}

double GridBearing(double dE, double dN) {
  const double pi = Pi();
  if (IsExactly(dE, 0.0)) return dN < 0.0 ? pi : 0.0;
  if (IsExactly(dN, 0.0)) return dE > 0.0 ? pi / 2.0 : 3.0 * pi / 2.0;
  const double t = std::atan(dE / dN);
  // Lines heading north keep the arctangent as it is, north-west ones included (negative).
  return dN > 0.0 ? t : pi + t;
}

}  // namespace modKestralMGA
