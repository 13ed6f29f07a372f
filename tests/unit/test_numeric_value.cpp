// The numeric value of a text and the strict reading of file values. Expected values are C++
// literals of the same decimal numbers, which the compiler rounds correctly: a correctly rounded
// reading matches them bit for bit (tolerance: none).
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "common/NumericValue.h"
#include "common/Rounding.h"

using namespace modKestralMGA;

namespace {

struct ReadingCase {
  std::string Text;
  double Expected;
  NumberStatus Status;
};

void ExpectReading(const ReadingCase& c, const NumberReading& reading) {
  EXPECT_EQ(reading.Status, c.Status) << '"' << c.Text << '"';
  EXPECT_TRUE(IsExactly(reading.Value, c.Expected))
      << '"' << c.Text << "\" read as " << reading.Value << ", expected " << c.Expected;
}

constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

const std::vector<ReadingCase> kLenientCases = {
    // The examples of the rule.
    {"6628 1001", 66281001.0, NumberStatus::Ok},
    {"45.30abc", 45.3, NumberStatus::Ok},
    {"1e3", 1000.0, NumberStatus::Ok},
    {"1e", 1.0, NumberStatus::Ok},
    {".5", 0.5, NumberStatus::Ok},
    {"0x1A", 0.0, NumberStatus::Ok},
    {"nan", 0.0, NumberStatus::Ok},
    {"inf", 0.0, NumberStatus::Ok},
    {"Infinity", 0.0, NumberStatus::Ok},
    {"abc", 0.0, NumberStatus::Ok},
    {"", 0.0, NumberStatus::Ok},
    // Blanks, tabs and line feeds are dropped anywhere, also inside the exponent.
    {" \t-12.5\t ", -12.5, NumberStatus::Ok},
    {"1 2\t3\n4", 1234.0, NumberStatus::Ok},
    {"1 e 3", 1000.0, NumberStatus::Ok},
    {"- 7 . 2 5", -7.25, NumberStatus::Ok},
    // A carriage return ends the number like any other character.
    {"12\r34", 12.0, NumberStatus::Ok},
    {"\r5", 0.0, NumberStatus::Ok},
    // A second point, a comma (the locale's decimal mark here) and other letters end it.
    {"1.2.3", 1.2, NumberStatus::Ok},
    {"1,5", 1.0, NumberStatus::Ok},
    {"1D3", 1.0, NumberStatus::Ok},
    // An exponent without digits is not part of the number.
    {"2e+", 2.0, NumberStatus::Ok},
    {"1e+", 1.0, NumberStatus::Ok},
    {"2E-x", 2.0, NumberStatus::Ok},
    {"3E2", 300.0, NumberStatus::Ok},
    {"-1e-2", -0.01, NumberStatus::Ok},
    {"+7", 7.0, NumberStatus::Ok},
    // One sign only, and a sign or point needs a digit.
    {"+-1", 0.0, NumberStatus::Ok},
    {"-", 0.0, NumberStatus::Ok},
    {".", 0.0, NumberStatus::Ok},
    {"-.e5", 0.0, NumberStatus::Ok},
    {"5.", 5.0, NumberStatus::Ok},
    // Range: overflow is reported, underflow reads as 0; rounding at both ends is exact.
    {"1e400", 0.0, NumberStatus::OutOfRange},
    {"-1e400", 0.0, NumberStatus::OutOfRange},
    {"0.001e312", 0.0, NumberStatus::OutOfRange},
    {"0.001e311", 1e308, NumberStatus::Ok},
    {"1e99999999999999999999", 0.0, NumberStatus::OutOfRange},
    {"1e-99999999", 0.0, NumberStatus::Ok},
    {"1e-99999999999999999999", 0.0, NumberStatus::Ok},
    {"1.7976931348623157e308", DBL_MAX, NumberStatus::Ok},
    // Beyond DBL_MAX plus half its last unit (1.797693134862315807937e308): overflow.
    {"1.7976931348623159e308", 0.0, NumberStatus::OutOfRange},
    {"4.9e-324", kDenormMin, NumberStatus::Ok},
    // Half the smallest subnormal is 2.4703282292062327209e-324: just above rounds up.
    {"2.4703282292062328e-324", kDenormMin, NumberStatus::Ok},
    {"2.4703282292062327e-324", 0.0, NumberStatus::Ok},
};

TEST(NumericValueTest, ReadsTheLeadingDecimalNumber) {
  for (const ReadingCase& c : kLenientCases) ExpectReading(c, ReadNumericValue(c.Text));
}

TEST(NumericValueTest, CellsCountAnOverflowAsZero) {
  EXPECT_TRUE(IsExactly(NumericValue("1e400"), 0.0));
  EXPECT_TRUE(IsExactly(NumericValue("-1e400"), 0.0));
  EXPECT_TRUE(IsExactly(NumericValue("6628/1001"), 6628.0));
  EXPECT_TRUE(IsExactly(NumericValue(" 273741.2966 "), 273741.2966));
}

// 1 + 2^-53 lies exactly half-way between 1 and the next double; its exact decimal has 54
// significant digits. Padded with zeros to 10,000 digits it is still a tie (to even: 1); one more
// non-zero digit at the very end puts it above the half. A reader that looks at fewer digits, or
// accumulates them in a double, gets one of the two wrong.
TEST(NumericValueTest, RoundsCorrectlyWithTenThousandDigits) {
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  std::string tie = half + std::string(10000 - (half.size() - 1), '0');
  ASSERT_EQ(tie.size(), 10001u);  // 10,000 digits and the point
  ExpectReading({"tie", 1.0, NumberStatus::Ok}, ReadNumericValue(tie));
  std::string above = tie;
  above.back() = '1';
  ExpectReading({"above", std::nextafter(1.0, 2.0), NumberStatus::Ok}, ReadNumericValue(above));
  // 10,000 digits before the point: no overflow while accumulating, a clean range error.
  ExpectReading({"1 and 9,999 zeros", 0.0, NumberStatus::OutOfRange},
                ReadNumericValue("1" + std::string(9999, '0')));
  // Leading zeros do not count towards the size of the number.
  ExpectReading({"9,999 zeros and 5", 5.0, NumberStatus::Ok},
                ReadNumericValue(std::string(9999, '0') + "5"));
  // 10^-9999 written out, scaled back by its exponent.
  ExpectReading({"0.(9,998 zeros)1e9999", 1.0, NumberStatus::Ok},
                ReadNumericValue("0." + std::string(9998, '0') + "1e9999"));
}

const std::vector<ReadingCase> kStrictCases = {
    {"5.", 5.0, NumberStatus::Ok},
    {"+.5", 0.5, NumberStatus::Ok},
    {"-3", -3.0, NumberStatus::Ok},
    {"1e5", 1e5, NumberStatus::Ok},
    {"2.5E-3", 2.5e-3, NumberStatus::Ok},
    {"", 0.0, NumberStatus::Ok},
    {" \t ", 0.0, NumberStatus::Ok},
    {" 1 2\t", 12.0, NumberStatus::Ok},
    {"1e", 0.0, NumberStatus::NotANumber},
    {"1e+", 0.0, NumberStatus::NotANumber},
    {"-", 0.0, NumberStatus::NotANumber},
    {".", 0.0, NumberStatus::NotANumber},
    {"infinity", 0.0, NumberStatus::NotANumber},
    {"nan", 0.0, NumberStatus::NotANumber},
    {"1.2.3", 0.0, NumberStatus::NotANumber},
    {"12abc", 0.0, NumberStatus::NotANumber},
    {"1,5", 0.0, NumberStatus::NotANumber},
    {"0x1A", 0.0, NumberStatus::NotANumber},
    {"+-1", 0.0, NumberStatus::NotANumber},
    // Only blanks and tabs are dropped: a line feed or carriage return is part of the value.
    {"1\n2", 0.0, NumberStatus::NotANumber},
    {"1\r", 0.0, NumberStatus::NotANumber},
    {"1e400", 0.0, NumberStatus::OutOfRange},
    {"1e-400", 0.0, NumberStatus::Ok},
};

TEST(NumericValueTest, StrictReadingWantsTheWholeValue) {
  for (const ReadingCase& c : kStrictCases) ExpectReading(c, ReadStrictNumber(c.Text));
}

// Short decimals (the coordinates, bearings and distances of every file) are read by one division
// of exact doubles; the value must still be the correctly rounded one that std::from_chars gives,
// for every count of digits on either side of the point and both signs.
TEST(NumericValueTest, ShortDecimalsAreCorrectlyRounded) {
  std::mt19937_64 random(20240611);  // the engine's output is fixed by the standard
  for (int i = 0; i < 200000; ++i) {
    const int wholeDigits = static_cast<int>(random() % 10);
    const int decimals = static_cast<int>(random() % 9);
    std::string text = random() % 2 == 0 ? "" : "-";
    for (int d = 0; d < wholeDigits; ++d) text += static_cast<char>('0' + random() % 10);
    if (decimals > 0 || wholeDigits == 0) text += '.';
    for (int d = 0; d < (wholeDigits == 0 && decimals == 0 ? 1 : decimals); ++d) {
      text += static_cast<char>('0' + random() % 10);
    }
    const std::string_view unsignedText = std::string_view(text).substr(text[0] == '-' ? 1 : 0);
    double expected = 0.0;
    std::from_chars(unsignedText.data(), unsignedText.data() + unsignedText.size(), expected);
    if (text[0] == '-') expected = -expected;
    ASSERT_TRUE(IsExactly(ReadStrictNumber(text).Value, expected)) << text;
    ASSERT_TRUE(IsExactly(NumericValue(text + "x"), expected)) << text;
  }
}

}  // namespace
