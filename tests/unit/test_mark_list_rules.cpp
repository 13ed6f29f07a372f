#include <gtest/gtest.h>

#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

using namespace modKestralMGA;

namespace {

MarkList ListOf(std::initializer_list<MarkRow> rows) {
  MarkList list;
  for (const MarkRow& row : rows) list.AppendRow(row);
  return list;
}

MarkRow Mark(std::string psm, std::string east = "", std::string north = "",
             std::string height = "") {
  return MarkRow{
      std::move(psm), std::move(east), std::move(north), std::move(height), "", "", "", ""};
}

}  // namespace

TEST(MarkListRules, EmptinessLooksOnlyAtTheFirstRowsPsmNumber) {
  EXPECT_TRUE(IsGridEmpty(MarkList()));
  EXPECT_TRUE(IsGridEmpty(ListOf({Mark(""), Mark("6628/1001", "1", "2")})));
  EXPECT_FALSE(IsGridEmpty(ListOf({Mark("6628/1001")})));
}

TEST(MarkListRules, ARowIsCompleteWithPsmNumberEastAndNorth) {
  const MarkList list = ListOf(
      {Mark("6628/1001", "280000", "6130000"), Mark("6628/1002", "1", ""), Mark("", "1", "2")});
  EXPECT_TRUE(DataToSave(list, 0));
  EXPECT_FALSE(DataToSave(list, 1));
  EXPECT_FALSE(DataToSave(list, 2));
  EXPECT_FALSE(DataToSave(list, 3));  // beyond the last row
}

TEST(MarkListRules, AverageHeightCountsNonEmptyCellsAndIsZeroUnlessTheSumIsPositive) {
  struct Case {
    std::vector<std::string> heights;
    double expected;
  } cases[] = {
      {{"10", "", "20"}, 15.0},  // the empty cell is not counted
      {{"-5", "2"}, 0.0},        // the sum is negative
      {{"10", "abc"}, 5.0},      // text counts as a height of 0
      {{}, 0.0},
      {{"", ""}, 0.0},
      {{"12.5"}, 12.5},
  };
  for (const Case& c : cases) {
    MarkList list;
    for (const std::string& h : c.heights) list.AppendRow(Mark("P", "1", "1", h));
    EXPECT_DOUBLE_EQ(AverageHeight(list), c.expected) << c.heights.size() << " heights";
  }
}

TEST(MarkListRules, RemoveDupKeepsTheFirstRowOfEachPsmNumber) {
  MarkList list = ListOf({Mark("P", "1"), Mark("Q", "2"), Mark("P", "3"), Mark("R", "4"),
                          Mark("Q", "5"), Mark("p", "6"), Mark("P ", "7")});
  RemoveDup(list);
  ASSERT_EQ(list.RowCount(), 5u);
  const char* psm[] = {"P", "Q", "R", "p", "P "};  // case and blanks count
  const char* east[] = {"1", "2", "4", "6", "7"};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(list.Cell(i, kColPsmNo), psm[i]);
    EXPECT_EQ(list.Cell(i, kColEast), east[i]);
  }
}

TEST(MarkListRules, RemoveDupTreatsEmptyNumbersAsEqualAndDupAsAnOrdinaryNumber) {
  MarkList list = ListOf({Mark(""), Mark("dup", "1"), Mark("", "2"), Mark("dup", "3"), Mark("X")});
  RemoveDup(list);
  ASSERT_EQ(list.RowCount(), 3u);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "");
  EXPECT_EQ(list.Cell(1, kColPsmNo), "dup");
  EXPECT_EQ(list.Cell(1, kColEast), "1");
  EXPECT_EQ(list.Cell(2, kColPsmNo), "X");
}

TEST(MarkListRules, CommitOfThePsmNumberInsertsTheSlashAfterFourCharacters) {
  const MarkList list = ListOf({Mark("")});
  struct Case {
    const char* typed;
    bool stores;
    const char* stored;
  } cases[] = {
      {"66281001", true, "6628/1001"},
      {"662810", true, "6628/10"},
      {"1234", true, "1234"},
      {"12/345", true, "12/345"},
      {"6628/1", true, "6628/1"},
      {"12345", true, "1234/5"},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    const CellCommit commit = CommitCellText(list, 0, kColPsmNo, c.typed);
    EXPECT_EQ(commit.Stores, c.stores) << c.typed;
    EXPECT_EQ(commit.Text, c.stored) << c.typed;
  }
}

TEST(MarkListRules, CommitOfCoordinatesWritesThreeDecimals) {
  const MarkList list = ListOf({Mark("P", "1", "2", "3")});
  struct Case {
    int column;
    const char* typed;
    const char* stored;
  } cases[] = {
      {kColEast, "280000.5", "280000.500"},     {kColEast, "1e3", "1000.000"},
      {kColNorth, "280000.1234", "280000.123"}, {kColHeight, "abc", "0.000"},
      {kColHeight, "12.3125", "12.313"},        {kColEast, "", ""},  // emptied
  };
  for (const Case& c : cases) {
    const CellCommit commit = CommitCellText(list, 0, c.column, c.typed);
    EXPECT_TRUE(commit.Stores) << c.typed;
    EXPECT_EQ(commit.Text, c.stored) << c.typed;
  }
}

TEST(MarkListRules, CommitOfTextColumnsUpperCasesOrRepeatsTheCellAbove) {
  MarkList list = ListOf({Mark("P"), Mark("Q"), Mark("R")});
  list.SetCell(0, kColZone, "54");
  list.SetCell(2, kColZone, "53");
  // Typed text goes to upper case, Windows-1252 accented letters included (0xE9 -> 0xC9).
  EXPECT_EQ(CommitCellText(list, 1, kColDatum, "gda\xE9").Text, "GDA\xC9");
  // Enter on an empty cell below a filled one repeats it.
  EXPECT_EQ(CommitCellText(list, 1, kColZone, "").Text, "54");
  // ... but not in the first row, and not when the cell itself holds text (it is emptied).
  EXPECT_EQ(CommitCellText(list, 0, kColOrder, "").Text, "");
  EXPECT_EQ(CommitCellText(list, 2, kColZone, "").Text, "");
  EXPECT_TRUE(CommitCellText(list, 2, kColZone, "").Stores);
}
