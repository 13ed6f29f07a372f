// Importing coordinates from a text file: the fields of a line, the column numbers, the sample
// line, the refusal of a field over the value limit, and the removal of an incomplete last row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "common/ValueList.h"
#include "marks/ImportText.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// Fields are runs of digits, points and slashes, given by number (1, 2, 3, 0, 0 as the window
// starts); letters, signs, units and other separators only separate. A decimal comma cuts a
// coordinate in two, an exponent letter cuts like any letter; fields are copied as they stand;
// the earlier box wins a number given twice; no field, 0 and fractions take nothing.
TEST(ImportText, FieldsByNumber) {
  const ImportColumnNumbers initial{}, withHeight{1, 2, 3, 4, 0};
  const struct {
    const char* line;
    ImportColumnNumbers columns;
    MarkRow row;  // empty: the line adds nothing
  } cases[] = {
      {"6628/1001, 280000.123, 6100000.456, ",
       initial,
       {"6628/1001", "280000.123", "6100000.456", "", "", "", "", ""}},
      {"PSM 17 E280000.5 N-6100000.25",
       initial,
       {"17", "280000.5", "6100000.25", "", "", "", "", ""}},
      {"12 280000.1 6100000.2 45.6m",
       withHeight,
       {"12", "280000.1", "6100000.2", "45.6", "", "", "", ""}},
      {"x2,5;7\t", initial, {"2", "5", "7", "", "", "", "", ""}},
      {"6628/1001;280000,123;6100000,456",
       initial,
       {"6628/1001", "280000", "123", "", "", "", "", ""}},
      {"5 2.8e5", initial, {"5", "2.8", "5", "", "", "", "", ""}},
      {"E 0280000.10 N 1.2.3 H / Z 54 PT 6628/1234",
       {5, 1, 2, 3, 4},
       {"6628/1234", "0280000.10", "1.2.3", "/", "", "54", "", ""}},
      {"7 280000 6100000", {1, 1, 2, 2, 0}, {"7", "", "280000", "", "", "", "", ""}},
      {"7 280000", {1, 2.5, 3, 0, 0}, {"7", "", "", "", "", "", "", ""}},
      {"1 2 3 4 5 6 7 8 9 10",
       ReadImportColumnNumbers(" 4 ", "3m", "", "abc", "1e1"),
       {"4", "3", "", "", "", "10", "", ""}},  // read by the numeric value rule, in box order
      {"Point East North", initial, {}},
      {"7 280000 6100000", {0, 2, 3, 0, 0}, {}},
  };
  for (const auto& c : cases) {
    MarkList list;
    const bool added = ExtractCoordData(c.line, c.columns, 1, "F", list);
    EXPECT_EQ(added, list.RowCount() == 1) << c.line;
    EXPECT_EQ(added ? list.Row(0) : MarkRow{}, c.row) << c.line;
  }
  EXPECT_EQ(NumberedFields("6628/1001;280000,123"), "1: 6628/1001   2: 280000   3: 123");
  EXPECT_EQ(NumberedFields("Point East North"), "");
}

TEST(ImportText, FieldOverTheValueLimitIsRefusedEvenWhenNotTaken) {
  MarkList list;
  EXPECT_TRUE(ExtractCoordData("1 " + std::string(kMaxValueLength, '7'), {}, 4, "F", list));
  try {
    ExtractCoordData("1 2 3 4 " + std::string(kMaxValueLength + 1, '7'), {}, 5, "C:\\PTS.TXT",
                     list);
    FAIL() << "a field over the limit was accepted";
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "Value too long at line 5 of C:\\PTS.TXT");
  }
  EXPECT_EQ(list.RowCount(), 1u);
}

TEST(ImportText, SampleLineIsTheFirstOfAtLeastFourCharactersElseTheLast) {
  const std::pair<std::string, std::string> cases[] = {
      {"ab\r\n\r\nxyz\r\n6628/1001 1 2\r\n9 9 9 9\r\n", "6628/1001 1 2"},
      {"ab\r\nc\r\nxyz\r\n", "xyz"},
      {"ab\r\n\r\n", ""},
      {"", ""},
      {"\xEF\xBB\xBF"
       "6628/1001 1 2\r\n",
       "6628/1001 1 2"},
      {"ab\r1 280000 6100000\rzz", "1 280000 6100000"},
      {"a\n1 2 3\n", "1 2 3"},
      {"ab\r\n12\x1A", "12"},
  };
  TempFolder folder;
  RecordingSink sink;
  for (const auto& [bytes, sample] : cases) {
    const std::string path = folder.Write("sample.txt", bytes);
    EXPECT_EQ(ShowFirstLine(path, path, sink), sample) << bytes;
  }
  EXPECT_EQ(ShowFirstLine(folder / "none.txt", "NONE.TXT", sink), "");
  EXPECT_EQ(Said(sink),
            "! Import file error | Cannot open NONE.TXT: No such file or directory | 0\n");
}

TEST(ImportText, OnlyAnIncompleteLastRowIsRemovedBeforeAnImport) {
  const MarkRow complete{"1", "280000", "6130000", "", "", "", "", ""};
  const MarkRow noNorth{"2", "280000", "", "", "", "", "", ""};
  const std::pair<std::vector<MarkRow>, std::size_t> cases[] = {
      {{}, 0},
      {{complete, complete}, 2},
      {{complete, noNorth}, 1},
      {{MarkRow{}, complete, MarkRow{}}, 2},
      {{MarkRow{}}, 0}};
  for (const auto& [rows, after] : cases) {
    MarkList list;
    for (const MarkRow& row : rows) list.AppendRow(row);
    EXPECT_EQ(RemoveIncompleteLastRow(list), after < rows.size());
    EXPECT_EQ(list.RowCount(), after);
  }
}

}  // namespace
}  // namespace modKestralMGA
