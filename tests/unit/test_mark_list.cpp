// The core mark list and its rules: every change moves the revision on (indexes rebuild from
// it), rows go where asked, the removal of repeated numbers and the commit of typed cell text (the
// average height: tests/data/core/joins.tsv). The emptiness and completeness rules show in the Mark
// Details readings, the saved files and the window scenarios.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>

#include "CompareFixtures.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {
namespace {

using testsupport::TableRows;

MarkList ListOf(std::initializer_list<MarkRow> rows) {
  MarkList list;
  for (const MarkRow& row : rows) list.AppendRow(row);
  return list;
}
MarkRow Mark(std::string psm, std::string east = "", std::string north = "", std::string h = "") {
  return {std::move(psm), std::move(east), std::move(north), std::move(h), "", "", "", ""};
}
std::string Psms(const MarkList& list) {
  std::string text;
  for (const MarkRow& row : list.OwnedRows()) text += row[kColPsmNo] + ":" + row[kColEast] + " ";
  return text;
}

TEST(MarkList, RowOperationsPutRowsWhereAskedAndMoveTheRevisionOn) {
  MarkList list = ListOf({Mark("A", "1"), Mark("C", "3")});
  // Entries past the end of KeepRows' list count as "not kept"; whole rows move, in order.
  // clang-format off
  const std::tuple<const char*, std::function<void()>, const char*> changes[] = {
      {"InsertRow", [&] { list.InsertRow(1, Mark("B", "2")); }, "A:1 B:2 C:3 "},
      {"InsertRow at the end", [&] { list.InsertRow(3, Mark("D", "4")); }, "A:1 B:2 C:3 D:4 "},
      {"SetCell", [&] { list.SetCell(2, kColEast, "5"); }, "A:1 B:2 C:5 D:4 "},
      {"SetCell to the same text", [&] { list.SetCell(2, kColEast, "5"); }, "A:1 B:2 C:5 D:4 "},
      {"AppendRow", [&] { list.AppendRow(); }, "A:1 B:2 C:5 D:4 : "},
      {"RemoveRow", [&] { list.RemoveRow(0); }, "B:2 C:5 D:4 : "},
      {"Resize", [&] { list.Resize(5); }, "B:2 C:5 D:4 : : "},
      {"KeepRows", [&] { list.KeepRows({true, false, true}); }, "B:2 D:4 "},
      {"Clear", [&] { list.Clear(); }, ""}};
  // clang-format on
  for (const auto& [name, change, after] : changes) {
    const std::uint64_t before = list.Revision();
    change();
    EXPECT_EQ(list.Revision(), before + 1) << name;
    EXPECT_EQ(Psms(list), after) << name;
  }
  const std::uint64_t before = list.Revision();
  list.Reserve(1000);
  EXPECT_EQ(list.Revision(), before) << "Reserve changes no content";
}

// The first row of each number stays; case and blanks count, empty numbers are equal, "dup" is
// an ordinary number.
TEST(MarkListRules, RepeatsRemovedKeepTheFirstRowOfEachPsmNumber) {
  MarkList list =
      ListOf({Mark("P", "1"), Mark("Q", "2"), Mark("P", "3"), Mark("", "4"), Mark("dup", "5"),
              Mark("Q", "6"), Mark("p", "7"), Mark("P ", "8"), Mark("", "9"), Mark("dup", "10")});
  MarkRowsWithoutRepeats(list).Finish();
  EXPECT_EQ(Psms(list), "P:1 Q:2 :4 dup:5 p:7 P :8 ");
}

// Typed text and what it stores: tests/data/model/typed_cells.txt.
TEST(MarkListRules, CommitOfTypedText) {
  MarkList list = ListOf({Mark("P", "1", "2", "3"), Mark("Q"), Mark("R")});
  list.SetCell(0, kColZone, "54");
  list.SetCell(2, kColZone, "53");
  for (const auto& c : TableRows("typed_cells.txt")) {
    const CellCommit commit = CommitCellText(list, std::stoul(c[0]), std::stoi(c[1]), c[2]);
    EXPECT_EQ(commit.Stores, c[3] == "1") << c[2];
    EXPECT_EQ(commit.Text, c[4]) << c[2];
  }
}

}  // namespace
}  // namespace modKestralMGA
