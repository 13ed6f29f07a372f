// Numbers: rounding to whole numbers, the number formats, the numeric value of a text and the
// strict reading of file values, and the English date of the report's "Printed on" line.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

// Halves go to the even neighbour; the 32-bit conversion checks its range before any cast (the
// sanitizer build traps an out-of-range cast).
TEST(Rounding, HalvesGoToTheEvenNeighbourAndInt32RefusesWhatDoesNotFit) {
  const double halfEven[][2] = {{30.5, 30},
                                {31.5, 32},
                                {-30.5, -30},
                                {-31.5, -32},
                                {30.6, 31},
                                {59.5, 60},
                                {2.4999999999999996, 2},
                                {4503599627370495.5, 4503599627370496}};
  for (const auto& c : halfEven) EXPECT_TRUE(IsExactly(RoundHalfEven(c[0]), c[1])) << c[0];
  const std::pair<double, std::optional<std::int32_t>> toInt32[] = {
      {66281001.5, 66281002},
      {66281002.5, 66281002},
      {2147483647.4, 2147483647},
      {2147483647.5, std::nullopt},  // rounds to 2147483648
      {-2147483648.5, std::numeric_limits<std::int32_t>::min()},
      {-2147483649.0, std::nullopt},
      {1e300, std::nullopt},
      {kInf, std::nullopt},
      {-kInf, std::nullopt},
      {kNaN, std::nullopt}};
  for (const auto& [value, expected] : toInt32)
    EXPECT_EQ(ToInt32HalfEven(value), expected) << value;
}

// Expected texts are the exact binary value of each double rounded half away from zero, computed
// independently with Python's decimal module (Decimal(x).quantize(..., ROUND_HALF_UP)).
TEST(NumberFormat, RoundsTheExactBinaryValueHalfAwayFromZero) {
  const struct {
    double value;
    const char *pattern, *expected;
  } cases[] = {
      // clang-format off
      // Exact binary ties go away from zero.
      {12.3125, "0.000", "12.313"}, {-12.3125, "0.000", "-12.313"}, {2.5, "0", "3"},
      // Decimal "ties" that are not ties in binary (2.675 is 2.67499999999999982236...; rounding
      // a 15-digit decimal string first would give 2.68 and 1.001).
      {2.675, "0.00", "2.67"}, {1.0005, "0.000", "1.000"}, {-32.45, "0.0", "-32.5"},
      // Carries through every digit, at a tie and above the half in binary.
      {9.5, "#", "10"}, {999.9995, "0.000", "1000.000"}, {359.99995, "0.0000", "360.0000"},
      {-0.0005, "0.000", "-0.001"}, {5e-9, "0.00000000", "0.00000001"},
      {1.000178087433, "0.00000000", "1.00017809"}, {66281001.0, "#", "66281001"},
      // Zero: "#" gives nothing, a pattern of zeros its digits; no minus sign.
      {0.0, "#", ""}, {-0.4, "#", ""}, {0.0, "0.000", "0.000"}, {-0.0, "0.0", "0.0"},
      {-0.0004, "0.000", "0.000"}, {kDenormMin, "0.00000000", "0.00000000"},
      // Every digit of the exact binary value, no exponent, no separators.
      {1e20, "0.000", "100000000000000000000.000"}, {-4503599627370495.5, "0", "-4503599627370496"},
      {0.1, "0.00000000000000000000", "0.10000000000000000555"},
      {kNaN, "0.000", "NaN"}, {kInf, "#", "Inf"}, {-kInf, "0.0", "-Inf"},
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
  }
}

// A fault seen before it was fixed: a pattern with hundreds of places overran a fixed buffer
// and gave garbage.
TEST(NumberFormat, PatternsWithManyPlacesAreWrittenWhole) {
  const std::string pattern = "0." + std::string(500, '0');
  const std::string whole = FormatNumber(1e300, "0");
  ASSERT_EQ(whole.size(), 301u);
  EXPECT_EQ(FormatNumber(1e300, pattern), whole + "." + std::string(500, '0'));
  EXPECT_EQ(FormatNumber(-DBL_MAX, pattern).size(), 1u + 309u + 1u + 500u);
  EXPECT_EQ(FormatNumber(DBL_MAX, "#").substr(0, 21) + "...", "179769313486231570814...");
  EXPECT_EQ(FormatNumber(DBL_MAX, "#").size(), 309u);
}

constexpr auto Ok = NumberStatus::Ok;
constexpr auto Nan = NumberStatus::NotANumber;
constexpr auto Oor = NumberStatus::OutOfRange;

void ExpectReading(std::string_view text, NumberReading reading, double value,
                   NumberStatus status) {
  EXPECT_EQ(reading.Status, status) << '"' << text << '"';
  EXPECT_TRUE(IsExactly(reading.Value, value)) << '"' << text << "\" read as " << reading.Value;
}

// Each text read by the numeric value rule (the leading decimal number; blanks, tabs and line
// feeds dropped anywhere) and strictly (the whole value; only blanks and tabs dropped). Expected
// values are C++ literals of the same decimals, which the compiler rounds correctly: a correctly
// rounded reading matches them bit for bit.
TEST(NumericValue, LenientAndStrictReadings) {
  const struct {
    const char* text;
    double lenient;
    NumberStatus lenientStatus;
    double strict;
    NumberStatus strictStatus;
  } cases[] = {
      // clang-format off
      {"6628 1001", 66281001, Ok, 66281001, Ok},  {"45.30abc", 45.3, Ok, 0, Nan},
      {"1e3", 1000, Ok, 1000, Ok},                {"1e", 1, Ok, 0, Nan},
      {".5", 0.5, Ok, 0.5, Ok},                   {"0x1A", 0, Ok, 0, Nan},
      {"nan", 0, Ok, 0, Nan},                     {"inf", 0, Ok, 0, Nan},
      {"", 0, Ok, 0, Ok},                         {" \t ", 0, Ok, 0, Ok},
      {" \t-12.5\t ", -12.5, Ok, -12.5, Ok},      {"1 2\t3\n4", 1234, Ok, 0, Nan},
      {"1 e 3", 1000, Ok, 1000, Ok},              {"- 7 . 2 5", -7.25, Ok, -7.25, Ok},
      {"12\r34", 12, Ok, 0, Nan},                 {"1.2.3", 1.2, Ok, 0, Nan},
      {"1,5", 1, Ok, 0, Nan},                     {"1D3", 1, Ok, 0, Nan},
      {"2e+", 2, Ok, 0, Nan},                     {"2E-x", 2, Ok, 0, Nan},
      {"2.5E-3", 2.5e-3, Ok, 2.5e-3, Ok},         {"-1e-2", -0.01, Ok, -0.01, Ok},
      {"+7", 7, Ok, 7, Ok},                       {"+-1", 0, Ok, 0, Nan},
      {"-", 0, Ok, 0, Nan},                       {".", 0, Ok, 0, Nan},
      {"-.e5", 0, Ok, 0, Nan},                    {"5.", 5, Ok, 5, Ok},
      // Overflow is reported, underflow reads as 0; rounding at both ends is exact.
      {"1e400", 0, Oor, 0, Oor},                  {"-1e400", 0, Oor, 0, Oor},
      {"0.001e312", 0, Oor, 0, Oor},              {"0.001e311", 1e308, Ok, 1e308, Ok},
      {"1e99999999999999999999", 0, Oor, 0, Oor}, {"1e-99999999999999999999", 0, Ok, 0, Ok},
      {"1.7976931348623157e308", DBL_MAX, Ok, DBL_MAX, Ok},
      {"1.7976931348623159e308", 0, Oor, 0, Oor},  // beyond DBL_MAX plus half its last unit
      {"4.9e-324", kDenormMin, Ok, kDenormMin, Ok},
      // Half the smallest subnormal is 2.4703282292062327209e-324: just above rounds up.
      {"2.4703282292062328e-324", kDenormMin, Ok, kDenormMin, Ok},
      {"2.4703282292062327e-324", 0, Ok, 0, Ok},
      // clang-format on
  };
  for (const auto& c : cases) {
    ExpectReading(c.text, ReadNumericValue(c.text), c.lenient, c.lenientStatus);
    ExpectReading(c.text, ReadStrictNumber(c.text), c.strict, c.strictStatus);
  }
  // Cells count an overflow as zero.
  EXPECT_TRUE(IsExactly(NumericValue("-1e400"), 0.0));
  EXPECT_TRUE(IsExactly(NumericValue("6628/1001"), 6628.0));
}

// 1 + 2^-53 lies exactly half-way between 1 and the next double; its exact decimal has 54
// significant digits. Padded with zeros to 10,000 digits it is still a tie (to even: 1); one more
// non-zero digit at the very end puts it above the half. A reader that looks at fewer digits, or
// accumulates them in a double, gets one of the two wrong.
TEST(NumericValue, RoundsCorrectlyWithTenThousandDigits) {
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  std::string tie = half + std::string(10000 - (half.size() - 1), '0');
  ExpectReading("tie", ReadNumericValue(tie), 1.0, Ok);
  tie.back() = '1';
  ExpectReading("above", ReadNumericValue(tie), std::nextafter(1.0, 2.0), Ok);
  // No overflow while accumulating; leading zeros do not count; 10^-9999 scaled back.
  ExpectReading("1e9999", ReadNumericValue("1" + std::string(9999, '0')), 0.0, Oor);
  ExpectReading("0..05", ReadNumericValue(std::string(9999, '0') + "5"), 5.0, Ok);
  ExpectReading("0.0..1e9999", ReadNumericValue("0." + std::string(9998, '0') + "1e9999"), 1, Ok);
}

// Short decimals (the coordinates, bearings and distances of every file) are read by one division
// of exact doubles; the value must still be the correctly rounded one that std::from_chars gives,
// for every count of digits on either side of the point and both signs.
TEST(NumericValue, ShortDecimalsAreCorrectlyRounded) {
  std::mt19937_64 random(20240611);  // the engine's output is fixed by the standard
  for (int i = 0; i < 200000; ++i) {
    const int wholeDigits = static_cast<int>(random() % 10);
    const int decimals = static_cast<int>(random() % 9);
    std::string text;
    for (int d = 0; d < wholeDigits; ++d) text += static_cast<char>('0' + random() % 10);
    if (decimals > 0 || wholeDigits == 0) text += '.';
    for (int d = 0; d < (wholeDigits == 0 && decimals == 0 ? 1 : decimals); ++d) {
      text += static_cast<char>('0' + random() % 10);
    }
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    if (random() % 2 == 0) text = "-" + text, expected = -expected;
    ASSERT_TRUE(IsExactly(ReadStrictNumber(text).Value, expected)) << text;
    ASSERT_TRUE(IsExactly(NumericValue(text + "x"), expected)) << text;
  }
}

TEST(ReportDate, EnglishDateTextNamesDayAndMonthInFull) {
  // Expected texts from the Gregorian calendar (checked against Python's datetime).
  const struct {
    int y;
    unsigned m, d;
    const char* expected;
  } cases[] = {
      {2026, 12, 6, "Sunday, December 06, 2026"}, {2000, 2, 29, "Tuesday, February 29, 2000"},
      {1999, 1, 1, "Friday, January 01, 1999"},   {2024, 7, 15, "Monday, July 15, 2024"},
      {1900, 3, 1, "Thursday, March 01, 1900"},   {2038, 1, 19, "Tuesday, January 19, 2038"},
      {987, 9, 3, "Monday, September 03, 0987"},  {2023, 2, 29, ""},  // no such day
  };
  for (const auto& c : cases) {
    const std::chrono::year_month_day date{std::chrono::year{c.y}, std::chrono::month{c.m},
                                           std::chrono::day{c.d}};
    EXPECT_EQ(EnglishDateText(date), c.expected) << c.expected;
  }
  EXPECT_TRUE(LocalToday().ok());
  EXPECT_GE(static_cast<int>(LocalToday().year()), 2024);
}

}  // namespace
}  // namespace modKestralMGA
