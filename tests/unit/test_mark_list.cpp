// The core mark list and its rules: every change moves the revision on (indexes rebuild from
// it), rows go where asked, the removal of repeated numbers and the commit of typed cell text (the
// average height: tests/data/core/joins.tsv). The emptiness and completeness rules show in the Mark
// Details readings, the saved files and the window scenarios.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "CompareFixtures.h"
#include "common/ByteBuffer.h"
#include "geodesy/Keys.h"
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

// Random changes to a list that adopted a file's bytes, applied alike to a plain vector of rows:
// after each, every cell, every PSM key and the row count agree. The cells come from the adopted
// bytes (kept in place), from elsewhere (copied), and are long enough now and then that a row's
// cells no longer fit one span of 64 KiB; enough cells are replaced that the bytes are tidied up
// more than once; copies and moves of the list are checked along the way.
TEST(MarkList, RandomChangesKeepEveryCellAsAPlainListOfRowsWould) {
  std::uint64_t state = 20261207;
  const auto next = [&state](std::uint64_t below) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (state >> 33) % below;
  };
  const auto text = [&](std::uint64_t at) {
    switch (next(10)) {
      case 0:
        return std::string();
      case 1:
        return std::string(40000 + next(3) * 20000, static_cast<char>('a' + next(26)));
      case 2: {
        std::string psm = std::to_string(6600 + next(100));
        psm.push_back('/');
        psm.append(std::to_string(1000 + next(9000)));
        return psm;
      }
      default: {
        std::string value = std::to_string(at);
        value.push_back('.');
        value.append(std::to_string(next(100000)));
        return value;
      }
    }
  };
  const auto check = [](const MarkList& list, const std::vector<MarkRow>& model, int step) {
    ASSERT_EQ(list.RowCount(), model.size()) << step;
    for (std::size_t row = 0; row < model.size(); ++row) {
      for (int column = 0; column < kMarkColumnCount; ++column) {
        ASSERT_EQ(list.Cell(row, column), model[row][static_cast<std::size_t>(column)])
            << "step " << step << " row " << row << " column " << column;
      }
      ASSERT_EQ(list.PsmKey(row), TryPsmKey(model[row][kColPsmNo])) << step << " row " << row;
    }
  };

  // A file's bytes handed over, and rows whose cells lie in them.
  std::string file;
  std::vector<MarkRow> model;
  for (std::size_t row = 0; row < 200; ++row) {
    MarkRow mark;
    for (auto& cell : mark) cell = text(row);
    for (const auto& cell : mark) file += cell;
    model.push_back(mark);
  }
  MarkList list;
  const std::span<char> adopted = list.AdoptBytes(ByteBuffer(file), file.size());
  std::size_t at = 0;
  for (const MarkRow& mark : model) {
    MarkCellViews cells;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      cells[column] = std::string_view(adopted.data() + at, mark[column].size());
      at += mark[column].size();
    }
    list.AppendRow(cells, TryPsmKey(mark[kColPsmNo]));
  }
  check(list, model, -1);

  for (int step = 0; step < 3000; ++step) {
    const std::size_t rows = model.size();
    switch (next(8)) {
      case 0:
      case 1:
      case 2: {  // a cell replaced, most often
        if (rows == 0) break;
        const std::size_t row = next(rows);
        const int column = static_cast<int>(next(kMarkColumnCount));
        const std::string cell = text(static_cast<std::uint64_t>(step));
        list.SetCell(row, column, cell);
        model[row][static_cast<std::size_t>(column)] = cell;
        break;
      }
      case 3: {
        MarkRow mark;
        for (auto& cell : mark) cell = text(static_cast<std::uint64_t>(step));
        const std::size_t position = next(rows + 1);
        list.InsertRow(position, mark);
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(position), mark);
        break;
      }
      case 4: {
        if (rows == 0) break;
        const std::size_t row = next(rows);
        list.RemoveRow(row);
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(row));
        break;
      }
      case 5: {  // a row of another list's cells appended as views
        MarkRow mark;
        for (auto& cell : mark) cell = text(static_cast<std::uint64_t>(step));
        MarkCellViews cells;
        for (std::size_t column = 0; column < cells.size(); ++column) cells[column] = mark[column];
        list.AppendRow(cells, TryPsmKey(mark[kColPsmNo]));
        model.push_back(mark);
        break;
      }
      case 6: {
        std::vector<bool> keep(rows);
        for (std::size_t row = 0; row < rows; ++row) keep[row] = next(5) != 0;
        list.KeepRows(keep);
        std::vector<MarkRow> kept;
        for (std::size_t row = 0; row < rows; ++row) {
          if (keep[row]) kept.push_back(model[row]);
        }
        model = std::move(kept);
        break;
      }
      default: {
        const std::size_t count = next(rows + 20);
        list.Resize(count);
        model.resize(count);
        break;
      }
    }
    check(list, model, step);
    if (step % 500 == 499) {
      MarkList copy(list);
      check(copy, model, step);
      MarkList moved = std::move(copy);
      check(moved, model, step);
      list = moved;
      check(list, model, step);
    }
  }
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
