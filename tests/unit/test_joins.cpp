// Joins between listed marks: the index by key over the mark list,
// when GridJoin and CombinedScaleFactor refuse a join, and the rows of the join calculation.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "CaseFile.h"
#include "GeodesyFixtures.h"
#include "RecordingSink.h"
#include "common/ColumnWriter.h"
#include "common/Errors.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"
#include "markjoins/JoinCalculation.h"
#include "markjoins/MarkIndex.h"
#include "markjoins/MarkJoins.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {
namespace {

using Row = JoinListRow;
using testsupport::CaseNumber;
using testsupport::CaseText;
using testsupport::Fields;

// The status of a join as the cases name it, in the order of JoinStatus.
constexpr const char* kStatusNames[] = {"computed", "missing", "order", "nan"};

// "joined" when both routines on every ellipsoid join 6628/1001 to a 6628/1002 at east, north
// with finite values and a positive distance, "none" when all give distance 0, else "mixed".
std::string FiniteJoins(const std::string& east, const std::string& north,
                        const std::string& height) {
  MarkList list;
  list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
  list.AppendRow(JoinMark("6628/1002", east, north, "1"));
  MarkIndex index(list);
  int joined = 0, none = 0;
  for (const auto mode : {kGrs80, kAns, kPlane}) {
    const FixedJoinSettings settings("5", height, mode);
    JoinContext context{index, settings};
    for (const JoinResult& join : {CombinedScaleFactor(context, 66281001, 66281002),
                                   GridJoin(context, 66281001, 66281002)}) {
      const bool finite =
          std::isfinite(join.Bearing) && std::isfinite(join.Distance) && std::isfinite(join.Csf);
      joined +=
          finite && join.Status == JoinStatus::Computed && join.Distance > 0.0 && join.Csf > 0.0;
      none += finite && join.Status != JoinStatus::Computed && IsExactly(join.Distance, 0.0);
    }
  }
  return joined == 6 ? "joined" : none == 6 ? "none" : "mixed";
}

// The messages of looking 6628/1002 at east, north up twice in command A, once in B, once after.
Fields ToldAbout(const std::string& east, const std::string& north) {
  MarkList list;
  list.AppendRow(JoinMark("6628/1002", east, north));
  MarkIndex index(list);
  testsupport::RecordingSink sink;
  {
    const OffGridNotices a(index, sink, "A");
    index.Find(66281002);
    index.Find(66281002);
  }
  {
    const OffGridNotices b(index, sink, "B");
    index.Find(66281002);
  }
  index.Find(66281002);
  Fields told;
  for (const auto& entry : sink.Entries()) told.push_back(entry.Title + ": " + entry.Text);
  return told;
}

// The index's cells and changes, the refusals of a join, the rows of the join calculation and the
// average height against joins.tsv.
Fields Results(const Fields& in) {
  MarkList list;
  if (in[0] == "change") {
    list.AppendRow(JoinMark("6628/1001", "10", "10"));
    list.AppendRow(JoinMark("6628/1002", "2", "2"));
    MarkIndex index(list);
    EXPECT_TRUE(index.Find(66281001).has_value());
    MarkList other;  // as many changes as list: the same revision must not hide its rows
    other.AppendRow(JoinMark("6628/1001", in.back(), "5"));
    other.AppendRow(JoinMark("6628/1009", "1", "1"));
    const std::string& op = in[1];
    if (op == "set")
      list.SetCell(in[2] == "0" ? 0 : 1, in[3] == "East" ? kColEast : kColPsmNo, in[4]);
    if (op == "append") list.AppendRow(JoinMark(in[2], in[3], in[4]));
    if (op == "insert") list.InsertRow(0, JoinMark(in[2], in[3], in[4]));
    if (op == "remove") list.RemoveRow(0);
    if (op == "keep") list.KeepRows({false, true});
    if (op == "resize") list.Resize(0);
    if (op == "clear") list.Clear();
    if (op == "assign") list = other;
    if (op == "move") list = std::move(other);
    EXPECT_FALSE(index.Find(1).has_value() || index.Find(2147483647).has_value());
    return {CaseText(index.FindOrZero(66281001).East)};
  }
  if (in[0] == "index") {
    list.AppendRow(JoinMark("6628/1001", in[1], in[2], in[3]));
    MarkIndex index(list);
    EXPECT_FALSE(index.Find(66281002).has_value());
    const IndexedMark mark = index.Find(66281001).value();
    return {CaseText(mark.East), CaseText(mark.North), CaseText(mark.Order)};
  }
  if (in[0] == "join") {
    list.AppendRow(JoinMark("6628/1001", "280000", "6130000", in[4]));
    list.AppendRow(JoinMark("6628/1002", in[2], in[3], in[5]));
    MarkIndex index(list);
    const FixedJoinSettings settings(in[6], in.size() > 7 ? in[7] : "100", kGrs80);
    JoinContext context{index, settings};
    const auto key = static_cast<std::int32_t>(CaseNumber(in[1]));
    Fields results;
    for (const JoinResult& join :
         {CombinedScaleFactor(context, 66281001, key),
          CombinedScaleFactor(context, 66281001, key, OrderLimitRule::PlaneJoin),
          GridJoin(context, 66281001, key)}) {
      results.push_back(kStatusNames[static_cast<int>(join.Status)]);
      results.push_back(CaseText(ShownDistance(join)));
    }
    return results;
  }
  if (in[0] == "height") {  // PSM No. and Height cells, pair by pair
    for (std::size_t i = 1; i + 1 < in.size(); i += 2)
      list.AppendRow({in[i], "1", "1", in[i + 1], "", "", "", ""});
    testsupport::RecordingSink sink;
    Fields results{CaseText(AverageHeight(list, sink, "Join Comparison")),
                   CaseText(AverageHeight(list)),
                   CaseText(MarkRowsWithoutRepeats(list).AverageHeight())};
    for (const auto& entry : sink.Entries())
      results.push_back(CaseText(static_cast<int>(entry.Icon)) + " " + entry.Title + ": " +
                        entry.Text);
    return results;
  }
  if (in[0] == "finite") return {FiniteJoins(in[1], in[2], in[3])};
  if (in[0] == "told") return ToldAbout(in[1], in[2]);
  for (const auto& [number, east, north] :
       {std::array<const char*, 3>{"6628/1001", "280000", "6130000"},
        {"6628/1002", "281000", "6131000"},
        {"66281003", "281000", "6131000"},
        {"6628/1004", "282000", ""},
        {"6628/1005", "-1", "6132000"}}) {
    list.AppendRow(JoinMark(number, east, north, "1"));
  }
  MarkIndex index(list);
  const FixedJoinSettings settings(in[2], "100", ModeNamed(in[1]));
  JoinContext context{index, settings};
  const Row row = CalculateJoin(context, in[3], in.at(4));
  return Fields(row.begin(), row.end());
}

TEST(Joins, IndexChangesRefusedJoinsRowsAndHeightsGiveTheResultsOfTheirCases) {
  EXPECT_EQ(testsupport::CheckCases("joins.tsv", Results), 73);
}

TEST(Joins, TheFirstPickOnlySetsTheFromMarkAndEachLaterOneAddsARowToThePrintedList) {
  MarkList list;
  list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
  list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "1"));
  list.AppendRow(JoinMark("6628/1003", "281000", "6130000", "1"));
  MarkIndex index(list);
  const FixedJoinSettings settings("5", "100", kPlane);
  JoinContext context{index, settings};
  std::string from;
  std::vector<Row> rows;
  for (const char* picked : {"6628/1001", "6628/1002", "6628/1003"}) {
    if (auto row = PickMark(context, from, picked)) rows.push_back(*row);
    EXPECT_EQ(from, picked);
  }
  // A key beyond 32 bits throws naming the number; the from-mark's key is made first.
  try {
    CalculateJoin(context, "8888/888888", "9999/999999");
    ADD_FAILURE();
  } catch (const KeyTooLargeError& e) {
    EXPECT_EQ(std::string(e.what()), "PSM number too large for a key: 8888/888888");
  }
  // A failing pick leaves the from-mark as it was; a first pick makes no key.
  EXPECT_THROW(PickMark(context, from, "9999/999999"), KeyTooLargeError);
  EXPECT_EQ(from, "6628/1003");
  from.clear();
  EXPECT_FALSE(PickMark(context, from, "9999/999999").has_value());
  EXPECT_EQ(from, "9999/999999");

  // Printed at columns 1 to 60 after an empty line (join-list.golden); each text asks for its
  // column, as the printer measures the columns in its own font.
  rows.push_back({"66281002", "", "0.0000", "0.000", "0.00000000"});
  RecordingColumnWriter out;
  WriteJoinList(rows, out);
  std::string lines;
  for (const std::string& line : out.Lines()) lines += line + "\n";
  EXPECT_EQ(lines, testsupport::Golden(KESTRAL_TEST_DATA_DIR "/core/join-list.golden", lines));
  const int columns[] = {1, 15, 30, 45, 60};
  for (std::size_t line = 1; line < 5; ++line)
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(out.Items()[line][i].Column, columns[i]);
}

}  // namespace
}  // namespace modKestralMGA
