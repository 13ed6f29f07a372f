#include <gtest/gtest.h>

#include "FaultyFileOps.h"
#include "MarkDetailsLines.h"
#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/Errors.h"
#include "marks/MarkDetailsFile.h"

using namespace modKestralMGA;
using namespace modKestralMGA::testsupport;

namespace {

struct ReadOutcome {
  MarkList List;
  MarkDetailsReading Reading;
  RecordingSink Sink;
};

// Reads bytes as a Mark Details file whose first line holds `commas` commas.
void ReadMarkBytes(const std::string& bytes, std::int64_t commas, ReadOutcome& out) {
  TempFolder folder;
  const std::string path = folder.Write("marks.csv", bytes);
  out.Reading = ReadCsvMarkDetails(path, path, commas, out.List, out.Sink);
}

}  // namespace

TEST(MarkDetailsFile, ReadsEveryMarkLineAndSkipsTheMapTitleLine) {
  const std::string title = MarkDetailsTestLine({{1, "Map Sheet"}, {2, "PSM"}, {7, "East"}});
  const std::string bytes =
      title + "\r\n" + MarkTestLine("6628", "1001", "280000.123", "6130000.456", "12.5", "2") +
      "\r\n" + MarkTestLine(" 6628 ", " 1002", "281000", "6131000", "0", "3") + "\r\n";
  ReadOutcome out;
  ReadMarkBytes(bytes, 42, out);
  ASSERT_EQ(out.List.RowCount(), 2u);
  const MarkRow expected0{"6628/1001", "280000.123", "6130000.456", "12.5",
                          "2",         "54",         "GDA2020",     "OK"};
  EXPECT_EQ(out.List.Row(0), expected0);
  EXPECT_EQ(out.List.Cell(1, kColPsmNo), "6628/1002");  // fields trimmed around the slash
  EXPECT_EQ(out.List.Cell(1, kColHeight), "");          // a height of 0 means none
  EXPECT_EQ(out.Sink.Count(), 0u);
}

TEST(MarkDetailsFile, HeightIsKeptAsWrittenOnlyWhenPositive) {
  const std::pair<std::string, std::string> cases[] = {
      {"0", ""}, {"-3.2", ""}, {"abc", ""}, {"", ""}, {"12.50", "12.50"}, {" 7", " 7"}};
  for (const auto& [height, kept] : cases) {
    std::vector<std::string> fields(43);
    fields[21] = height;
    EXPECT_EQ(MarkRowFromFields(fields)[kColHeight], kept) << height;
  }
}

TEST(MarkDetailsFile, FortyFourCommasInTheFirstLineSwitchToFiftyOneFields) {
  // A 51-field file read with a 43-field first line would report every line as over-long.
  const std::string line = MarkTestLine("6628", "1001", "1", "2", "", "", 51);
  ReadOutcome longRecord;
  ReadMarkBytes(line + "\r\n" + line + "\r\n", 50, longRecord);
  EXPECT_EQ(longRecord.List.RowCount(), 2u);
  EXPECT_TRUE(longRecord.Reading.MoreFieldsLines.empty());

  ReadOutcome shortRecord;
  ReadMarkBytes(line + "\r\n" + line + "\r\n", 43, shortRecord);
  EXPECT_EQ(shortRecord.List.RowCount(), 2u);
  EXPECT_EQ(shortRecord.Reading.MoreFieldsLines, (std::vector<std::int64_t>{1, 2}));
}

TEST(MarkDetailsFile, ShortLinesArePaddedOrDroppedAndOthersStayInPlace) {
  // Line 2 lost its empty trailing columns (34 fields: padded); line 4 is a stray line of 3
  // fields (no mark); line 3 is blank; the marks after them keep their own fields.
  std::string trimmed = MarkTestLine("6628", "1002", "281000", "6131000");
  trimmed.erase(trimmed.find_last_not_of(',') + 2);  // keep one comma after field 33
  const std::string bytes = MarkTestLine("6628", "1001", "280000", "6130000") + "\n" + trimmed +
                            "\n   \n1,2,3\n" + MarkTestLine("6628", "1003", "282000", "6132000") +
                            "\n";
  ReadOutcome out;
  ReadMarkBytes(bytes, 42, out);
  ASSERT_EQ(out.List.RowCount(), 3u);
  EXPECT_EQ(out.List.Cell(1, kColEast), "281000");
  EXPECT_EQ(out.List.Cell(1, kColStatus), "OK");
  EXPECT_EQ(out.List.Cell(2, kColPsmNo), "6628/1003");
  EXPECT_EQ(out.List.Cell(2, kColNorth), "6132000");
  EXPECT_EQ(out.Reading.TooFewFieldsLines, (std::vector<std::int64_t>{4}));
  EXPECT_TRUE(out.Reading.MoreFieldsLines.empty());
}

TEST(MarkDetailsFile, QuotedFieldsMayHoldCommas) {
  const std::string line = MarkDetailsTestLine({{1, "\"6628\""},
                                                {2, "1001"},
                                                {7, "280000"},
                                                {8, "6130000"},
                                                {14, "\"GDA, 2020\""},
                                                {33, "\"A\"x"}});
  ReadOutcome out;
  ReadMarkBytes(line + "\r\n", 42, out);
  ASSERT_EQ(out.List.RowCount(), 1u);
  EXPECT_EQ(out.List.Cell(0, kColPsmNo), "6628/1001");
  EXPECT_EQ(out.List.Cell(0, kColDatum), "GDA, 2020");
  EXPECT_EQ(out.List.Cell(0, kColStatus), "A");
}

TEST(MarkDetailsFile, ANumberBeyondTheRangeOfADoubleStopsTheReadingAtItsLine) {
  const std::string bytes = MarkTestLine("6628", "1001", "280000", "6130000") + "\r\n" +
                            MarkTestLine("6628", "1002", " 1e400 ", "6130000") + "\r\n" +
                            MarkTestLine("6628", "1003", "280000", "6130000") + "\r\n";
  TempFolder folder;
  const std::string path = folder.Write("marks.csv", bytes);
  MarkList list;
  RecordingSink sink;
  const MarkDetailsReading reading = ReadCsvMarkDetails(path, "MARKS.CSV", 42, list, sink);
  EXPECT_TRUE(reading.Stopped);
  EXPECT_EQ(list.RowCount(), 1u);
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Text, "Number out of range at line 2 of MARKS.CSV: 1e400");
  EXPECT_EQ(sink[0].Title, "Open CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Critical);
}

TEST(MarkDetailsFile, NumCsvFieldsCountsTheFirstPhysicalLinesCommas) {
  TempFolder folder;
  RecordingSink sink;
  EXPECT_EQ(NumCsvFields(folder.Write("a", "\xEF\xBB\xBF,,\",\",\r\n,,,,,,"), "a", sink), 4);
  EXPECT_EQ(NumCsvFields(folder.Write("b", "\r\n" + MarkTestLine("1", "2", "3", "4")), "b", sink),
            0);
  EXPECT_EQ(sink.Count(), 0u);

  EXPECT_EQ(NumCsvFields((folder / "missing.csv"), "MISSING.CSV", sink), 0);
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_NE(sink[0].Text.find("MISSING.CSV"), std::string::npos);
  EXPECT_EQ(sink[0].Title, "Open CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Critical);

  EXPECT_EQ(NumCsvFields(folder.Write("utf16.csv", std::string("\xFF\xFE"
                                                               "6\0"
                                                               "6\0",
                                                               6)),
                         "utf16.csv", sink),
            0);
  ASSERT_EQ(sink.Count(), 2u);
  EXPECT_EQ(sink[1].Text,
            "utf16.csv is not a plain text file (UTF-16 or binary); save it as plain text");
}

TEST(MarkDetailsFile, SavedLinesHaveTheMarkDetailsLayout) {
  const MarkRow row{"6628/1001", "280000.123", "6130000.456", "12.500",
                    "2",         "54",         "GDA2020",     "FOUND"};
  EXPECT_EQ(MarkDetailsLine(row),
            "6628,1001,,,,54,280000.123,6130000.456,,,,2,,GDA2020,,,,,,,,12.500,,,,,,,,,,,FOUND,,,,"
            ",,,,,,");
}

TEST(MarkDetailsFile, SavingAPsmNumberNeverLosesCharacters) {
  struct Case {
    const char* psm;
    const char* sheet;
    const char* number;
  } cases[] = {
      {"6628/1001", "6628", "1001"}, {"66281001", "6628", "1001"}, {"66/281001", "66", "281001"},
      {"6628/12/3", "6628", "12/3"}, {"662", "662", ""},           {"6628X1001", "6628", "X1001"},
  };
  for (const Case& c : cases) {
    std::string sheet;
    std::string number;
    SplitPsmNumberForSave(c.psm, sheet, number);
    EXPECT_EQ(sheet, c.sheet) << c.psm;
    EXPECT_EQ(number, c.number) << c.psm;
  }
}

TEST(MarkDetailsFile, SaveWritesCompleteRowsThatReadBackUnchanged) {
  MarkList list;
  list.AppendRow(
      {"6628/1001", "280000.123", "6130000.456", "12.500", "2", "54", "GDA2020", "FOUND"});
  list.AppendRow({"6628/1002", "281000.000", "", "", "", "", "", ""});  // incomplete: skipped
  list.AppendRow({"66281003", "282000.000", "6132000.000", "", "1", "54", "MGA, 94", "\"Q\""});
  TempFolder folder;
  const std::string path = (folder / "saved.csv");
  SaveDump(path, list);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.substr(0, 10), "6628,1001,");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);

  MarkList back;
  RecordingSink sink;
  ReadCsvMarkDetails(path, path, 42, back, sink);
  ASSERT_EQ(back.RowCount(), 2u);
  EXPECT_EQ(back.Row(0), list.Row(0));
  // The number typed without a slash comes back with one; cells holding a comma or starting
  // with a quote survive the trip.
  EXPECT_EQ(back.Cell(1, kColPsmNo), "6628/1003");
  EXPECT_EQ(back.Cell(1, kColDatum), "MGA, 94");
  EXPECT_EQ(back.Cell(1, kColStatus), "\"Q\"");
  EXPECT_EQ(sink.Count(), 0u);
}

TEST(MarkDetailsFile, AFailedSaveLeavesTheEarlierFileAsItWas) {
  MarkList list;
  list.AppendRow({"6628/1001", "1", "2", "", "", "", "", ""});
  TempFolder folder;
  const std::string path = folder.Write("old.csv", "old bytes\r\n");
  FaultyFileOps faulty({.FailAt = 3, .FromThenOn = true});
  EXPECT_THROW(SaveDump(path, list, faulty), FileError);
  EXPECT_EQ(ReadBytes(path), "old bytes\r\n");
}
