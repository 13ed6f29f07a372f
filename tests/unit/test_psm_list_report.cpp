// The PSM list in its two forms: the printed list and the saved report's list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "common/ColumnWriter.h"
#include "reports/PsmListReport.h"

namespace modKestralMGA {
namespace {

using Lines = std::vector<std::string>;

TEST(PsmListReport, PrintedListHasItsTitleAtColumnTenAndEightColumns) {
  MarkList marks;
  marks.AppendRow(
      {"6628/1001", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", "Destroyed"});
  const struct {
    const char* plan;
    const char* title;
  } cases[] = {
      {"C:\\PLANS\\DP1234", "         Permanent Survey Mark List for C:\\PLANS\\DP1234"},
      {"", "         Permanent Survey Mark List"},
  };
  for (const auto& c : cases) {
    RecordingColumnWriter out;
    PrintPSMList(marks, c.plan, out);
    // Four lines before the row: title, empty line, headings, empty line.
    EXPECT_EQ(
        out.Lines(),
        (Lines{c.title, "",
               "PSM           East           North          Height     Order  Zone  Datum     "
               "Status",
               "",
               "6628/1001     280000.000     6130000.000    100.000    1      54    GDA2020   "
               "Destroyed"}))
        << "plan \"" << c.plan << "\"";
    ASSERT_EQ(out.Items().size(), 6u);
    EXPECT_EQ(out.Items()[0][0].Column, 10);
    const std::vector<int> columns = {1, 15, 30, 45, 56, 63, 69, 79};
    for (std::size_t line : {2u, 4u}) {
      ASSERT_EQ(out.Items()[line].size(), columns.size());
      for (std::size_t c2 = 0; c2 < columns.size(); ++c2) {
        EXPECT_EQ(out.Items()[line][c2].Column, columns[c2]) << "line " << line << " field " << c2;
      }
    }
  }
}

TEST(PsmListReport, SavedListHasSevenColumnsAndTheTitleAlwaysWithThePlan) {
  MarkList marks = testsupport::ReportMarks();
  marks.Resize(2);
  marks.AppendRow({"", "", "", "", "", "", "", "x"});  // an empty row is written as it stands
  TextColumnWriter out;
  WriteSavedPsmList(marks, "", out);
  EXPECT_EQ(out.Bytes(),
            "Permanent Survey Mark List for \r\n"
            "\r\n"
            "PSM           East           North          Height     Order  Zone  Datum\r\n"
            "\r\n"
            "6628/1001     280000.000     6130000.000    100.000    1      54    GDA2020\r\n"
            "6628/1002     281000.000     6131000.000    101.500    1      54    GDA2020\r\n" +
                std::string(68, ' ') + "\r\n\r\n");  // empty cells still pad to Datum's column
}

// A cell that reaches its neighbour's column pushes the neighbour to that column of the next
// line; the rest of the row follows there.
TEST(PsmListReport, LongCellPushesTheNextCellToTheNextLine) {
  MarkList marks;
  marks.AppendRow(
      {"6628/1001 (old PM)", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", ""});
  RecordingColumnWriter out;
  PrintPSMList(marks, "P", out);
  const Lines lines = out.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[4], "6628/1001 (old PM)");
  EXPECT_EQ(lines[5],
            "              280000.000     6130000.000    100.000    1      54    GDA2020   ");
}

}  // namespace
}  // namespace modKestralMGA
