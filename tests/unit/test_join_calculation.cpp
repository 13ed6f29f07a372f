// The join calculation: the rows of the walk from picked mark to picked mark, and the printed
// join list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GeodesyFixtures.h"
#include "common/ColumnWriter.h"
#include "common/Errors.h"
#include "geodesy/JoinCalculation.h"

namespace modKestralMGA {
namespace {

using Row = JoinListRow;

class JoinCalculation : public testing::Test {
 protected:
  JoinCalculation() {
    m_list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
    m_list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "1"));
  }
  Row Join(const std::string& from, const std::string& to) {
    JoinContext context{m_index, m_settings};
    return CalculateJoin(context, from, to);
  }
  void Use(DistanceCalculationMode mode, std::string maxOrder = "5", std::string height = "100") {
    m_settings = FixedJoinSettings(std::move(maxOrder), std::move(height), mode);
  }

  MarkList m_list;
  MarkIndex m_index{m_list};
  FixedJoinSettings m_settings{"5", "100"};
};

TEST_F(JoinCalculation, RowsOfTheWorkedExampleOnEachChoice) {
  // The 1 km diagonal at average height 100 m. MGA: grid 1414.2135624 m, csf 1.00017809 (worked
  // example of the combined scale factor; 1413.9617536 m at ground). Plane: the grid line, csf 1.
  // AMG84: csf 1.0001780832 against GRS80's 1.0001780874 (the same series evaluated
  // independently in double precision; GeographicLib's exact point scales differ by 4.2e-9 too).
  struct Case {
    DistanceCalculationMode mode;
    Row expected;
  };
  const Case cases[] = {
      {kGrs80, {"66281001", "66281002", "45.0000", "1413.962", "1.00017809"}},
      {kPlane, {"66281001", "66281002", "45.0000", "1414.214", "1.00000000"}},
      {kAns, {"66281001", "66281002", "45.0000", "1413.962", "1.00017808"}},
  };
  for (const Case& c : cases) {
    Use(c.mode);
    EXPECT_EQ(Join("6628/1001", "6628/1002"), c.expected) << int(c.mode);
    // Reversed: the bearing turns by 180 degrees, the distance and csf stay.
    Row reversed = c.expected;
    std::swap(reversed[0], reversed[1]);
    reversed[2] = "225.0000";
    EXPECT_EQ(Join("6628/1002", "6628/1001"), reversed) << int(c.mode);
  }
}

TEST_F(JoinCalculation, AMarkAboveTheOrderLimitGivesThePlaneJoin) {
  m_list.SetCell(0, kColOrder, "3");
  m_list.SetCell(1, kColOrder, "6");
  const Row plane = {"66281001", "66281002", "45.0000", "1414.214", "1.00000000"};
  for (const DistanceCalculationMode mode : {kGrs80, kAns, kPlane}) {
    Use(mode, "5");
    EXPECT_EQ(Join("6628/1001", "6628/1002"), plane) << int(mode);
  }
  Use(kGrs80, "6");
  EXPECT_EQ(Join("6628/1001", "6628/1002")[4], "1.00017809");
}

TEST_F(JoinCalculation, MarksThatCannotBeJoinedGiveZeros) {
  m_list.AppendRow(JoinMark("6628/1003", "282000", ""));  // no North
  m_list.AppendRow(JoinMark("6628/1004", "-1", "6132000"));
  struct Case {
    const char* from;
    const char* to;
    Row expected;
  };
  const Case cases[] = {
      {"6628/1001", "6628/9999", {"66281001", "66289999", "0.0000", "0.000", "0.00000000"}},
      {"6628/9999", "6628/1001", {"66289999", "66281001", "0.0000", "0.000", "0.00000000"}},
      {"6628/1001", "6628/1003", {"66281001", "66281003", "0.0000", "0.000", "0.00000000"}},
      {"6628/1004", "6628/1002", {"66281004", "66281002", "0.0000", "0.000", "0.00000000"}},
      // A number without a value has key 0, shown as an empty text.
      {"6628/1001", "none", {"66281001", "", "0.0000", "0.000", "0.00000000"}},
  };
  for (const DistanceCalculationMode mode : {kGrs80, kAns, kPlane}) {
    Use(mode);
    for (const Case& c : cases) {
      EXPECT_EQ(Join(c.from, c.to), c.expected) << c.from << " to " << c.to << ", " << int(mode);
    }
  }
}

TEST_F(JoinCalculation, TheSameMarkTwiceGivesAZeroLine) {
  // The point scale factor at E 280000 with h = 100 m: k0 (1 + 3 E'^2 Q) (1 - 15.7e-6) =
  // 1.0001807941, the series evaluated independently at the foot-point latitude of N 6130000.
  Use(kGrs80);
  EXPECT_EQ(Join("6628/1001", "6628/1001"),
            (Row{"66281001", "66281001", "0.0000", "0.000", "1.00018079"}));
  Use(kPlane);
  EXPECT_EQ(Join("6628/1001", "6628/1001"),
            (Row{"66281001", "66281001", "0.0000", "0.000", "1.00000000"}));
}

TEST_F(JoinCalculation, MarksAreKeyedByPsmKey) {
  // Listed without its slash, the mark is found both as typed in the list and as 6628/1002.
  m_list.SetCell(1, kColPsmNo, "66281002");
  const Row expected = {"66281001", "66281002", "45.0000", "1413.962", "1.00017809"};
  EXPECT_EQ(Join("6628/1001", "66281002"), expected);
  EXPECT_EQ(Join("6628/1001", "6628/1002"), expected);
}

TEST_F(JoinCalculation, AKeyBeyond32BitsThrowsNamingTheNumber) {
  for (const auto& [from, to] :
       {std::pair{"9999/999999", "6628/1001"}, std::pair{"6628/1001", "9999/999999"}}) {
    try {
      Join(from, to);
      ADD_FAILURE() << "no error for " << from << " to " << to;
    } catch (const KeyTooLargeError& e) {
      EXPECT_STREQ(e.what(), "PSM number too large for a key: 9999/999999");
    }
  }
  // The from-mark's key is made first.
  try {
    Join("8888/888888", "9999/999999");
    ADD_FAILURE() << "no error";
  } catch (const KeyTooLargeError& e) {
    EXPECT_EQ(e.PsmNumber(), "8888/888888");
  }
}

TEST_F(JoinCalculation, TheFirstPickOnlySetsTheFromMarkAndEachLaterOneAddsARow) {
  m_list.AppendRow(JoinMark("6628/1003", "281000", "6130000", "1"));
  Use(kPlane);
  JoinContext context{m_index, m_settings};
  std::string from;
  std::vector<Row> rows;
  for (const char* picked : {"6628/1001", "6628/1002", "6628/1003"}) {
    if (auto row = PickMark(context, from, picked)) rows.push_back(*row);
    EXPECT_EQ(from, picked);
  }
  const std::vector<Row> expected = {
      {"66281001", "66281002", "45.0000", "1414.214", "1.00000000"},
      {"66281002", "66281003", "180.0000", "1000.000", "1.00000000"}};
  EXPECT_EQ(rows, expected);

  // A failing pick leaves the from-mark as it was.
  EXPECT_THROW(PickMark(context, from, "9999/999999"), KeyTooLargeError);
  EXPECT_EQ(from, "6628/1003");
  // A first pick makes no key, so even a number beyond 32 bits becomes the from-mark.
  from.clear();
  EXPECT_FALSE(PickMark(context, from, "9999/999999").has_value());
  EXPECT_EQ(from, "9999/999999");
}

TEST_F(JoinCalculation, TheJoinListIsPrintedAtColumns1To60AfterAnEmptyLine) {
  RecordingColumnWriter headerOnly;
  WriteJoinList({}, headerOnly);
  const std::vector<std::string> header = {
      "", "From          To             Bearing        Distance       Combined S. F."};
  EXPECT_EQ(headerOnly.Lines(), header);

  RecordingColumnWriter out;
  WriteJoinList({{"66281001", "66281002", "45.0000", "1413.962", "1.00017809"},
                 {"66281002", "", "0.0000", "0.000", "0.00000000"}},
                out);
  const std::vector<std::string> expected = {
      "", "From          To             Bearing        Distance       Combined S. F.",
      "66281001      66281002       45.0000        1413.962       1.00017809",
      "66281002                     0.0000         0.000          0.00000000"};
  EXPECT_EQ(out.Lines(), expected);
  // Each text asked for its column: the printer measures the columns in its own font.
  const std::vector<int> columns = {1, 15, 30, 45, 60};
  for (std::size_t line = 1; line < 4; ++line) {
    ASSERT_EQ(out.Items()[line].size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(out.Items()[line][i].Column, columns[i]);
  }
}

}  // namespace
}  // namespace modKestralMGA
