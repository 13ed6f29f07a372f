// Judging one join: the allowances of the accuracy criteria, the bearing difference the short way
// round north, the verdicts and the order of their tests, and the padding of result lines.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "CompareFixtures.h"
#include "common/NumericValue.h"
#include "compare/AccuracyCriteria.h"
#include "compare/JoinJudgement.h"
#include "geodesy/GridLine.h"

namespace modKestralMGA {
namespace {

using testsupport::CompareData;
using testsupport::TableRows;

// Criteria, joins and allowances: tests/data/model/allowances.txt.
TEST(AccuracyCriteria, Allowances) {
  for (const auto& c : TableRows("allowances.txt")) {
    const double distance = NumericValue(c[1]);
    EXPECT_TRUE(IsKnownCriterion(c[0]));
    EXPECT_NEAR(AllowableBearingDiff(c[0], distance), NumericValue(c[2]), 0.5e-4) << c[0];
    EXPECT_NEAR(AllowableDistanceDiff(c[0], distance), NumericValue(c[3]), 1e-9) << c[0];
  }
  // Seconds are counted with 206264.80625 a radian, not 206264.806247...: a join as long as its
  // allowance gives atan(1) K, 162000.0000024 seconds against 162000.0000000.
  EXPECT_DOUBLE_EQ(AllowableBearingDiff("Rural Areas", 0.15), 0.7853981633974483 * 206264.80625);
  // Any other text, however near, allows no bearing difference and the whole join.
  for (const char* other : {"urban areas", " Urban Areas", "Urban Areas ", "Urban  Areas", "",
                            "URBAN SURVEY (prior Feb 2019"}) {
    EXPECT_FALSE(IsKnownCriterion(other)) << other;
    EXPECT_EQ(AllowableBearingDiff(other, 1000.0), 0.0) << other;
    EXPECT_EQ(AllowableDistanceDiff(other, 1234.5), 1234.5) << other;
  }
}

// Bearing pairs and their differences: tests/data/model/bearing_differences.txt.
TEST(BearingDifferenceSeconds, ComparesWholeSecondsTheShortWayRound) {
  for (const auto& c : TableRows("bearing_differences.txt"))
    EXPECT_NEAR(BearingDifferenceSeconds(NumericValue(c[0]), NumericValue(c[1])),
                NumericValue(c[2]), 1e-5)
        << c[0] << " against " << c[1];
}

TEST(PadToColumn, PadsOrSeparatesByOneBlank) {
  // Bytes are counted: "\xC3\xA9" takes two columns.
  // clang-format off
  const std::string cases[][3] = {{"", "15", std::string(15, ' ')}, {"66281001", "15", "66281001       "},
      {"12345678901234", "15", "12345678901234 "}, {"123456789012345", "15", "123456789012345 "},
      {"\xC3\xA9", "4", "\xC3\xA9  "}};
  // clang-format on
  for (const auto& c : cases) {
    std::string text = c[0];
    PadToColumn(text, std::stoul(c[1]));
    EXPECT_EQ(text, c[2]) << c[0];
  }
}

// The differences against the allowances: tests/data/model/join_verdicts.txt.
TEST(JudgeJoin, JudgesTheDifferencesAgainstTheAllowances) {
  CompareData data;
  for (const auto& c : TableRows("join_verdicts.txt")) {
    const double seconds = NumericValue(c[2]), metres = NumericValue(c[3]);
    JoinContext context{data.index, data.settings};
    const JoinJudgement join =
        JudgeJoin(data.origin, data.Like(std::stoi(c[1]), seconds, metres), context, c[0]);
    EXPECT_EQ(static_cast<int>(join.Verdict), std::stoi(c[4]))
        << c[0] << " " << c[2] << " " << c[3];
    if (c[1] != "66281002") continue;
    EXPECT_NEAR(join.BearingDiff, std::abs(seconds), 1e-6);
    EXPECT_NEAR(join.DistanceDiff, std::abs(metres), 1e-9);
    EXPECT_EQ(FormatNumber(join.MgaBearing, kFormatBearing), "45.0000");
    EXPECT_EQ(FormatNumber(join.MgaDistance, kFormatMetres), "1413.962");
    EXPECT_EQ(FormatNumber(join.Csf, kFormatScaleFactor), "1.00017809");
  }
  // A text that is none of the criteria allows no bearing difference and the whole join: 1007 on
  // top of 1001 sits exactly on both allowances, and passes.
  JoinContext context{data.index, data.settings};
  const JoinJudgement exact = JudgeJoin(data.origin, {66281007, 1000.0, 1000.0, 1}, context, "x");
  EXPECT_EQ(exact.BearingDiff, exact.AllowableBearing);
  EXPECT_EQ(exact.DistanceDiff, exact.AllowableDistance);
  EXPECT_EQ(exact.Verdict, JoinVerdict::Acceptable);
}

TEST(JudgeJoin, RefusedJoinsAndTheOrderOfTheirTests) {
  CompareData data;
  // An unsolved point comes before the order limit and the missing mark; 1003 has order 6; 1004
  // a zero easting; 1003 and 1007 are listed at one place, a join of no length and no bearing.
  using enum JoinVerdict;
  // clang-format off
  const struct { PlanPoint from, to; const char* maxOrder; JoinVerdict verdict; } cases[] = {
      {{66281002, 0, 0, 0}, {66281001, 0, 0, 1}, "5", PlanNotAvailable},
      {{66281001, 0, 0, 1}, {66281003, 0, 0, 0}, "5", PlanNotAvailable},
      {{66281001, 0, 0, 1}, {66289999, 0, 0, 0}, "5", PlanNotAvailable},
      {{66281001, 0, 0, 1}, {66281003, 10, 10, 1}, "5", ScaledCoordinates},
      {{66281001, 0, 0, 1}, {66281003, 10, 10, 1}, "6", NotAcceptable},
      {{66281001, 0, 0, 1}, {66281004, 10, 10, 1}, "5", MgaNotAvailable},
      {{66281003, 0, 0, 1}, {66281007, 10, 10, 1}, "6", MgaNotAvailable}};
  // clang-format on
  for (const auto& c : cases) {
    data.settings.m_maxOrder = c.maxOrder;
    JoinContext context{data.index, data.settings};
    EXPECT_EQ(JudgeJoin(c.from, c.to, context, "Urban Areas").Verdict, c.verdict)
        << c.from.PointNo << " to " << c.to.PointNo;
  }
}

// A distance difference that is not a number compares false against the allowance; it must not
// pass. Plan points whose northings overflowed give a NaN plan distance, due north an equal
// bearing.
TEST(JudgeJoin, ADifferenceThatIsNotANumberIsNotAcceptable) {
  CompareData data;
  const double inf = std::numeric_limits<double>::infinity();
  JoinContext context{data.index, data.settings};
  const JoinJudgement join =
      JudgeJoin({66281001, 0.0, inf, 1}, {66281007, 0.0, inf, 1}, context, "Urban Areas");
  EXPECT_EQ(join.BearingDiff, 0.0);
  EXPECT_TRUE(std::isnan(join.DistanceDiff));
  EXPECT_EQ(join.Verdict, JoinVerdict::NotAcceptable);
}

// Found by fuzzing: plan points 1e172 m apart showed "Inf" as their plan distance, because the
// squares of the differences overflowed though the distance does not. Ordinary distances keep
// the last bit of the square root.
TEST(PlaneDistance, DoesNotOverflowWhereTheDistanceFits) {
  EXPECT_EQ(PlaneDistance(0.0, 1e172), 1e172);
  EXPECT_DOUBLE_EQ(PlaneDistance(3e200, -4e200), 5e200);
  EXPECT_EQ(PlaneDistance(999.8176, 999.8176), std::sqrt(999.8176 * 999.8176 * 2.0));
  EXPECT_TRUE(std::isinf(PlaneDistance(1.5e308, 1.5e308)));
}

}  // namespace
}  // namespace modKestralMGA
