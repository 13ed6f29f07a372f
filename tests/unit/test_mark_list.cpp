// The core mark list: every change moves the revision on (indexes rebuild from it), and the
// bulk removal keeps the order of the rows it keeps.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "marks/MarkList.h"

using namespace modKestralMGA;

namespace {

MarkRow Mark(const std::string& psm) {
  return {psm, "280000", "6130000", "100", "2", "54", "", ""};
}

TEST(MarkListTest, EveryChangeIncrementsTheRevision) {
  MarkList list;
  list.AppendRow(Mark("6628/1001"));
  list.AppendRow(Mark("6628/1002"));
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"SetCell", [&] { list.SetCell(0, kColEast, "281000"); }},
      {"SetCell to the same text", [&] { list.SetCell(0, kColEast, "281000"); }},
      {"AppendRow", [&] { list.AppendRow(); }},
      {"InsertRow", [&] { list.InsertRow(1, Mark("6628/1003")); }},
      {"RemoveRow", [&] { list.RemoveRow(2); }},
      {"KeepRows",
       [&] {
         list.KeepRows({true, true, true});
       }},
      {"Resize", [&] { list.Resize(5); }},
      {"Clear", [&] { list.Clear(); }},
  };
  for (const auto& [name, change] : changes) {
    const std::uint64_t before = list.Revision();
    change();
    EXPECT_EQ(list.Revision(), before + 1) << name;
  }
  const std::uint64_t before = list.Revision();
  list.Reserve(1000);
  EXPECT_EQ(list.Revision(), before) << "Reserve changes no content";
}

TEST(MarkListTest, RowOperationsPutRowsWhereAsked) {
  MarkList list;
  list.AppendRow(Mark("A"));
  list.AppendRow(Mark("C"));
  list.InsertRow(1, Mark("B"));
  list.InsertRow(3, Mark("D"));
  list.SetCell(2, kColStatus, "Destroyed");
  ASSERT_EQ(list.RowCount(), 4u);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "A");
  EXPECT_EQ(list.Cell(1, kColPsmNo), "B");
  EXPECT_EQ(list.Cell(2, kColPsmNo), "C");
  EXPECT_EQ(list.Cell(2, kColStatus), "Destroyed");
  EXPECT_EQ(list.Cell(3, kColPsmNo), "D");
  list.RemoveRow(0);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "B");
  list.Resize(5);
  EXPECT_EQ(list.RowCount(), 5u);
  EXPECT_EQ(list.Row(4), MarkRow{});
  list.Resize(1);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "B");
}

TEST(MarkListTest, KeepRowsKeepsTheOrder) {
  MarkList list;
  for (const char* psm : {"r0", "r1", "r2", "r3", "r4", "r5"}) list.AppendRow(Mark(psm));
  // Entries past the end of keep count as "not kept".
  list.KeepRows({false, true, true, false, true});
  ASSERT_EQ(list.RowCount(), 3u);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "r1");
  EXPECT_EQ(list.Cell(1, kColPsmNo), "r2");
  EXPECT_EQ(list.Cell(2, kColPsmNo), "r4");
  EXPECT_EQ(list.Cell(2, kColEast), "280000");  // whole rows move, not just the first cell
  list.KeepRows({});
  EXPECT_TRUE(list.Empty());
}

}  // namespace
