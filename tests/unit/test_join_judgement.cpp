// Judging one join: the bearing difference the short way round north, the verdicts and the order
// of their tests, the datum join and the padding of result lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "CompareFixtures.h"
#include "common/NumberFormat.h"
#include "compare/JoinJudgement.h"
#include "geodesy/MarkIndex.h"

namespace modKestralMGA {
namespace {

using testsupport::TestCompareSettings;

TEST(BearingDifferenceSeconds, ComparesWholeSecondsTheShortWayRound) {
  // Seconds counted with 206264.80625 a radian run 1.4e-11 of the value above true seconds.
  constexpr double kTolerance = 1e-5;  // seconds
  const struct {
    double plan;
    double mga;
    double seconds;
  } cases[] = {
      {45.3015, 45.3015, 0.0},
      {45.3015, 45.3025, 10.0},
      {45.3025, 45.3015, 10.0},
      // Written with "0.0000" first: a fraction of a second below the half does not count.
      {45.30154999, 45.3015, 0.0},
      // Either side of north: 2 seconds, not nearly a full circle.
      {359.5959, 0.0001, 2.0},
      {0.0001, 359.5959, 2.0},
      {360.0000, 0.0000, 0.0},
      {350.0000, 10.0000, 72000.0},
      // Half a circle apart stays half a circle, whichever side.
      {90.0000, 270.0000, 648000.0},
      {270.0000, 90.0000, 648000.0},
      // Just under half a circle is not turned round.
      {0.0000, 179.5959, 647999.0},
      {0.0000, 180.0001, 647999.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(BearingDifferenceSeconds(c.plan, c.mga), c.seconds, kTolerance)
        << c.plan << " against " << c.mga;
  }
}

TEST(PadToColumn, PadsOrSeparatesByOneBlank) {
  const struct {
    std::string text;
    std::size_t column;
    std::string padded;
  } cases[] = {
      {"", 15, std::string(15, ' ')},
      {"66281001", 15, "66281001       "},
      {"12345678901234", 15, "12345678901234 "},
      {"123456789012345", 15, "123456789012345 "},
      {"1234567890123456", 15, "1234567890123456 "},
      // Bytes are counted: a two-byte character takes two columns.
      {"\xC3\xA9", 4, "\xC3\xA9  "},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    PadToColumn(text, c.column);
    EXPECT_EQ(text, c.padded) << "\"" << c.text << "\" to " << c.column;
  }
}

// The comparison marks (CompareFixtures.h) at an average height of 100 m.
class JudgeJoinTest : public testing::Test {
 protected:
  JudgeJoinTest() { m_settings.averageHeight = "100.000"; }

  // The plan points of a join that the plan gives `seconds` of arc and `metres` away from its MGA
  // join; the MGA join is that of the first two listed marks unless given.
  struct PlanJoin {
    PlanPoint From;
    PlanPoint To;
  };
  PlanJoin PlanLike(double seconds, double metres, std::int32_t from = 66281001,
                    std::int32_t to = 66281002) {
    JoinContext context{m_index, m_settings};
    const PlanPoint start{from, 1000.0, 1000.0, 1};
    return {start, testsupport::PlaceLikeMga(context, start, to, seconds, metres)};
  }

  JoinJudgement Judge(const PlanJoin& join) {
    JoinContext context{m_index, m_settings};
    return JudgeJoin(join.From, join.To, context, m_settings.criterion);
  }

  MarkList m_list = testsupport::ComparisonMarks();
  MarkIndex m_index{m_list};
  TestCompareSettings m_settings;
};

TEST_F(JudgeJoinTest, JudgesTheDifferencesAgainstTheAllowances) {
  // Urban Areas over 1413.962 m allows 7.294 seconds and 0.050 m; Rural Areas 21.881 s, 0.150 m.
  constexpr double kSecondsTolerance = 1e-6;
  constexpr double kMetresTolerance = 1e-9;
  const struct {
    const char* criterion;
    double seconds;
    double metres;
    JoinVerdict verdict;
  } cases[] = {
      {"Urban Areas", 0.0, 0.0, JoinVerdict::Acceptable},
      {"Urban Areas", 7.0, 0.0, JoinVerdict::Acceptable},
      {"Urban Areas", -7.0, 0.049, JoinVerdict::Acceptable},
      {"Urban Areas", 8.0, 0.0, JoinVerdict::NotAcceptable},
      {"Urban Areas", -8.0, 0.0, JoinVerdict::NotAcceptable},
      {"Urban Areas", 0.0, 0.051, JoinVerdict::NotAcceptable},
      {"Urban Areas", 0.0, -0.051, JoinVerdict::NotAcceptable},
      {"Rural Areas", 21.0, -0.149, JoinVerdict::Acceptable},
      {"Rural Areas", 22.0, 0.0, JoinVerdict::NotAcceptable},
  };
  for (const auto& c : cases) {
    m_settings.criterion = c.criterion;
    const JoinJudgement join = Judge(PlanLike(c.seconds, c.metres));
    EXPECT_EQ(join.Verdict, c.verdict) << c.criterion << " " << c.seconds << " " << c.metres;
    EXPECT_NEAR(join.BearingDiff, std::abs(c.seconds), kSecondsTolerance);
    EXPECT_NEAR(join.DistanceDiff, std::abs(c.metres), kMetresTolerance);
    EXPECT_EQ(FormatNumber(join.MgaBearing, kFormatBearing), "45.0000");
    EXPECT_EQ(FormatNumber(join.MgaDistance, kFormatMetres), "1413.962");
    EXPECT_EQ(FormatNumber(join.Csf, kFormatScaleFactor), "1.00017809");
  }
}

// A text that is none of the criteria allows no bearing difference and the join's own length:
// a plan join of no length and the same bearing sits exactly on both allowances, and passes.
TEST_F(JudgeJoinTest, DifferencesEqualToTheirAllowancesPass) {
  m_settings.criterion = "no such criterion";
  // 6628/1007 lies due north of 6628/1001: MGA bearing 0.0000. Two plan points at the same place
  // give bearing 0.0000 and distance 0.
  const PlanPoint from{66281001, 50.0, 50.0, 1};
  const PlanPoint onTop{66281007, 50.0, 50.0, 1};
  JoinContext context{m_index, m_settings};
  const JoinJudgement join = JudgeJoin(from, onTop, context, m_settings.criterion);
  EXPECT_EQ(join.BearingDiff, join.AllowableBearing);
  EXPECT_EQ(join.DistanceDiff, join.AllowableDistance);
  EXPECT_EQ(join.Verdict, JoinVerdict::Acceptable);

  const PlanJoin oneSecondOff = PlanLike(1.0, 0.0, 66281001, 66281007);
  EXPECT_EQ(Judge(oneSecondOff).Verdict, JoinVerdict::NotAcceptable);
}

TEST_F(JudgeJoinTest, RefusedJoinsAndTheOrderOfTheirTests) {
  const PlanPoint placed1001{66281001, 0.0, 0.0, 1};
  const PlanPoint unsolved1002{66281002, 0.0, 0.0, 0};
  const PlanPoint placed1003{66281003, 10.0, 10.0, 1};
  const PlanPoint unsolved1003{66281003, 0.0, 0.0, 0};
  const PlanPoint placed1004{66281004, 10.0, 10.0, 1};
  const PlanPoint unsolved9999{66289999, 0.0, 0.0, 0};
  const struct {
    const char* what;
    PlanPoint from;
    PlanPoint to;
    const char* maxOrder;
    JoinVerdict verdict;
  } cases[] = {
      {"unsolved from-point", unsolved1002, placed1001, "5", JoinVerdict::PlanNotAvailable},
      {"unsolved before the order limit", placed1001, unsolved1003, "5",
       JoinVerdict::PlanNotAvailable},
      {"unsolved before the missing mark", placed1001, unsolved9999, "5",
       JoinVerdict::PlanNotAvailable},
      {"order 6 above the limit 5", placed1001, placed1003, "5", JoinVerdict::ScaledCoordinates},
      {"order 6 within the limit 6", placed1001, placed1003, "6", JoinVerdict::NotAcceptable},
      {"mark with a zero easting", placed1001, placed1004, "5", JoinVerdict::MgaNotAvailable},
  };
  for (const auto& c : cases) {
    m_settings.maxOrder = c.maxOrder;
    JoinContext context{m_index, m_settings};
    EXPECT_EQ(JudgeJoin(c.from, c.to, context, m_settings.criterion).Verdict, c.verdict) << c.what;
  }
}

// A distance difference that is not a number compares false against the allowance; it must not
// pass. Plan points whose northings overflowed give a NaN plan distance, and due north an equal
// bearing.
TEST_F(JudgeJoinTest, ADifferenceThatIsNotANumberIsNotAcceptable) {
  const double inf = std::numeric_limits<double>::infinity();
  const PlanPoint from{66281001, 0.0, inf, 1};
  const PlanPoint to{66281007, 0.0, inf, 1};
  JoinContext context{m_index, m_settings};
  const JoinJudgement join = JudgeJoin(from, to, context, m_settings.criterion);
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
