// Joins between listed marks: the index by key over the mark list,
// when GridJoin and CombinedScaleFactor refuse a join, and the rows of the join calculation.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GeodesyFixtures.h"
#include "common/ColumnWriter.h"
#include "common/Errors.h"
#include "common/Rounding.h"
#include "geodesy/JoinCalculation.h"
#include "geodesy/Keys.h"
#include "geodesy/MarkIndex.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {
namespace {

using Row = JoinListRow;

// The message of the KeyTooLargeError that making a key throws ("" when it throws none).
std::string KeyError(const std::function<void()>& make) {
  try {
    make();
  } catch (const KeyTooLargeError& e) {
    EXPECT_EQ(std::string(e.what()), "PSM number too large for a key: " + e.PsmNumber());
    return e.PsmNumber();
  }
  return {};
}

TEST(MarkIndex, ReadsCellsByTheNumericValueRuleAndFollowsEveryChange) {
  // East, North and Order cells; the order rounds half to even, with no 16-bit limit.
  // clang-format off
  const struct { const char *east, *north, *order; double expected[3]; } cells[] = {
      {"280 000.5", "6130000abc", "", {280000.5, 6130000, 0}}, {"1e400", "-5", "2.5", {0, -5, 2}},
      {"", "x", "70000.5", {0, 0, 70000}}};  // clang-format on
  for (const auto& c : cells) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", c.east, c.north, c.order));
    MarkIndex index(list);
    const IndexedMark mark = index.Find(66281001).value();
    EXPECT_TRUE(IsExactly(mark.East, c.expected[0]) && IsExactly(mark.North, c.expected[1]) &&
                IsExactly(mark.Order, c.expected[2]))
        << c.east;
    EXPECT_FALSE(index.Find(66281002).has_value());
  }
  // A list that has seen as many changes as this one: the same revision count must not hide
  // its rows from the index when it is assigned or moved in.
  const auto other = [](const char* east) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", east, "5"));
    list.AppendRow(JoinMark("6628/1009", "1", "1"));
    return list;
  };
  // clang-format off
  const std::pair<std::function<void(MarkList&)>, double> changes[] = {
      {[](MarkList& l) { l.SetCell(0, kColEast, "1"); }, 1},
      {[](MarkList& l) { l.SetCell(1, kColPsmNo, "6628/1001"); }, 2},  // the later row wins
      {[](MarkList& l) { l.AppendRow(JoinMark("6628/1001", "3", "3")); }, 3},
      {[](MarkList& l) { l.InsertRow(0, JoinMark("6628/1001", "3", "3")); }, 10},
      {[](MarkList& l) { l.AppendRow(JoinMark("6628/1001", "", "")); }, 0},
      {[](MarkList& l) { l.RemoveRow(0); }, 0}, {[](MarkList& l) { l.KeepRows({false, true}); }, 0},
      {[](MarkList& l) { l.Resize(0); }, 0}, {[](MarkList& l) { l.Clear(); }, 0},
      {[&](MarkList& l) { l = other("5"); }, 5},
      {[&](MarkList& l) { MarkList moved = other("6"); l = std::move(moved); }, 6},
      // Keys beyond 32 bits never match: clamped or wrapped, they would read as these.
      {[](MarkList& l) { l.SetCell(1, kColPsmNo, "4294967297"); }, 10},
      {[](MarkList& l) { l.SetCell(1, kColPsmNo, "2147483647.6"); }, 10},
  };  // clang-format on
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", "10", "10"));
    list.AppendRow(JoinMark("6628/1002", "2", "2"));
    MarkIndex index(list);
    ASSERT_TRUE(index.Find(66281001).has_value());
    changes[i].first(list);
    EXPECT_TRUE(IsExactly(index.FindOrZero(66281001).East, changes[i].second)) << "change " << i;
    EXPECT_FALSE(index.Find(1).has_value() || index.Find(2147483647).has_value());
  }
}

// Settings a test changes between calls, as the window's controls change.
struct LiveSettings final : JoinSettings {
  std::string maxOrder = "5", height = "100";
  DistanceCalculationMode mode = kGrs80;
  std::string MaxOrderText() const override { return maxOrder; }
  std::string AverageHeightText() const override { return height; }
  DistanceCalculationMode CalculationMode() const override { return mode; }
};

class Joins : public testing::Test {
 protected:
  Joins() {
    m_list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
    m_list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "1"));
  }
  // The distance of a join; a refused join leaves the caller's bearing and csf as they were.
  double Distance(decltype(&GridJoin) routine, std::int32_t key2 = 66281002) {
    double bearing = 123.4567, distance = 5.0, csf = 7.0;
    JoinContext context{m_index, m_settings};
    routine(context, 66281001, key2, bearing, distance, csf);
    EXPECT_TRUE(distance > 0.0 || (IsExactly(bearing, 123.4567) && IsExactly(csf, 7.0)));
    return distance;
  }
  Row Calculate(std::string_view from, std::string_view to) {
    JoinContext context{m_index, m_settings};
    return CalculateJoin(context, from, to);
  }

  MarkList m_list;
  MarkIndex m_index{m_list};
  LiveSettings m_settings;
};

TEST_F(Joins, AMissingMarkOrCoordinateGivesZeroAndAnOrderAboveTheLimitMinusNine) {
  const std::pair<const char*, const char*> ends[] = {
      {"", "6131000"}, {"281000", "0"}, {"abc", "6131000"}, {"281000", "-5"}, {"1e400", "6131000"}};
  for (const auto routine : {&GridJoin, &CombinedScaleFactor}) {
    EXPECT_EQ(Distance(routine, 66289999), 0.0);
    for (const auto& [east, north] : ends) {
      m_list.SetCell(1, kColEast, east);
      m_list.SetCell(1, kColNorth, north);
      EXPECT_EQ(Distance(routine), 0.0) << east << " " << north;
    }
    m_list.SetCell(1, kColEast, "281000");
    m_list.SetCell(1, kColNorth, "6131000");
  }
  // An empty Order or limit counts 0; the order rounds half to even (5.5: 6), the limit does not.
  // clang-format off
  const struct { const char *order1, *order2, *maxOrder; bool refused; } orders[] = {
      {"6", "1", "5", true}, {"1", "6", "5", true}, {"5", "5", "5", false}, {"", "", "0", false},
      {"1", "1", "", true}, {"5.5", "1", "5", true}, {"40000", "1", "39999.5", true}};
  // clang-format on
  for (const auto& c : orders) {
    m_list.SetCell(0, kColOrder, c.order1);
    m_list.SetCell(1, kColOrder, c.order2);
    m_settings.maxOrder = c.maxOrder;
    // The worked example at 100 m; the plane join has no order limit.
    EXPECT_NEAR(Distance(&CombinedScaleFactor), c.refused ? -9.0 : 1413.9617536, 1e-6) << c.order1;
    EXPECT_NEAR(Distance(&GridJoin), 1414.2135624, 1e-6);
  }
}

// The 1 km diagonal at average height 100 m, both ways. MGA: csf 1.00017809 (worked example of
// the combined scale factor). AMG84: 1.0001780832 against GRS80's 1.0001780874 (the same series
// evaluated independently; GeographicLib's exact point scales differ by 4.2e-9 too). Plane, and
// a mark above the order limit: the grid line, csf 1. The same mark twice: the point scale factor
// k0 (1 + 3 E'^2 Q) (1 - 15.7e-6) = 1.0001807941 at the foot-point latitude of N 6130000.
TEST_F(Joins, RowsOfTheJoinCalculation) {
  // clang-format off
  const struct { DistanceCalculationMode mode; const char *maxOrder, *from, *to; Row expected; }
      cases[] = {
      {kGrs80, "5", "6628/1001", "6628/1002", {"66281001", "66281002", "45.0000", "1413.962", "1.00017809"}},
      {kGrs80, "5", "6628/1002", "6628/1001", {"66281002", "66281001", "225.0000", "1413.962", "1.00017809"}},
      {kAns, "5", "6628/1001", "6628/1002", {"66281001", "66281002", "45.0000", "1413.962", "1.00017808"}},
      {kPlane, "5", "6628/1002", "6628/1001", {"66281002", "66281001", "225.0000", "1414.214", "1.00000000"}},
      {kAns, "0", "6628/1001", "6628/1002", {"66281001", "66281002", "45.0000", "1414.214", "1.00000000"}},
      {kGrs80, "5", "6628/1001", "6628/1001", {"66281001", "66281001", "0.0000", "0.000", "1.00018079"}},
      {kPlane, "5", "6628/1001", "6628/1001", {"66281001", "66281001", "0.0000", "0.000", "1.00000000"}},
      // Listed without its slash, the mark is found both as typed in the list and as 6628/1003.
      {kGrs80, "5", "6628/1001", "66281003", {"66281001", "66281003", "45.0000", "1413.962", "1.00017809"}},
      {kGrs80, "5", "6628/1001", "6628/1003", {"66281001", "66281003", "45.0000", "1413.962", "1.00017809"}},
      // Marks that cannot be joined give zeros; a number without a value has key 0, shown empty.
      {kGrs80, "5", "6628/9999", "6628/1001", {"66289999", "66281001", "0.0000", "0.000", "0.00000000"}},
      {kAns, "5", "6628/1001", "6628/1004", {"66281001", "66281004", "0.0000", "0.000", "0.00000000"}},
      {kPlane, "5", "6628/1005", "6628/1002", {"66281005", "66281002", "0.0000", "0.000", "0.00000000"}},
      {kGrs80, "5", "6628/1001", "none", {"66281001", "", "0.0000", "0.000", "0.00000000"}},
  };  // clang-format on
  m_list.AppendRow(JoinMark("66281003", "281000", "6131000", "1"));
  m_list.AppendRow(JoinMark("6628/1004", "282000", ""));  // no North
  m_list.AppendRow(JoinMark("6628/1005", "-1", "6132000"));
  for (const auto& c : cases) {
    m_settings.mode = c.mode;
    m_settings.maxOrder = c.maxOrder;
    EXPECT_EQ(Calculate(c.from, c.to), c.expected) << c.from << " to " << c.to;
  }
  // A key beyond 32 bits throws naming the number; the from-mark's key is made first.
  EXPECT_EQ(KeyError([&] { Calculate("6628/1001", "9999/999999"); }), "9999/999999");
  EXPECT_EQ(KeyError([&] { Calculate("8888/888888", "9999/999999"); }), "8888/888888");
}

TEST_F(Joins, TheFirstPickOnlySetsTheFromMarkAndEachLaterOneAddsARowToThePrintedList) {
  m_list.AppendRow(JoinMark("6628/1003", "281000", "6130000", "1"));
  m_settings.mode = kPlane;
  JoinContext context{m_index, m_settings};
  std::string from;
  std::vector<Row> rows;
  for (const char* picked : {"6628/1001", "6628/1002", "6628/1003"}) {
    if (auto row = PickMark(context, from, picked)) rows.push_back(*row);
    EXPECT_EQ(from, picked);
  }
  // A failing pick leaves the from-mark as it was; a first pick makes no key.
  EXPECT_THROW(PickMark(context, from, "9999/999999"), KeyTooLargeError);
  EXPECT_EQ(from, "6628/1003");
  from.clear();
  EXPECT_FALSE(PickMark(context, from, "9999/999999").has_value());
  EXPECT_EQ(from, "9999/999999");

  // Printed at columns 1 to 60 after an empty line; each text asks for its column, as the
  // printer measures the columns in its own font.
  rows.push_back({"66281002", "", "0.0000", "0.000", "0.00000000"});
  RecordingColumnWriter out;
  WriteJoinList(rows, out);
  EXPECT_EQ(out.Lines(),
            (std::vector<std::string>{
                "", "From          To             Bearing        Distance       Combined S. F.",
                "66281001      66281002       45.0000        1414.214       1.00000000",
                "66281002      66281003       180.0000       1000.000       1.00000000",
                "66281002                     0.0000         0.000          0.00000000"}));
  const int columns[] = {1, 15, 30, 45, 60};
  for (std::size_t line = 1; line < 5; ++line) {
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(out.Items()[line][i].Column, columns[i]);
  }
}

}  // namespace
}  // namespace modKestralMGA
