// Judging one join: the allowances of the accuracy criteria, the bearing difference the short way
// round north, and the verdicts against the allowances. The refusals and the order of their tests,
// and the padding of result lines: tests/data/model/compare_cases.txt; the plane distance of far
// points: tests/data/core/geodesy.tsv.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CompareFixtures.h"
#include "common/NumericValue.h"
#include "compare/AccuracyCriteria.h"
#include "compare/JoinJudgement.h"

namespace modKestralMGA {
namespace {

using testsupport::CompareData;
using testsupport::TableRows;

// The shipped criteria as the program reads them from its criteria file, joins and allowances:
// tests/data/model/allowances.txt (the file's criteria in its order, each with its formulas).
TEST(AccuracyCriteria, Allowances) {
  std::vector<std::string> names;
  for (const auto& c : TableRows("allowances.txt")) {
    const double distance = NumericValue(c[1]);
    const AccuracyCriterion* rule = BuiltInCriteria().Find(c[0]);
    ASSERT_NE(rule, nullptr) << c[0];
    if (names.empty() || names.back() != c[0]) names.push_back(c[0]);
    EXPECT_NEAR(AllowableBearingDiff(rule, distance), NumericValue(c[2]), 0.5e-4) << c[0];
    EXPECT_NEAR(AllowableDistanceDiff(rule, distance), NumericValue(c[3]), 1e-9) << c[0];
    EXPECT_EQ(rule->BearingFormula(), c[4]) << c[0];
    EXPECT_EQ(rule->DistanceFormula(), c[5]) << c[0];
    EXPECT_FALSE(rule->UserDefined);
  }
  std::vector<std::string> shipped;
  for (const AccuracyCriterion& rule : BuiltInCriteria().All()) shipped.push_back(rule.Name);
  EXPECT_EQ(shipped, names);
  // Seconds are counted with 206264.80625 a radian, not 206264.806247...: a join as long as its
  // allowance gives atan(1) K, 162000.0000024 seconds against 162000.0000000.
  EXPECT_DOUBLE_EQ(AllowableBearingDiff(BuiltInCriteria().Find("Rural Areas"), 0.15),
                   0.7853981633974483 * 206264.80625);
  // Any other text, however near, is no criterion: it allows no bearing difference and the
  // whole join.
  for (const char* other : {"urban areas", " Urban Areas", "Urban Areas ", "Urban  Areas", "",
                            "URBAN SURVEY (prior Feb 2019"}) {
    EXPECT_EQ(BuiltInCriteria().Find(other), nullptr) << other;
  }
  EXPECT_EQ(AllowableBearingDiff(nullptr, 1000.0), 0.0);
  EXPECT_EQ(AllowableDistanceDiff(nullptr, 1234.5), 1234.5);
}

// Bearing pairs and their differences: tests/data/model/bearing_differences.txt.
TEST(BearingDifferenceSeconds, ComparesWholeSecondsTheShortWayRound) {
  for (const auto& c : TableRows("bearing_differences.txt"))
    EXPECT_NEAR(BearingDifferenceSeconds(NumericValue(c[0]), NumericValue(c[1])),
                NumericValue(c[2]), 1e-5)
        << c[0] << " against " << c[1];
}

// The differences against the allowances: tests/data/model/join_verdicts.txt.
TEST(JudgeJoin, JudgesTheDifferencesAgainstTheAllowances) {
  CompareData data;
  for (const auto& c : TableRows("join_verdicts.txt")) {
    const double seconds = NumericValue(c[2]), metres = NumericValue(c[3]);
    JoinContext context{data.index, data.settings};
    const JoinJudgement join = JudgeJoin(data.origin, data.Like(std::stoi(c[1]), seconds, metres),
                                         context, BuiltInCriteria().Find(c[0]));
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
  const JoinJudgement exact =
      JudgeJoin(data.origin, {66281007, 1000.0, 1000.0, 1}, context, nullptr);
  EXPECT_EQ(exact.BearingDiff, exact.AllowableBearing);
  EXPECT_EQ(exact.DistanceDiff, exact.AllowableDistance);
  EXPECT_EQ(exact.Verdict, JoinVerdict::Acceptable);
}

}  // namespace
}  // namespace modKestralMGA
