// The Mark Details file and its commands: Open into an empty or a filled list, the start-up dump
// file, the record length, short, long and quoted lines, refused values and files (transcript:
// tests/data/model/mark_details.txt), the height rule, the saved layout and the save's failures.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "CompareFixtures.h"
#include "FaultyFileOps.h"
#include "common/Errors.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// A mark line of `fields` fields with the nine the program uses, the others empty.
std::string Mark(const std::string& psm, const std::string& east, const std::string& height = "",
                 int fields = 43, std::map<int, std::string> values = {}) {
  values.insert({{1, psm.substr(0, psm.find('/'))},
                 {2, psm.substr(psm.find('/') + 1)},
                 {6, "54"},
                 {7, east},
                 {8, "6130000"},
                 {12, "2"},
                 {14, "GDA2020"},
                 {22, height},
                 {33, "OK"}});
  std::string line;
  for (int field = 1; field <= fields; ++field) line += (field > 1 ? "," : "") + values[field];
  return line + "\r\n";
}

std::string Rows(const MarkList& list) {
  std::string text;
  for (const MarkRow& row : list.Rows()) {
    for (const std::string& cell : row) text += cell + "|";
    text += "\n";
  }
  return text;
}

TEST(MarkDetailsFile, OpenAndStartUpReadings) {
  const std::string title = Mark("Map/Number", "East");
  std::string trimmed = Mark("6628/1002", "281000");
  trimmed.replace(trimmed.find("OK") + 3, std::string::npos, "\n");  // 34 fields: padded
  const MarkRow listed{"6628/1001", "280000", "6130000", "", "", "", "", ""};
  const struct {
    const char* what;
    std::vector<MarkRow> rows;  // the list before
    std::string bytes;
    bool startUp;
  } cases[] = {
      // The average is taken before the repeated mark goes; fields trimmed around the slash; a
      // height of 0 is none.
      {"into the empty list",
       {MarkRow{}},
       title + Mark("6628/1001", "280000", "10") + Mark(" 6628 / 1002", "281000", "0") +
           Mark("6628/1002", "281000", "30") + Mark("6628/1001", "999999", "20"),
       false},
      // The file's repeat goes and the listed row keeps its coordinates; the empty row stays.
      {"appended", {listed, MarkRow{}}, Mark("6628/1001", "1") + Mark("6628/1003", "5"), false},
      {"below an empty first row", {MarkRow{}, listed}, Mark("6628/1005", "1"), false},
      {"ten commas", {listed}, "a,b,c,d,e,f,g,h,i,j,k\r\n", false},
      {"title only", {}, title, false},
      {"odd lines",
       {},
       Mark("6628/1000", "1") +
           [] {
             std::string s;
             for (int i = 0; i < 11; ++i) s += "stray,line\n";
             return s;
           }() +
           Mark("6628/1001", "1", "", 45),
       false},
      {"short and stray lines",
       {},
       Mark("6628/1001", "1") + trimmed + "   \n1,2,3\n" + Mark("6628/1003", "3"),
       false},
      {"51 fields", {}, Mark("6628/1001", "1", "", 51) + Mark("6628/1002", "1", "", 51), false},
      {"quoted",
       {},
       Mark("6628/1001", "1", "", 43, {{1, "\"6628\""}, {14, "\"GDA, 2020\""}, {33, "\"A\"x"}}),
       false},
      {"stopped",
       {},
       Mark("6628/1001", "1", "5") + "short,line\r\n" + Mark("6628/1002", " 1e400 ") +
           Mark("6628/1003", "1"),
       false},
      {"dump file", {}, title + Mark("6628/1001", "1", "7") + Mark("6628/1001", "3", "9"), true},
      {"dump file of ten commas", {}, ",,,,,,,,,,\r\n", true},
  };
  TempFolder folder;
  std::string transcript;
  const auto run = [&](const std::string& what, const std::vector<MarkRow>& rows,
                       const std::string& path, bool startUp) {
    MarkList list;
    for (const MarkRow& row : rows) list.AppendRow(row);
    RecordingSink sink;
    const OpenResult result = startUp ? ReadDumpFileAtStartUp(path, list, sink)
                                      : OpenMarkDetailsFile(path, "MARKS.CSV", list, sink);
    transcript += "== " + what + ": " + std::to_string(static_cast<int>(result.Outcome)) + " " +
                  result.AverageHeightText + "\n" + Rows(list) + Said(sink);
  };
  for (const auto& c : cases) run(c.what, c.rows, folder.Write("marks.csv", c.bytes), c.startUp);
  run("missing", {}, folder / "none.csv", false);
  run("missing dump file", {}, folder / "none.dmp", true);
  run("no dump file", {}, "", true);
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "mark_details.txt");
}

TEST(MarkDetailsFile, FieldCountsAndTheHeightRule) {
  TempFolder folder;
  RecordingSink sink;
  EXPECT_EQ(NumCsvFields(folder.Write("a", "\xEF\xBB\xBF,,\",\",\r\n,,,,,,"), "a", sink), 4);
  EXPECT_EQ(NumCsvFields(folder.Write("b", "\r\n" + Mark("1/2", "3")), "b", sink), 0);
  EXPECT_EQ(NumCsvFields(folder / "missing.csv", "MISSING.CSV", sink), 0);
  EXPECT_EQ(NumCsvFields(folder.Write("u", std::string("\xFF\xFE"
                                                       "6\0"
                                                       "6\0",
                                                       6)),
                         "U.CSV", sink),
            0);
  EXPECT_EQ(Said(sink),
            "! Open CSV file error | Cannot open MISSING.CSV: No such file or directory | 0\n"
            "! Open CSV file error | U.CSV is not a plain text file (UTF-16 or binary); save it as "
            "plain text | 0\n");
  // A height is kept as written only when positive.
  const std::pair<std::string, std::string> heights[] = {
      {"0", ""}, {"-3.2", ""}, {"abc", ""}, {"", ""}, {"12.50", "12.50"}, {" 7", " 7"}};
  for (const auto& [height, kept] : heights) {
    std::vector<std::string> fields(43);
    fields[21] = height;
    EXPECT_EQ(MarkRowFromFields(fields)[kColHeight], kept) << height;
  }
}

// The saved layout; a PSM number never loses characters; incomplete rows are skipped and the
// rest read back unchanged (a number typed without a slash comes back with one; cells holding a
// comma or starting with a quote survive).
TEST(MarkDetailsFile, SaveAndReadBack) {
  const MarkRow found{"6628/1001", "280000.123", "6130000.456", "12.500",
                      "2",         "54",         "GDA2020",     "FOUND"};
  EXPECT_EQ(MarkDetailsLine(found),
            "6628,1001,,,,54,280000.123,6130000.456,,,,2,,GDA2020,,,,,,,,"
            "12.500,,,,,,,,,,,FOUND,,,,,,,,,,");
  const char* splits[][3] = {
      {"6628/1001", "6628", "1001"}, {"66281001", "6628", "1001"}, {"66/281001", "66", "281001"},
      {"6628/12/3", "6628", "12/3"}, {"662", "662", ""},           {"6628X1001", "6628", "X1001"}};
  for (const auto& s : splits) {
    std::string sheet, number;
    SplitPsmNumberForSave(s[0], sheet, number);
    EXPECT_EQ(sheet + "|" + number, std::string(s[1]) + "|" + s[2]) << s[0];
  }
  MarkList list;
  list.AppendRow(found);
  list.AppendRow({"6628/1002", "281000.000", "", "", "", "", "", ""});
  list.AppendRow({"66281003", "282000.000", "6132000.000", "", "1", "54", "MGA, 94", "\"Q\""});
  TempFolder folder;
  RecordingSink sink;
  ASSERT_TRUE(SaveMarkDetailsFile(folder / "saved.csv", list, sink, SystemFileOps()));
  EXPECT_EQ(ReadBytes(folder / "saved.csv"),
            MarkDetailsLine(found) + "\r\n" +
                MarkDetailsLine(
                    {"6628/1003", "282000.000", "6132000.000", "", "1", "54", "MGA, 94", "\"Q\""}) +
                "\r\n");
  MarkList back;
  ReadCsvMarkDetails(folder / "saved.csv", "S", 42, back, sink);
  list.RemoveRow(1);
  list.SetCell(1, kColPsmNo, "6628/1003");
  EXPECT_EQ(back.Rows(), list.Rows());
  EXPECT_EQ(sink.Count(), 0u);
}

// A failed save shows its message (command) or throws (dump file) and keeps the earlier file.
TEST(MarkDetailsFile, AFailedSaveKeepsTheEarlierFile) {
  MarkList list;
  list.AppendRow({"6628/1001", "1", "2", "", "", "", "", ""});
  TempFolder folder;
  const std::string path = folder.Write("old.csv", "old\r\n");
  FaultyFileOps second({.FailAt = 2}), fromThird({.FailAt = 3, .FromThenOn = true});
  RecordingSink sink;
  EXPECT_FALSE(SaveMarkDetailsFile(path, list, sink, second));
  EXPECT_THROW(SaveDump(path, list, fromThird), FileError);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Title, "Save CSV file error");
  EXPECT_EQ(sink[0].Icon, MessageIcon::Exclamation);
  EXPECT_NE(sink[0].Text.find(path), std::string::npos);
}

}  // namespace
}  // namespace modKestralMGA
