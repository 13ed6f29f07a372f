// Importing coordinates from a text file: the fields of a line, the column numbers, the sample
// line and the removal of an incomplete last row (a field over the value limit:
// tests/data/bad/im-field-at-limit, im-long-field).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/NumericValue.h"
#include "marks/ImportText.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// Fields are runs of digits, points and slashes, given by number (1, 2, 3, 0, 0 as the window
// starts); letters, signs, units and other separators only separate. A decimal comma cuts a
// coordinate in two, an exponent letter cuts like any letter; fields are copied as they stand;
// the earlier box wins a number given twice; no field, 0 and fractions take nothing. Lines,
// column numbers and fields: tests/data/model/import_fields.txt.
TEST(ImportText, FieldsByNumber) {
  for (const auto& c : TableRows("import_fields.txt")) {
    const auto numbers = Split(c[1], " ");
    const ImportColumnNumbers columns{NumericValue(numbers[0]), NumericValue(numbers[1]),
                                      NumericValue(numbers[2]), NumericValue(numbers[3]),
                                      NumericValue(numbers[4])};
    MarkList list;
    const bool added = ExtractCoordData(c[0], columns, 1, "F", list);
    EXPECT_EQ(added, list.RowCount() == 1) << c[0];
    std::string fields;
    for (const std::string& cell : list.RowCount() == 1 ? list.Row(0).Owned() : MarkRow{})
      fields += ";" + cell;
    EXPECT_EQ(list.RowCount() == 1 ? fields.substr(1) : "-", c[2]) << c[0];
  }
  // The boxes are read by the numeric value rule, in box order.
  MarkList list;
  ExtractCoordData("1 2 3 4 5 6 7 8 9 10", ReadImportColumnNumbers(" 4 ", "3m", "", "abc", "1e1"),
                   1, "F", list);
  EXPECT_EQ(list.Row(0).Owned(), (MarkRow{"4", "3", "", "", "", "10", "", ""}));
  EXPECT_EQ(NumberedFields("6628/1001;280000,123"), "1: 6628/1001   2: 280000   3: 123");
  EXPECT_EQ(NumberedFields("Point East North"), "");
}

// Files and their sample lines: tests/data/model/sample_lines.txt.
TEST(ImportText, SampleLineIsTheFirstOfAtLeastFourCharactersElseTheLast) {
  TempFolder folder;
  RecordingSink sink;
  for (const auto& c : TableRows("sample_lines.txt")) {
    const std::string path = folder.Write("sample.txt", c[0]);
    EXPECT_EQ(ShowFirstLine(path, path, sink), c[1]) << c[0];
  }
  EXPECT_EQ(ShowFirstLine(folder / "none.txt", "NONE.TXT", sink), "");
  EXPECT_EQ(Said(sink),
            "! Import file error | Cannot open NONE.TXT: No such file or directory | 0\n");
}

TEST(ImportText, OnlyAnIncompleteLastRowIsRemovedBeforeAnImport) {
  const MarkRow complete{"1", "280000", "6130000", "", "", "", "", ""};
  const MarkRow noNorth{"2", "280000", "", "", "", "", "", ""};
  const std::pair<std::vector<MarkRow>, std::size_t> cases[] = {
      // clang-format off
      {{}, 0}, {{complete, complete}, 2}, {{complete, noNorth}, 1},
      {{MarkRow{}, complete, MarkRow{}}, 2}, {{MarkRow{}}, 0}};
  // clang-format on
  for (const auto& [rows, after] : cases) {
    MarkList list;
    for (const MarkRow& row : rows) list.AppendRow(row);
    EXPECT_EQ(RemoveIncompleteLastRow(list), after < rows.size());
    EXPECT_EQ(list.RowCount(), after);
  }
}

}  // namespace
}  // namespace modKestralMGA
