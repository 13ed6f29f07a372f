#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/Errors.h"
#include "common/ValueList.h"
#include "marks/ImportText.h"

using namespace modKestralMGA;
using namespace modKestralMGA::testsupport;

namespace {

const ImportColumnNumbers kInitial{};  // 1, 2, 3, 0, 0 as the window starts
const ImportColumnNumbers kWithHeight{1, 2, 3, 4, 0};

// The row one line gives, all eight cells; an empty PSM No. for a line that adds nothing.
MarkRow RowOf(const std::string& line, const ImportColumnNumbers& columns) {
  MarkList list;
  const bool added = ExtractCoordData(line, columns, 1, "F", list);
  EXPECT_EQ(added, list.RowCount() == 1) << line;
  return added ? list.Row(0) : MarkRow{};
}

MarkRow Row(const char* point, const char* east, const char* north, const char* height = "",
            const char* zone = "") {
  return {point, east, north, height, "", zone, "", ""};
}

}  // namespace

TEST(ImportText, FieldsAreRunsOfDigitsPointsAndSlashesGivenByNumber) {
  struct Case {
    const char* line;
    ImportColumnNumbers columns;
    MarkRow row;
  } cases[] = {
      {"6628/1001, 280000.123, 6100000.456, ", kInitial,
       Row("6628/1001", "280000.123", "6100000.456")},
      // Letters, signs, units and separators at the end only separate.
      {"PSM 17 E280000.5 N-6100000.25", kInitial, Row("17", "280000.5", "6100000.25")},
      {"12 280000.1 6100000.2 45.6 ", kWithHeight, Row("12", "280000.1", "6100000.2", "45.6")},
      {"12 280000.1 6100000.2 45.6m", kWithHeight, Row("12", "280000.1", "6100000.2", "45.6")},
      {"2,5;7", kInitial, Row("2", "5", "7")},
      {"x2 5\t7", kInitial, Row("2", "5", "7")},
      // A decimal comma cuts a coordinate in two; an exponent letter cuts like any letter.
      {"6628/1001;280000,123;6100000,456", kInitial, Row("6628/1001", "280000", "123")},
      {"5 2.8e5", kInitial, Row("5", "2.8", "5")},
      // Any order, and fields copied as they stand.
      {"E 0280000.10 N 1.2.3 H / Z 54 PT 6628/1234",
       {5, 1, 2, 3, 4},
       Row("6628/1234", "0280000.10", "1.2.3", "/", "54")},
      // The earlier box wins a number given twice; no field, 0 and fractions take nothing.
      {"7 280000 6100000", {1, 1, 2, 2, 0}, Row("7", "", "280000")},
      {"7 280000", {1, 2.5, 3, 0, 0}, Row("7", "", "")},
      {"Point East North", kInitial, {}},
      {"7 280000 6100000", {0, 2, 3, 0, 0}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RowOf(c.line, c.columns), c.row) << c.line;
}

TEST(ImportText, ColumnNumbersAreReadByTheNumericValueRuleInBoxOrder) {
  const ImportColumnNumbers columns = ReadImportColumnNumbers(" 4 ", "3m", "", "abc", "1e1");
  EXPECT_EQ(RowOf("1 2 3 4 5 6 7 8 9 10", columns), Row("4", "3", "", "", "10"));
}

TEST(ImportText, NumberedFieldsShowHowTheLineSplits) {
  EXPECT_EQ(NumberedFields("6628/1001, 280000.123, 6130000.456"),
            "1: 6628/1001   2: 280000.123   3: 6130000.456");
  EXPECT_EQ(NumberedFields("6628/1001;280000,123"), "1: 6628/1001   2: 280000   3: 123");
  EXPECT_EQ(NumberedFields("Point East North"), "");
}

TEST(ImportText, FieldOverTheValueLimitIsRefusedEvenWhenNotTaken) {
  MarkList list;
  EXPECT_TRUE(ExtractCoordData("1 " + std::string(kMaxValueLength, '7'), kInitial, 4, "F", list));
  try {
    ExtractCoordData("1 2 3 4 " + std::string(kMaxValueLength + 1, '7'), kInitial, 5,
                     "C:\\DATA\\PTS.TXT", list);
    FAIL() << "a field over the limit was accepted";
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "Value too long at line 5 of C:\\DATA\\PTS.TXT");
  }
  EXPECT_EQ(list.RowCount(), 1u);
}

TEST(ImportText, SampleLineIsTheFirstOfAtLeastFourCharactersElseTheLast) {
  const std::pair<std::string, std::string> cases[] = {
      {"ab\r\n\r\nxyz\r\n6628/1001 1 2\r\n9 9 9 9\r\n", "6628/1001 1 2"},
      {"abc\r\nabcd\r\n", "abcd"},
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
  for (const auto& [bytes, sample] : cases) {
    RecordingSink sink;
    const std::string path = folder.Write("sample.txt", bytes);
    EXPECT_EQ(ShowFirstLine(path, path, sink), sample) << bytes;
    EXPECT_EQ(sink.Count(), 0u);
  }
  RecordingSink sink;
  EXPECT_EQ(ShowFirstLine(folder / "none.txt", "NONE.TXT", sink), "");
  EXPECT_EQ(sink.Entries(),
            (std::vector<RecordingSink::Entry>{{"Cannot open NONE.TXT: No such file or directory",
                                                "Import file error", MessageIcon::Critical}}));
}

TEST(ImportText, OnlyAnIncompleteLastRowIsRemovedBeforeAnImport) {
  const MarkRow complete = Row("1", "280000", "6130000");
  const MarkRow noNorth = Row("2", "280000", "");
  const struct {
    std::vector<MarkRow> rows;
    std::size_t rowsAfter;
  } cases[] = {{{}, 0},
               {{complete, complete}, 2},
               {{complete, noNorth}, 1},
               {{MarkRow{}, complete, MarkRow{}}, 2},
               {{MarkRow{}}, 0}};
  for (const auto& c : cases) {
    MarkList list;
    for (const MarkRow& row : c.rows) list.AppendRow(row);
    EXPECT_EQ(RemoveIncompleteLastRow(list), c.rowsAfter < c.rows.size());
    EXPECT_EQ(list.RowCount(), c.rowsAfter);
  }
}
