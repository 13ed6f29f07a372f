// The accuracy criteria: allowances of the five criteria, their behaviour on long joins, and the
// allowances of a text that is none of them.
#include <gtest/gtest.h>

#include <string>

#include "compare/AccuracyCriteria.h"

namespace modKestralMGA {
namespace {

// Worked values of the criteria, to four decimals of a second and to the millimetre (the
// allowances are printed with "0.0" and "0.000").
TEST(AccuracyCriteria, WorkedValues) {
  constexpr double kSecondsTolerance = 0.5e-4;
  constexpr double kMetresTolerance = 1e-12;
  const struct {
    const char* criterion;
    double distance;
    double bearing;
    double metres;
  } cases[] = {
      {"Urban Areas", 1000.0, 10.3132, 0.05},
      {"Rural Areas", 100.0, 309.3970, 0.15},
      {"Adelaide City", 5000.0, 1.2376, 0.03},
      {"URBAN SURVEY (prior Feb 2019)", 1000.0, 26.1879, 0.13},
      {"RURAL SURVEY (prior Feb 2019)", 5000.0, 44.1253, 1.1},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(AllowableBearingDiff(c.criterion, c.distance), c.bearing, kSecondsTolerance)
        << c.criterion;
    EXPECT_NEAR(AllowableDistanceDiff(c.criterion, c.distance), c.metres, kMetresTolerance)
        << c.criterion;
  }
}

// Seconds are counted with 206264.80625 a radian, not the more precise 206264.806247...: a join
// as long as its allowance gives atan(1) K, 162000.0000024 seconds with that constant against
// 162000.0000000 with the precise one.
TEST(AccuracyCriteria, SecondsPerRadianIsTheCriteriaConstant) {
  EXPECT_DOUBLE_EQ(AllowableBearingDiff("Rural Areas", 0.15), 0.7853981633974483 * 206264.80625);
}

TEST(AccuracyCriteria, LongJoinsTendToTheFixedParts) {
  const double longJoin = 1.0e7;
  EXPECT_LT(AllowableBearingDiff("Urban Areas", longJoin), 0.002);
  EXPECT_LT(AllowableBearingDiff("Rural Areas", longJoin), 0.004);
  EXPECT_LT(AllowableBearingDiff("Adelaide City", longJoin), 0.001);
  EXPECT_GT(AllowableBearingDiff("URBAN SURVEY (prior Feb 2019)", longJoin), 20.0);
  EXPECT_LT(AllowableBearingDiff("URBAN SURVEY (prior Feb 2019)", longJoin), 20.001);
  EXPECT_GT(AllowableBearingDiff("RURAL SURVEY (prior Feb 2019)", longJoin), 40.0);
  EXPECT_LT(AllowableBearingDiff("RURAL SURVEY (prior Feb 2019)", longJoin), 40.003);
  // 100 ppm and 200 ppm of the join.
  EXPECT_DOUBLE_EQ(AllowableDistanceDiff("URBAN SURVEY (prior Feb 2019)", longJoin), 1000.03);
  EXPECT_DOUBLE_EQ(AllowableDistanceDiff("RURAL SURVEY (prior Feb 2019)", longJoin), 2000.1);
}

TEST(AccuracyCriteria, MatchesOnlyTheExactTexts) {
  for (const auto criterion : kAccuracyCriteria) {
    EXPECT_TRUE(IsKnownCriterion(criterion)) << criterion;
  }
  const char* unknown[] = {"urban areas",
                           "URBAN AREAS",
                           " Urban Areas",
                           "Urban Areas ",
                           "Urban  Areas",
                           "",
                           "URBAN SURVEY (prior Feb 2019"};
  for (const char* criterion : unknown) {
    EXPECT_FALSE(IsKnownCriterion(criterion)) << criterion;
    // No bearing difference passes, the distance allowance is the join itself.
    EXPECT_EQ(AllowableBearingDiff(criterion, 1000.0), 0.0) << criterion;
    EXPECT_EQ(AllowableDistanceDiff(criterion, 1234.5), 1234.5) << criterion;
  }
}

}  // namespace
}  // namespace modKestralMGA
