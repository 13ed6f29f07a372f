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

// The imported cells of a row: PSM No., East, North, Height, Zone.
struct Imported {
  std::string Point, East, North, Height, Zone;
  bool operator==(const Imported&) const = default;
  friend void PrintTo(const Imported& r, std::ostream* os) {
    *os << "{" << r.Point << " | " << r.East << " | " << r.North << " | " << r.Height << " | "
        << r.Zone << "}";
  }
};

Imported ImportedCells(const MarkRow& row) {
  return {row[kColPsmNo], row[kColEast], row[kColNorth], row[kColHeight], row[kColZone]};
}

ImportColumnNumbers Columns(double point, double east, double north, double height, double zone) {
  return {point, east, north, height, zone};
}

const ImportColumnNumbers kInitialColumns{};  // 1, 2, 3, 0, 0 as the window starts

MarkRow Complete(const std::string& psm) {
  return {psm, "280000.000", "6130000.000", "", "", "", "", ""};
}

}  // namespace

// ---- The field rule ----

struct ExtractCase {
  const char* name;
  std::string line;
  ImportColumnNumbers columns;
  bool appends;
  Imported expected;
};

class ExtractCoordDataTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractCoordDataTest, CutsTheLineIntoNumericFieldsAndFillsTheRow) {
  const ExtractCase& c = GetParam();
  MarkList list;
  list.AppendRow(Complete("6628/1000"));
  EXPECT_EQ(ExtractCoordData(c.line, c.columns, 1, "FILE.TXT", list), c.appends);
  if (!c.appends) {
    EXPECT_EQ(list.RowCount(), 1u);
    return;
  }
  ASSERT_EQ(list.RowCount(), 2u);
  const MarkRow& row = list.Row(1);
  EXPECT_EQ(ImportedCells(row), c.expected);
  // Order, Datum and Status are never filled by an import.
  EXPECT_EQ(row[kColOrder], "");
  EXPECT_EQ(row[kColDatum], "");
  EXPECT_EQ(row[kColStatus], "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractCoordDataTest,
    ::testing::Values(
        ExtractCase{"CommaAndBlankAfterEachValue",
                    "6628/1001, 280000.123, 6100000.456, ",
                    kInitialColumns,
                    true,
                    {"6628/1001", "280000.123", "6100000.456", "", ""}},
        ExtractCase{"LettersOnlySeparate",
                    "PSM 17 E280000.5 N6100000.25",
                    kInitialColumns,
                    true,
                    {"17", "280000.5", "6100000.25", "", ""}},
        ExtractCase{"MinusSignIsASeparatorSoTheSignIsLost",
                    "9,-1234.5,-6100000.25",
                    kInitialColumns,
                    true,
                    {"9", "1234.5", "6100000.25", "", ""}},
        ExtractCase{"TrailingSeparatorKeepsTheLastField",
                    "12 280000.1 6100000.2 45.6 ",
                    Columns(1, 2, 3, 4, 0),
                    true,
                    {"12", "280000.1", "6100000.2", "45.6", ""}},
        ExtractCase{"UnitLetterAfterTheHeight",
                    "12 280000.1 6100000.2 45.6m",
                    Columns(1, 2, 3, 4, 0),
                    true,
                    {"12", "280000.1", "6100000.2", "45.6", ""}},
        ExtractCase{"TitleLineWithoutDigitsAddsNothing",
                    "Point East North Height",
                    kInitialColumns,
                    false,
                    {}},
        ExtractCase{"EmptyLineAddsNothing", "", kInitialColumns, false, {}},
        // A semicolon file with decimal commas: the comma separates, so 280000,123 is two
        // fields and the northing becomes 123. Users see this in the window's field list.
        ExtractCase{"DecimalCommaSplitsANumberInTwo",
                    "6628/1001;280000,123;6100000,456",
                    kInitialColumns,
                    true,
                    {"6628/1001", "280000", "123", "", ""}},
        ExtractCase{"ColumnsInAnyOrderWithZone",
                    "E 280000.1\tN 6100000.2\tH 45.6\tZ 54\tPT 6628/1234",
                    Columns(5, 1, 2, 3, 4),
                    true,
                    {"6628/1234", "280000.1", "6100000.2", "45.6", "54"}},
        ExtractCase{"EarlierBoxWinsWhenTwoHoldTheSameNumber",
                    "7 280000 6100000",
                    Columns(1, 1, 2, 2, 0),
                    true,
                    {"7", "", "280000", "", ""}},
        ExtractCase{"NumberBeyondTheLastFieldTakesNothing",
                    "7 280000",
                    kInitialColumns,
                    true,
                    {"7", "280000", "", "", ""}},
        ExtractCase{
            "NoPointColumnAddsNothing", "7 280000 6100000", Columns(0, 2, 3, 0, 0), false, {}},
        ExtractCase{"FractionalColumnNumberTakesNothing",
                    "7 280000 6100000",
                    Columns(1, 2.5, 3, 0, 0),
                    true,
                    {"7", "", "6100000", "", ""}},
        // Fields are copied as they stand: leading zeros, several points, a lone slash.
        ExtractCase{"FieldsCopiedAsTheyStand",
                    "0042 1.2.3 / 007.50",
                    Columns(1, 2, 3, 4, 0),
                    true,
                    {"0042", "1.2.3", "/", "007.50", ""}},
        // An exponent letter separates like any letter.
        ExtractCase{"ExponentLetterSeparates",
                    "5 2.8e5 6.1E6",
                    kInitialColumns,
                    true,
                    {"5", "2.8", "5", "", ""}}),
    [](const ::testing::TestParamInfo<ExtractCase>& param) {
      return std::string(param.param.name);
    });

TEST(ImportText, DelimitersAreNeverDeclared) {
  // The digits 2, 5 and 7 separated by a comma and a semicolon, or by blanks, give the same row.
  for (const char* line : {"2,5;7", "2 5 7", "2\t5 , 7", "x2y5z7"}) {
    MarkList list;
    ASSERT_TRUE(ExtractCoordData(line, kInitialColumns, 1, "F", list)) << line;
    EXPECT_EQ(ImportedCells(list.Row(0)), (Imported{"2", "5", "7", "", ""})) << line;
  }
}

TEST(ImportText, ColumnNumbersAreReadByTheNumericValueRule) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"1", 1}, {" 4 ", 4}, {"", 0}, {"abc", 0}, {"3x", 3}, {"1e1", 10}, {"2.5", 2.5}};
  for (const Case& c : cases) {
    const ImportColumnNumbers columns = ReadImportColumnNumbers(c.text, "2", "3", "0", c.text);
    EXPECT_DOUBLE_EQ(columns.Point, c.value) << c.text;
    EXPECT_DOUBLE_EQ(columns.Zone, c.value) << c.text;
    EXPECT_DOUBLE_EQ(columns.East, 2.0);
    EXPECT_DOUBLE_EQ(columns.North, 3.0);
    EXPECT_DOUBLE_EQ(columns.Height, 0.0);
  }
}

TEST(ImportText, NumberedFieldsShowHowTheLineSplits) {
  EXPECT_EQ(NumberedFields("6628/1001, 280000.123, 6130000.456"),
            "1: 6628/1001   2: 280000.123   3: 6130000.456");
  EXPECT_EQ(NumberedFields("6628/1001;280000,123;6130000,456"),
            "1: 6628/1001   2: 280000   3: 123   4: 6130000   5: 456");
  EXPECT_EQ(NumberedFields("PSM -17 m"), "1: 17");
  EXPECT_EQ(NumberedFields("Point East North"), "");
  // Beyond nine fields the numbers grow a digit.
  EXPECT_EQ(NumberedFields("1 2 3 4 5 6 7 8 9 10 11").substr(63), "10: 10   11: 11");
}

TEST(ImportText, FieldLongerThanTheValueLimitIsRefusedWithItsLine) {
  MarkList list;
  const std::string longest(kMaxValueLength, '7');
  EXPECT_TRUE(ExtractCoordData("1 " + longest, kInitialColumns, 4, "F", list));
  EXPECT_EQ(list.Cell(0, kColEast).size(), kMaxValueLength);
  // A refused field is refused even when no box takes it.
  try {
    ExtractCoordData("1 2 3 4 " + longest + "7", kInitialColumns, 5, "C:\\DATA\\PTS.TXT", list);
    FAIL() << "a field over the limit was accepted";
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "Value too long at line 5 of C:\\DATA\\PTS.TXT");
  }
  EXPECT_EQ(list.RowCount(), 1u);
}

// ---- The sample line ----

TEST(ImportText, SampleLineIsTheFirstOfAtLeastFourCharacters) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string sample;
  } cases[] = {
      {"ShortFirstLines", "ab\r\n\r\nxyz\r\n6628/1001 1 2\r\n9 9 9 9\r\n", "6628/1001 1 2"},
      {"ExactlyFour", "abc\r\nabcd\r\nabcde\r\n", "abcd"},
      {"OnlyShortLinesGiveTheLast", "ab\r\nc\r\nxyz\r\n", "xyz"},
      {"EmptyLastLineIsTheLastRead", "ab\r\n\r\n", ""},
      {"EmptyFile", "", ""},
      {"ByteOrderMarkDropped",
       "\xEF\xBB\xBF"
       "6628/1001 1 2\r\n",
       "6628/1001 1 2"},
      {"CarriageReturnsOnly", "ab\r1 280000 6100000\rzz", "1 280000 6100000"},
      {"LineFeedsOnly", "a\n1 2 3\n", "1 2 3"},
      {"EndOfFileByteDropped", "ab\r\n12\x1A", "12"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    RecordingSink sink;
    const std::string path = folder.Write(c.name, c.bytes);
    EXPECT_EQ(ShowFirstLine(path, path, sink), c.sample) << c.name;
    EXPECT_EQ(sink.Count(), 0u) << c.name;
  }
}

TEST(ImportText, SampleLineOfARefusedFileIsEmptyAfterItsMessage) {
  TempFolder folder;
  const std::string binary = folder.Write("utf16.txt", std::string("\xFF\xFE"
                                                                   "1\0 \0"
                                                                   "2\0",
                                                                   8));
  const std::string missing = folder / "missing.txt";
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {missing, "Cannot open MISSING.TXT: No such file or directory"},
      {binary, "MISSING.TXT is not a plain text file (UTF-16 or binary); save it as plain text"},
      {folder.Path(), "Cannot open MISSING.TXT: Is a directory"},
  };
  for (const Case& c : cases) {
    RecordingSink sink;
    EXPECT_EQ(ShowFirstLine(c.path, "MISSING.TXT", sink), "") << c.path;
    ASSERT_EQ(sink.Count(), 1u) << c.path;
    EXPECT_EQ(sink[0],
              (RecordingSink::Entry{c.message, "Import file error", MessageIcon::Critical}));
  }
}

// ---- The whole file ----

TEST(ImportText, EveryLineInOrderWithAnyLineEnd) {
  TempFolder folder;
  const std::string path =
      folder.Write("points.txt",
                   "\xEF\xBB\xBFPoint,East,North\r\n6628/1001,280000.1,6100000.1\r"
                   "6628/1002,280000.2,6100000.2\n\n  \r\n6628/1003,280000.3,6100000.3\x1A");
  MarkList list;
  EXPECT_EQ(ImportTextFile(path, path, kInitialColumns, list), 3u);
  ASSERT_EQ(list.RowCount(), 3u);
  EXPECT_EQ(ImportedCells(list.Row(0)), (Imported{"6628/1001", "280000.1", "6100000.1", "", ""}));
  EXPECT_EQ(list.Cell(1, kColPsmNo), "6628/1002");
  EXPECT_EQ(ImportedCells(list.Row(2)), (Imported{"6628/1003", "280000.3", "6100000.3", "", ""}));
}

TEST(ImportText, ImportingTheSameFileTwiceListsEveryPointTwice) {
  TempFolder folder;
  const std::string path = folder.Write("p.txt", "1 2 3\r\n4 5 6\r\n");
  MarkList list;
  ImportTextFile(path, path, kInitialColumns, list);
  ImportTextFile(path, path, kInitialColumns, list);
  ASSERT_EQ(list.RowCount(), 4u);
  EXPECT_EQ(list.Cell(2, kColPsmNo), "1");
  EXPECT_EQ(list.Cell(3, kColPsmNo), "4");
}

TEST(ImportText, RefusedFieldStopsTheImportAndKeepsTheRowsBeforeIt) {
  TempFolder folder;
  const std::string path = folder.Write(
      "p.txt", "1 2 3\r\n4 5 6\r\nx " + std::string(kMaxValueLength + 1, '9') + "\r\n7 8 9\r\n");
  MarkList list;
  try {
    ImportTextFile(path, "P.TXT", kInitialColumns, list);
    FAIL() << "the long field was accepted";
  } catch (const FileError& error) {
    EXPECT_STREQ(error.what(), "Value too long at line 3 of P.TXT");
  }
  ASSERT_EQ(list.RowCount(), 2u);
  EXPECT_EQ(list.Cell(1, kColPsmNo), "4");
}

TEST(ImportText, IncompleteLastRowIsRemovedBeforeAnImport) {
  const MarkRow noNorth = {"6628/1009", "280000", "", "", "", "", "", ""};
  const MarkRow empty{};
  struct Case {
    const char* name;
    std::vector<MarkRow> rows;
    bool removed;
    std::size_t rowsAfter;
  } cases[] = {
      {"NoRows", {}, false, 0},
      {"CompleteLastRow", {Complete("1"), Complete("2")}, false, 2},
      {"LastRowWithoutNorth", {Complete("1"), noNorth}, true, 1},
      {"OnlyTheLastRowIsLookedAt", {empty, Complete("2"), empty}, true, 2},
      {"OneEmptyRowAfterClear", {empty}, true, 0},
  };
  for (const Case& c : cases) {
    MarkList list;
    for (const MarkRow& row : c.rows) list.AppendRow(row);
    EXPECT_EQ(RemoveIncompleteLastRow(list), c.removed) << c.name;
    EXPECT_EQ(list.RowCount(), c.rowsAfter) << c.name;
  }
}

// ---- The import in one go (the batch program's) ----

TEST(ImportDelimitedText, AppendsWithoutAverageHeightOrDuplicateRemoval) {
  TempFolder folder;
  const std::string path =
      folder.Write("p.txt", "6628/1001 280000 6100000 10\r\n6628/1001 1 2 20\r\n");
  MarkList list;
  list.AppendRow(Complete("6628/1001"));
  list.AppendRow();  // an empty row left by Add Line goes first
  RecordingSink sink;
  EXPECT_EQ(ImportDelimitedText(path, path, Columns(1, 2, 3, 4, 0), list, sink),
            ImportOutcome::Read);
  EXPECT_EQ(sink.Count(), 0u);
  ASSERT_EQ(list.RowCount(), 3u);
  for (std::size_t row = 0; row < 3; ++row) EXPECT_EQ(list.Cell(row, kColPsmNo), "6628/1001");
  EXPECT_EQ(list.Cell(2, kColHeight), "20");
}

TEST(ImportDelimitedText, RefusalsAndTheirMessages) {
  TempFolder folder;
  const std::string shortLines = folder.Write("short.txt", "ab\r\n1 2\r\n");
  const std::string binary = folder.Write("bin.txt", std::string("1 2 3\0", 6));
  const std::string tooLong =
      folder.Write("long.txt", "1 2 3\r\n4 " + std::string(kMaxValueLength + 1, '5') + "\r\n");
  const RecordingSink::Entry nothing{"Nothing found in file", "Import error",
                                     MessageIcon::Exclamation};
  struct Case {
    std::string path;
    ImportOutcome outcome;
    std::vector<RecordingSink::Entry> messages;
    std::size_t rows;  // after the import, into a list of one complete and one incomplete row
  } cases[] = {
      {folder / "none.txt",
       ImportOutcome::Refused,
       {{"Cannot open F: No such file or directory", "Import file error", MessageIcon::Critical},
        nothing},
       1},
      {binary,
       ImportOutcome::Refused,
       {{"F is not a plain text file (UTF-16 or binary); save it as plain text",
         "Import file error", MessageIcon::Critical},
        nothing},
       1},
      {shortLines, ImportOutcome::Refused, {nothing}, 1},
      {tooLong,
       ImportOutcome::Stopped,
       {{"Value too long at line 2 of F", "Import file error", MessageIcon::Critical}},
       2},
  };
  for (const Case& c : cases) {
    MarkList list;
    list.AppendRow(Complete("6628/1001"));
    list.AppendRow({"6628/1002", "", "", "", "", "", "", ""});
    RecordingSink sink;
    EXPECT_EQ(ImportDelimitedText(c.path, "F", kInitialColumns, list, sink), c.outcome) << c.path;
    EXPECT_EQ(sink.Entries(), c.messages) << c.path;
    EXPECT_EQ(list.RowCount(), c.rows) << c.path;
  }
}
