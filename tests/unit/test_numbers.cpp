// Numbers: rounding to whole numbers, the number formats, the numeric value of a text and the
// strict reading of file values, and the English date of the report's "Printed on" line.
#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "NumberFormatCases.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

using testsupport::CaseText;
using testsupport::Fields;

std::string Reading(NumberReading r) {
  return CaseText(r.Value) + (r.Status == NumberStatus::Ok           ? " ok"
                              : r.Status == NumberStatus::NotANumber ? " not a number"
                                                                     : " out of range");
}

// The number rules against numbers.tsv.
Fields Results(const Fields& in) {
  const auto key = [](const std::function<std::int32_t()>& make) -> std::string {
    try {
      return CaseText(make());
    } catch (const KeyTooLargeError& e) {
      return e.what();
    }
  };
  const auto optional = [](std::optional<std::int32_t> k) { return k ? CaseText(*k) : "none"; };
  const auto value = [&](std::size_t i) { return testsupport::CaseNumber(in[i]); };
  const auto whole = [&](std::size_t i) { return static_cast<unsigned>(value(i)); };
  const std::string& kind = in[0];
  if (kind == "round") return {CaseText(RoundHalfEven(value(1)))};
  if (kind == "int32") return {optional(ToInt32HalfEven(value(1)))};
  if (kind == "format") return {FormatNumber(value(1), in[2])};
  if (kind == "read") return {Reading(ReadNumericValue(in[1])), Reading(ReadStrictNumber(in[1]))};
  if (kind == "cell") return {CaseText(NumericValue(in[1]))};
  if (kind == "key") return {key([&] { return PsmKey(in[1]); }), optional(TryPsmKey(in[1]))};
  return {EnglishDateText(std::chrono::year_month_day{std::chrono::year{static_cast<int>(value(1))},
                                                      std::chrono::month{whole(2)},
                                                      std::chrono::day{whole(3)}})};
}

TEST(Numbers, RoundingFormatsReadingsKeysAndDatesGiveTheResultsOfTheirCases) {
  EXPECT_EQ(testsupport::CheckCases("numbers.tsv", Results), 111);
}

// The formats' quick way (through the product with 10^places, where it settles the rounding)
// writes what the long way writes, on every hard case and 200,000 random values.
TEST(Numbers, FormatsWriteTheQuickWayWhatTheLongWayWrites) {
  EXPECT_EQ(FirstFormatDisagreement(200000, 20261207), "");
  EXPECT_GT(HardFormatCaseCount(), 100000U);
}

// 1 + 2^-53 lies exactly half-way between 1 and the next double; its exact decimal has 54
// significant digits. Padded with zeros to 10,000 digits it is still a tie (to even: 1); one more
// non-zero digit at the very end puts it above the half. A reader that looks at fewer digits, or
// accumulates them in a double, gets one of the two wrong.
TEST(NumericValue, RoundsCorrectlyWithTenThousandDigits) {
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  std::string tie = half + std::string(10000 - (half.size() - 1), '0');
  EXPECT_EQ(Reading(ReadNumericValue(tie)), "1 ok");
  tie.back() = '1';
  EXPECT_EQ(Reading(ReadNumericValue(tie)), "1.0000000000000002 ok");  // the next double
  // No overflow while accumulating; leading zeros do not count; 10^-9999 scaled back.
  EXPECT_EQ(Reading(ReadNumericValue("1" + std::string(9999, '0'))), "0 out of range");
  EXPECT_EQ(Reading(ReadNumericValue(std::string(9999, '0') + "5")), "5 ok");
  EXPECT_EQ(Reading(ReadNumericValue("0." + std::string(9998, '0') + "1e9999")), "1 ok");
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
    for (int d = 0; d < (wholeDigits == 0 && decimals == 0 ? 1 : decimals); ++d)
      text += static_cast<char>('0' + random() % 10);
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    if (random() % 2 == 0) text = "-" + text, expected = -expected;
    ASSERT_TRUE(IsExactly(ReadStrictNumber(text).Value, expected)) << text;
    ASSERT_TRUE(IsExactly(NumericValue(text + "x"), expected)) << text;
  }
}

}  // namespace
}  // namespace modKestralMGA
