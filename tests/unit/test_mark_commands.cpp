#include <gtest/gtest.h>

#include "FaultyFileOps.h"
#include "MarkDetailsLines.h"
#include "RecordingSink.h"
#include "TempFolder.h"
#include "marks/MarkCommands.h"

using namespace modKestralMGA;
using namespace modKestralMGA::testsupport;

namespace {

std::string Lines(std::initializer_list<std::string> lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

const std::string kTitle = MarkDetailsTestLine({{1, "Map"}, {2, "Number"}});

}  // namespace

TEST(MarkCommands, OpenIntoAnEmptyListFillsItFromTheFirstRow) {
  TempFolder folder;
  const std::string path = folder.Write(
      "marks.csv", Lines({kTitle, MarkTestLine("6628", "1001", "280000", "6130000", "10"),
                          MarkTestLine("6628", "1002", "281000", "6131000", "30"),
                          MarkTestLine("6628", "1001", "999999", "9999999", "20")}));
  MarkList list;
  list.AppendRow();  // the list after Clear: one empty row
  RecordingSink sink;
  const OpenResult result = OpenMarkDetailsFile(path, "MARKS.CSV", list, sink);
  EXPECT_EQ(result.Outcome, OpenOutcome::Read);
  // The average is taken before the repeated mark goes: (10 + 30 + 20) / 3.
  EXPECT_EQ(result.AverageHeightText, "20.000");
  ASSERT_EQ(list.RowCount(), 2u);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "6628/1001");
  EXPECT_EQ(list.Cell(0, kColEast), "280000");
  EXPECT_EQ(sink.Count(), 0u);
}

TEST(MarkCommands, OpenIntoAListWithMarksAppendsAndKeepsEarlierRows) {
  TempFolder folder;
  const std::string path = folder.Write(
      "marks.csv",
      Lines({MarkTestLine("6628", "1001", "1", "2"), MarkTestLine("6628", "1003", "5", "6")}));
  MarkList list;
  list.AppendRow({"6628/1001", "280000", "6130000", "", "", "", "", ""});
  list.AppendRow({"", "", "", "", "", "", "", ""});
  RecordingSink sink;
  OpenMarkDetailsFile(path, path, list, sink);
  // The file's repeat of 6628/1001 goes and the listed row keeps its coordinates; the empty
  // row is the only one without a number, so it stays.
  ASSERT_EQ(list.RowCount(), 3u);
  EXPECT_EQ(list.Cell(0, kColEast), "280000");
  EXPECT_EQ(list.Cell(1, kColPsmNo), "");
  EXPECT_EQ(list.Cell(2, kColPsmNo), "6628/1003");
}

TEST(MarkCommands, OpenDiscardsRowsBelowAnEmptyFirstRow) {
  TempFolder folder;
  const std::string path = folder.Write("m.csv", Lines({MarkTestLine("6628", "1005", "1", "2")}));
  MarkList list;
  list.AppendRow();
  list.AppendRow({"6628/1001", "280000", "6130000", "", "", "", "", ""});
  RecordingSink sink;
  OpenMarkDetailsFile(path, path, list, sink);
  ASSERT_EQ(list.RowCount(), 1u);
  EXPECT_EQ(list.Cell(0, kColPsmNo), "6628/1005");
}

TEST(MarkCommands, OpenRefusesAFileOfFewerThanElevenCommas) {
  TempFolder folder;
  MarkList list;
  list.AppendRow({"6628/1001", "1", "2", "", "", "", "", ""});
  const MarkList before = list;
  RecordingSink sink;
  const OpenResult result = OpenMarkDetailsFile(
      folder.Write("ten.csv", "a,b,c,d,e,f,g,h,i,j,k\r\n"), "TEN.CSV", list, sink);
  EXPECT_EQ(result.Outcome, OpenOutcome::Refused);
  EXPECT_EQ(list.Rows(), before.Rows());
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Text, "This is not a Mark Details file");
  EXPECT_EQ(sink[0].Title, "Open CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Critical);
}

TEST(MarkCommands, OpenOfAMissingFileShowsItsFailureThenTheRefusal) {
  TempFolder folder;
  MarkList list;
  RecordingSink sink;
  OpenMarkDetailsFile((folder / "none.csv"), "/X/NONE.CSV", list, sink);
  ASSERT_EQ(sink.Count(), 2u);
  EXPECT_NE(sink[0].Text.find("/X/NONE.CSV"), std::string::npos);
  EXPECT_EQ(sink[0].Title, "Open CSV file error");
  EXPECT_EQ(sink[1].Text, "This is not a Mark Details file");
}

TEST(MarkCommands, OpenOfATitleOnlyFileLeavesOneEmptyRow) {
  TempFolder folder;
  MarkList list;
  RecordingSink sink;
  const OpenResult result =
      OpenMarkDetailsFile(folder.Write("t.csv", Lines({kTitle})), "t", list, sink);
  EXPECT_EQ(result.Outcome, OpenOutcome::Read);
  EXPECT_EQ(result.AverageHeightText, "0.000");
  ASSERT_EQ(list.RowCount(), 1u);
  EXPECT_EQ(list.Row(0), MarkRow{});
}

TEST(MarkCommands, OddLinesAreReportedAfterTheOpenTooFewFirst) {
  std::vector<std::string> lines;
  lines.push_back(MarkTestLine("6628", "1000", "1", "2"));
  for (int i = 0; i < 11; ++i) lines.push_back("stray,line");
  lines.push_back(MarkTestLine("6628", "1001", "1", "2", "", "", 45));
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\n";
  TempFolder folder;
  MarkList list;
  RecordingSink sink;
  OpenMarkDetailsFile(folder.Write("odd.csv", bytes), "ODD.CSV", list, sink);
  EXPECT_EQ(list.RowCount(), 2u);
  ASSERT_EQ(sink.Count(), 2u);
  EXPECT_EQ(sink[0].Text,
            "Lines with too few fields in ODD.CSV: 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, ...");
  EXPECT_EQ(sink[0].Title, "Open CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(sink[1].Text, "Lines with more fields than expected in ODD.CSV: 13");
}

TEST(MarkCommands, AStoppedReadKeepsTheMarksBeforeItAndFinishesTheOpen) {
  TempFolder folder;
  const std::string path =
      folder.Write("m.csv", Lines({MarkTestLine("6628", "1001", "1", "2", "5"), "short,line",
                                   MarkTestLine("6628", "1002", "1", "2", "1e999"),
                                   MarkTestLine("6628", "1003", "1", "2")}));
  MarkList list;
  RecordingSink sink;
  const OpenResult result = OpenMarkDetailsFile(path, path, list, sink);
  EXPECT_EQ(result.Outcome, OpenOutcome::Stopped);
  EXPECT_EQ(result.AverageHeightText, "5.000");
  ASSERT_EQ(list.RowCount(), 1u);
  ASSERT_EQ(sink.Count(), 1u);  // the refusal only; the too-few line is not reported
  EXPECT_NE(sink[0].Text.find("Number out of range at line 3 of"), std::string::npos);
}

TEST(MarkCommands, StartUpDumpFileReadsMarksWithoutAnEmptyRow) {
  TempFolder folder;
  const std::string path =
      folder.Write("start.dmp", Lines({kTitle, MarkTestLine("6628", "1001", "1", "2", "7"),
                                       MarkTestLine("6628", "1001", "3", "4", "9")}));
  MarkList list;
  RecordingSink sink;
  const OpenResult result = ReadDumpFileAtStartUp(path, list, sink);
  EXPECT_EQ(result.AverageHeightText, "8.000");
  ASSERT_EQ(list.RowCount(), 1u);
  EXPECT_EQ(list.Cell(0, kColEast), "1");
  EXPECT_EQ(sink.Count(), 0u);

  MarkList untouched;
  ReadDumpFileAtStartUp("", untouched, sink);
  EXPECT_TRUE(untouched.Empty());
  EXPECT_EQ(sink.Count(), 0u);
}

TEST(MarkCommands, StartUpDumpFileWarnsWhenItHoldsNoMarkDetails) {
  TempFolder folder;
  MarkList list;
  RecordingSink tenCommas;
  ReadDumpFileAtStartUp(folder.Write("ten.dmp", ",,,,,,,,,,\r\n"), list, tenCommas);
  ASSERT_EQ(tenCommas.Count(), 1u);
  EXPECT_EQ(tenCommas[0].Text, "No mark details found in dump file");
  EXPECT_EQ(tenCommas[0].Title, "Open Dump file error");
  EXPECT_EQ(tenCommas[0].Icon, MessageIcon::Exclamation);

  RecordingSink missing;
  ReadDumpFileAtStartUp((folder / "no such file.dmp"), list, missing);
  ASSERT_EQ(missing.Count(), 2u);
  EXPECT_EQ(missing[0].Title, "Open CSV file error");
  EXPECT_EQ(missing[1].Text, "No mark details found in dump file");
  EXPECT_TRUE(list.Empty());
}

TEST(MarkCommands, AFailedSaveShowsItsMessageAndKeepsTheOldFile) {
  MarkList list;
  list.AppendRow({"6628/1001", "1", "2", "", "", "", "", ""});
  TempFolder folder;
  const std::string path = folder.Write("old.csv", "old\r\n");
  FaultyFileOps faulty({.FailAt = 2});
  RecordingSink sink;
  EXPECT_FALSE(SaveMarkDetailsFile(path, list, sink, faulty));
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Title, "Save CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Exclamation);
  EXPECT_NE(sink[0].Text.find(path), std::string::npos);

  EXPECT_TRUE(SaveMarkDetailsFile(path, list, sink, SystemFileOps()));
  EXPECT_EQ(ReadBytes(path).substr(0, 10), "6628,1001,");
}
