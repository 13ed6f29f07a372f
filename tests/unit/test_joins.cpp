// Joins between listed marks: what GridJoin and CombinedScaleFactor find in the mark list and
// when they refuse a join.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "GeodesyFixtures.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/Joins.h"
#include "geodesy/Keys.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {
namespace {

using JoinRoutine = void (*)(JoinContext&, const std::int32_t&, const std::int32_t&, double&,
                             double&, double&);

constexpr std::int32_t kFrom = 66281001;
constexpr std::int32_t kTo = 66281002;
// What the caller's variables hold before a join; a refused join must leave them so.
constexpr double kCallerBearing = 123.4567;
constexpr double kCallerCsf = 7.0;

// Settings a test changes between calls, as the window's controls change.
struct LiveSettings final : JoinSettings {
  std::string maxOrder = "5";
  std::string height = "0";
  DistanceCalculationMode mode = kGrs80;
  std::string MaxOrderText() const override { return maxOrder; }
  std::string AverageHeightText() const override { return height; }
  DistanceCalculationMode CalculationMode() const override { return mode; }
};

struct JoinResult {
  double bearing = kCallerBearing;
  double distance = 0.0;
  double csf = kCallerCsf;
  std::string Bearing() const { return FormatNumber(bearing, kFormatBearing); }
  bool CallerValuesKept() const {
    return IsExactly(bearing, kCallerBearing) && IsExactly(csf, kCallerCsf);
  }
};

class Joins : public testing::Test {
 protected:
  Joins() {
    m_list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
    m_list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "1"));
  }
  JoinResult Join(JoinRoutine routine, std::int32_t key1 = kFrom, std::int32_t key2 = kTo) {
    JoinContext context{m_index, m_settings};
    JoinResult result;
    routine(context, key1, key2, result.bearing, result.distance, result.csf);
    return result;
  }

  MarkList m_list;
  MarkIndex m_index{m_list};
  LiveSettings m_settings;
};

TEST_F(Joins, GridJoinGivesThePlaneBearingAndDistance) {
  // Worked examples: the 1 km diagonal both ways, and a 55 km line in Victoria.
  m_list.AppendRow(JoinMark("6628/2001", "273741.2966", "5796489.7769"));
  m_list.AppendRow(JoinMark("6628/2002", "228854.0513", "5828259.0384"));
  struct Case {
    std::int32_t key1, key2;
    const char* bearing;
    double distance;  // tolerance 1e-6 m
  };
  const Case cases[] = {{kFrom, kTo, "45.0000", 1414.2135624},
                        {kTo, kFrom, "225.0000", 1414.2135624},
                        {66282001, 66282002, "305.1721", 54992.2791570}};
  for (const Case& c : cases) {
    const JoinResult join = Join(GridJoin, c.key1, c.key2);
    EXPECT_EQ(join.Bearing(), c.bearing);
    EXPECT_NEAR(join.distance, c.distance, 1e-6);
    EXPECT_EQ(join.csf, 1.0);
  }
}

TEST_F(Joins, AMissingMarkOrCoordinateGivesDistanceZeroAndKeepsTheCallersValues) {
  struct Case {
    const char* east;
    const char* north;
    const char* why;
  };
  const Case cases[] = {{"", "6131000", "empty East"},
                        {"281000", "0", "zero North"},
                        {"abc", "6131000", "East not a number"},
                        {"281000", "-5", "negative North"},
                        {"1e400", "6131000", "East overflows"}};
  for (const JoinRoutine routine : {&GridJoin, &CombinedScaleFactor}) {
    const JoinResult missing = Join(routine, kFrom, 66289999);
    EXPECT_EQ(missing.distance, 0.0);
    EXPECT_TRUE(missing.CallerValuesKept());
    for (const Case& c : cases) {
      m_list.SetCell(1, kColEast, c.east);
      m_list.SetCell(1, kColNorth, c.north);
      const JoinResult join = Join(routine);
      EXPECT_EQ(join.distance, 0.0) << c.why;
      EXPECT_TRUE(join.CallerValuesKept()) << c.why;
    }
    m_list.SetCell(1, kColEast, "281000");
    m_list.SetCell(1, kColNorth, "6131000");
  }
}

TEST_F(Joins, AnOrderAboveCompareUpToOrderGivesMinusNine) {
  struct Case {
    const char* order1;
    const char* order2;
    const char* maxOrder;
    bool refused;
    const char* why;
  };
  const Case cases[] = {
      {"6", "1", "5", true, "from-mark above the default limit"},
      {"1", "6", "5", true, "to-mark above the limit"},
      {"5", "5", "5", false, "at the limit"},
      {"", "", "0", false, "an empty Order counts 0"},
      {"1", "1", "", true, "an empty limit counts 0"},
      {"4.5", "1", "4", false, "order rounds half to even: 4"},
      {"5.5", "1", "5", true, "order rounds half to even: 6"},
      {"40000", "1", "40000", false, "no 16-bit limit on the order"},
      {"40000", "1", "39999.5", true, "the limit is not rounded"},
  };
  m_settings.height = "100";
  for (const Case& c : cases) {
    m_list.SetCell(0, kColOrder, c.order1);
    m_list.SetCell(1, kColOrder, c.order2);
    m_settings.maxOrder = c.maxOrder;
    const JoinResult join = Join(CombinedScaleFactor);
    if (c.refused) {
      EXPECT_EQ(join.distance, -9.0) << c.why;
      EXPECT_TRUE(join.CallerValuesKept()) << c.why;
    } else {
      EXPECT_NEAR(join.distance, 1413.9617536, 1e-6) << c.why;  // worked example
    }
    // The plane join has no order limit.
    EXPECT_NEAR(Join(GridJoin).distance, 1414.2135624, 1e-6) << c.why;
  }
}

TEST_F(Joins, TheSameMarkTwiceGivesAZeroLineWithItsPointScaleFactor) {
  m_settings.height = "100";
  const JoinResult join = Join(CombinedScaleFactor, kFrom, kFrom);
  EXPECT_EQ(join.Bearing(), "0.0000");
  EXPECT_EQ(join.distance, 0.0);
  const double latitude = GridToLatitude(280000.0, 6130000.0, m_settings.mode);
  const double k = LineScaleFactor(280000.0, 280000.0, latitude, m_settings.mode);
  EXPECT_NEAR(join.csf, (1.0 - 100 * 0.157e-6) * k, 1e-12);
}

TEST_F(Joins, EveryKeyIsMadeByPsmKey) {
  // Listed without its slash, the mark is still found by the key typed as 6628/1001: the
  // other key rule would look for 6628001 and report it missing.
  m_list.SetCell(0, kColPsmNo, "66281001");
  for (const JoinRoutine routine : {&GridJoin, &CombinedScaleFactor}) {
    EXPECT_EQ(Join(routine, PsmKey("6628/1001"), kTo).Bearing(), "45.0000");
    EXPECT_EQ(Join(routine, SlashedPsmKey("66281001"), kTo).distance, 0.0);
  }
}

TEST_F(Joins, TheLastMatchingRowWins) {
  m_list.InsertRow(0, JoinMark("6628/1001", "290000", "6140000"));
  EXPECT_EQ(Join(GridJoin).Bearing(), "45.0000");
  // A later row without coordinates overrides a complete one.
  m_list.AppendRow(JoinMark("6628/1002", "", ""));
  EXPECT_EQ(Join(CombinedScaleFactor).distance, 0.0);
}

TEST_F(Joins, ARowWhoseKeyIsBeyond32BitsIsNeverMatched) {
  // Clamped or wrapped, these would read as 2147483647 and 1.
  m_list.AppendRow(JoinMark("2147483647.6", "282000", "6132000"));
  m_list.AppendRow(JoinMark("4294967297", "282000", "6132000"));
  for (const JoinRoutine routine : {&GridJoin, &CombinedScaleFactor}) {
    EXPECT_EQ(Join(routine, kFrom, 2147483647).distance, 0.0);
    EXPECT_EQ(Join(routine, kFrom, 1).distance, 0.0);
    EXPECT_NEAR(Join(routine).distance, 1414.0, 0.3);
  }
}

TEST_F(Joins, EachJoinSeesTheListAndSettingsAsTheyAreAtTheCall) {
  EXPECT_EQ(Join(GridJoin).Bearing(), "45.0000");
  m_list.SetCell(1, kColEast, "279000");
  EXPECT_EQ(Join(GridJoin).Bearing(), "315.0000");
  m_list.SetCell(1, kColEast, "280000");
  EXPECT_EQ(Join(CombinedScaleFactor).Bearing(), "0.0000");

  const double onGrs80 = Join(CombinedScaleFactor).csf;
  m_settings.mode = kAns;
  EXPECT_GT(std::abs(Join(CombinedScaleFactor).csf - onGrs80), 1e-9);
  m_settings.mode = kPlane;
  EXPECT_EQ(Join(CombinedScaleFactor).csf, onGrs80);
  m_settings.height = "1000";
  EXPECT_LT(Join(CombinedScaleFactor).csf, onGrs80);
  m_settings.maxOrder = "-1";
  EXPECT_EQ(Join(CombinedScaleFactor).distance, -9.0);
}

}  // namespace
}  // namespace modKestralMGA
