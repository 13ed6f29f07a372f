// The number formats. Expected texts are the exact binary value of each double rounded half
// away from zero, computed independently with Python's decimal module
// (Decimal(x).quantize(..., ROUND_HALF_UP)); the exact values quoted show why.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/NumberFormat.h"

using namespace modKestralMGA;

namespace {

struct FormatCase {
  double Value;
  std::string Pattern;
  std::string Expected;
};

const std::vector<FormatCase> kFormatCases = {
    // Exact binary ties go away from zero.
    {12.3125, "0.000", "12.313"},
    {-12.3125, "0.000", "-12.313"},
    {0.5, "0", "1"},
    {2.5, "0", "3"},
    {-2.5, "0", "-3"},
    {30.25, "0.0", "30.3"},
    {123456789.125, "0.00", "123456789.13"},
    // Decimal "ties" that are not ties in binary: 2.675 is 2.67499999999999982236..., 1.0005 is
    // 1.00049999999999994493..., 9.9995 is 9.99949999999999938893...; rounding a 15-digit
    // decimal string first would give 2.68, 1.001 and 10.000.
    {2.675, "0.00", "2.67"},
    {1.0005, "0.000", "1.000"},
    {9.9995, "0.000", "9.999"},
    {0.045, "0.00", "0.04"},
    // Above the half in binary, with carries through every digit.
    {999.9995, "0.000", "1000.000"},  // 999.99950000000001182...
    {359.99995, "0.0000", "360.0000"},
    {9.5, "#", "10"},
    {99.5, "0", "100"},
    {-0.0005, "0.000", "-0.001"},  // -0.00050000000000000001041...
    {5e-9, "0.00000000", "0.00000001"},
    // The working formats.
    {1.000178087433, "0.00000000", "1.00017809"},
    {45.0, "0.0000", "45.0000"},
    {1413.9617536, "0.000", "1413.962"},
    {-32.45, "0.0", "-32.5"},  // -32.4500000000000028421...
    {66281001.0, "#", "66281001"},
    {12.0, "0", "12"},
    {7.0, "0.00000000", "7.00000000"},
    // Zero: "#" gives nothing, a pattern of zeros its digits; no minus sign for a value that
    // rounds to zero.
    {0.0, "#", ""},
    {0.4, "#", ""},
    {-0.4, "#", ""},
    {0.0, "0", "0"},
    {0.0, "0.000", "0.000"},
    {-0.0, "0.0", "0.0"},
    {-0.0004, "0.000", "0.000"},
    {-0.4, "0", "0"},
    {std::numeric_limits<double>::denorm_min(), "0.00000000", "0.00000000"},
    // Large values: every digit of the exact binary value, no exponent, no separators.
    {1e20, "0.000", "100000000000000000000.000"},
    {-4503599627370495.5, "0", "-4503599627370496"},
    {DBL_MAX, "#",
     "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
     "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
     "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
     "168738177180919299881250404026184124858368"},
    // More places than the working formats: the digits of the exact binary value of 0.1.
    {0.1, "0.00000000000000000000", "0.10000000000000000555"},
    // Values that are not finite (never expected, never a crash).
    {std::numeric_limits<double>::quiet_NaN(), "0.000", "NaN"},
    {std::numeric_limits<double>::infinity(), "#", "Inf"},
    {-std::numeric_limits<double>::infinity(), "0.0", "-Inf"},
};

TEST(NumberFormatTest, RoundsTheExactBinaryValueHalfAwayFromZero) {
  for (const FormatCase& c : kFormatCases) {
    EXPECT_EQ(FormatNumber(c.Value, c.Pattern), c.Expected)
        << "value " << c.Value << " pattern \"" << c.Pattern << '"';
  }
}

// A fault seen before it was fixed: a pattern with hundreds of places overran a fixed buffer
// and gave garbage.
TEST(NumberFormatTest, PatternsWithManyPlacesAreWrittenWhole) {
  const std::string pattern = "0." + std::string(500, '0');
  const std::string text = FormatNumber(1e300, pattern);
  const std::string whole = FormatNumber(1e300, "0");
  ASSERT_EQ(whole.size(), 301u);
  EXPECT_EQ(text, whole + "." + std::string(500, '0'));
  EXPECT_EQ(FormatNumber(-DBL_MAX, pattern).size(), 1u + 309u + 1u + 500u);
}

}  // namespace
