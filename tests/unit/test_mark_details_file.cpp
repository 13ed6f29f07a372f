// The Mark Details file and its commands: Open into an empty or a filled list, the start-up dump
// file, the record length, short, long and quoted lines, refused values and files, the height
// rule, the saved layout and the save's failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CompareFixtures.h"
#include "FaultyFileOps.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

std::string Rows(const MarkList& list) {
  std::string text;
  for (const MarkRow& row : list.OwnedRows()) {
    for (const std::string& cell : row) text += cell + "|";
    text += "\n";
  }
  return text;
}

// Files, rows before and what was read and said: tests/data/model/mark_details_cases.txt and
// mark_details.txt.
TEST(MarkDetailsFile, OpenAndStartUpReadings) {
  const std::string data = std::string(KESTRAL_TEST_DATA_DIR) + "/model/mark_details/";
  TempFolder folder;
  std::string transcript;
  for (const auto& c : TableRows("mark_details_cases.txt")) {
    MarkList list;
    for (const std::string& row : c[2].empty() ? std::vector<std::string>{} : Split(c[2], " ")) {
      list.AppendRow(row == "empty"
                         ? MarkRow{}
                         : MarkRow{"6628/1001", "280000", "6130000", "", "", "", "", ""});
    }
    std::string path = c[1].empty() ? "" : folder / c[1];
    if (std::filesystem::is_regular_file(data + c[1]))
      path = folder.Write("marks.csv", ReadBytes(data + c[1]));
    RecordingSink sink;
    const OpenResult result = c[3] == "1" ? ReadDumpFileAtStartUp(path, list, sink)
                                          : OpenMarkDetailsFile(path, "MARKS.CSV", list, sink);
    transcript += "== " + c[0] + ": " + std::to_string(static_cast<int>(result.Outcome)) + " " +
                  result.AverageHeightText + "\n" + Rows(list) + Said(sink);
  }
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "mark_details.txt");
}

// The saved layout (the column of each field: the "saved:" lines of tests/data/bad/md-*.expect); a
// PSM number never loses characters; incomplete rows are skipped and the
// rest read back unchanged (a number typed without a slash comes back with one; cells holding a
// comma or starting with a quote survive).
TEST(MarkDetailsFile, SaveAndReadBack) {
  const MarkRow found{"6628/1001", "280000.123", "6130000.456", "12.500",
                      "2",         "54",         "GDA2020",     "FOUND"};
  // clang-format off
  const char* splits[][3] = {{"6628/1001", "6628", "1001"}, {"66281001", "6628", "1001"},
      {"66/281001", "66", "281001"}, {"6628/12/3", "6628", "12/3"}, {"662", "662", ""},
      {"6628X1001", "6628", "X1001"}};
  // clang-format on
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
  OpenMarkDetailsFile(folder / "saved.csv", "S", back, sink);
  list.RemoveRow(1);
  list.SetCell(1, kColPsmNo, "6628/1003");
  EXPECT_EQ(back.OwnedRows(), list.OwnedRows());
  EXPECT_EQ(sink.Count(), 0u);
}

// A failed save's message comes with the exclamation icon (its title, its text and the earlier
// file kept: the write faults).
TEST(MarkDetailsFile, AFailedSaveShowsAnExclamation) {
  MarkList list;
  list.AppendRow({"6628/1001", "1", "2", "", "", "", "", ""});
  TempFolder folder;
  FaultyFileOps second({.FailAt = 2});
  RecordingSink sink;
  EXPECT_FALSE(SaveMarkDetailsFile(folder / "new.csv", list, sink, second));
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Icon, MessageIcon::Exclamation);
}

}  // namespace
}  // namespace modKestralMGA
