// The numeric value rule and the strict reading of plan values on any text, checked against the
// C library's reading of the same number in the "C" locale, and what the program does with a
// number it has read: the formats, keys and angles.
#include <locale.h>
#include <stdlib.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Angles.h"
#include "geodesy/Keys.h"

namespace modKestralMGA::fuzz {

namespace {

// The text without blanks and tabs, as the strict reading sees it.
std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ' && c != '\t') kept.push_back(c);
  }
  return kept;
}

// The C library's reading of a number the strict rule accepted, independent of the program's.
void CheckAgainstCLibrary(std::string_view text, const NumberReading& strict) {
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string number = WithoutBlanks(text);
  if (number.empty()) return;
  errno = 0;
  char* end = nullptr;
  const double expected = ::strtod_l(number.c_str(), &end, cLocale);
  Require(end == number.c_str() + number.size(), "the C library reads the whole strict number");
  if (std::isinf(expected)) {
    Require(strict.Status == NumberStatus::OutOfRange, "an overflowing number is out of range");
    return;
  }
  Require(strict.Status == NumberStatus::Ok, "a number within range reads");
  if (std::fabs(expected) < DBL_MIN) {
    // Below the normal range the program may read 0 where the C library keeps a subnormal.
    Require(IsExactly(strict.Value, expected) || IsExactly(strict.Value, 0.0),
            "a tiny number reads as itself or 0");
  } else {
    Require(IsExactly(strict.Value, expected), "a number reads correctly rounded");
  }
}

// A value written with a format reads back within half a unit of its last place.
void CheckFormatRoundTrip(double value) {
  const std::string text = FormatNumber(value, kFormatMetres);
  const NumberReading back = ReadStrictNumber(text);
  Require(back.Status == NumberStatus::Ok, "a formatted number reads back");
  const double allowed = 0.0005 * (1.0 + 1e-12) + std::fabs(value) * DBL_EPSILON;
  Require(std::fabs(back.Value - value) <= allowed, "a formatted number reads back to its value");
}

}  // namespace

int FuzzNumericValue(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = AsText(data, size);

  const NumberReading lenient = ReadNumericValue(text);
  Require(lenient.Status != NumberStatus::NotANumber, "the numeric value rule never fails");
  Require(std::isfinite(lenient.Value), "the numeric value is finite");
  Require(lenient.Status == NumberStatus::Ok || IsExactly(lenient.Value, 0.0),
          "an out-of-range value is 0");
  Require(std::isfinite(NumericValue(text)), "a cell's value is finite");

  const NumberReading strict = ReadStrictNumber(text);
  Require(std::isfinite(strict.Value), "a strict reading is finite");
  if (strict.Status != NumberStatus::NotANumber) CheckAgainstCLibrary(text, strict);
  // Without line feeds (which only the numeric value rule drops) a whole number reads the same
  // either way.
  if (strict.Status != NumberStatus::NotANumber && text.find('\n') == std::string_view::npos &&
      !WithoutBlanks(text).empty()) {
    Require(lenient.Status == strict.Status && IsExactly(lenient.Value, strict.Value),
            "a whole number reads the same by both rules");
  }

  for (const std::string_view pattern : {kFormatMetres, kFormatBearing, kFormatScaleFactor,
                                         kFormatSeconds, kFormatKey, kFormatCount}) {
    const std::string formatted = FormatNumber(lenient.Value, pattern);
    Require(formatted.find_first_not_of("-0123456789.") == std::string::npos,
            "a finite number is written with digits, '.' and '-' only");
    Require(formatted == FormatNumberGeneral(lenient.Value, pattern),
            "a number is written the quick way as the long way writes it");
  }
  CheckFormatRoundTrip(lenient.Value);
  if (strict.Status == NumberStatus::Ok) CheckFormatRoundTrip(strict.Value);
  (void)ToInt32HalfEven(lenient.Value);
  (void)ToInt32HalfEven(strict.Value);

  try {
    (void)PsmKey(text);
  } catch (const KeyTooLargeError&) {
    Require(!TryPsmKey(text).has_value(), "the two key readings agree on a key too large");
  }
  // Degrees near the largest double have no finite angle; every other text has one, and a
  // ddd.mmss value.
  const double angle = DMSToRadians(text);
  if (std::fabs(lenient.Value) < 1e300) {
    Require(std::isfinite(angle), "the angle of a text is finite");
    Require(std::isfinite(RadiansToDMS(angle)), "a finite angle gives a finite ddd.mmss");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
