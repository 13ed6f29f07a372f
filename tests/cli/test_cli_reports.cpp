// The batch program's joins report: --report writes the saved report as Print to file does,
// --pdf the printed report; each is followed by "Print Joins: Printing completed", and a failed
// write ends with its message, status 2 and nothing on standard output.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"
#include "CliTestSupport.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

using testsupport::CliRun;
using testsupport::Golden;
using testsupport::ReadBytes;
using testsupport::RunCliOn;
using testsupport::TempFolder;

const std::string kData = "tests/data/cli/";
const std::string kMarks = kData + "marks.csv";
const std::string kCompleted = "Print Joins: Printing completed\n";
const std::string kTwoNotAcceptable = "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n";

// The report's bytes with its date line, which must name today in English, made "Printed on
// DATE" as the golden files hold it.
std::string WithDatePlaceholder(std::string report) {
  const std::string today = "Printed on " + EnglishDateText(LocalToday()) + "\r\n";
  const std::size_t at = report.find(today);
  EXPECT_NE(at, std::string::npos) << "no date line for today";
  if (at != std::string::npos) report.replace(at, today.size(), "Printed on DATE\r\n");
  return report;
}

class CliReportTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::EnterSourceFolder(); }
  TempFolder m_folder;
};

TEST_F(CliReportTest, ReportIsTheSavedReportAndPrintingCompletedFollows) {
  const struct {
    const char* what;
    std::vector<std::string> options;
    const char* plan;
    int status;
    const char* stdoutGolden;
    std::string err;
    const char* reportGolden;
  } cases[] = {
      {"PSM list, brief joins", {}, "bad", 1, "bad.stdout", kTwoNotAcceptable, "bad.report.txt"},
      // The datum line's MGA side falls back to the plane join (6628/1003 has order 6).
      {"datum, full joins, no PSM list",
       {"--datum", "6628/1001", "6628/1003", "--full-joins", "--no-psm-list", "--full-details"},
       "good",
       0,
       "datum-details.stdout",
       "",
       "datum-full.report.txt"},
  };
  for (const auto& c : cases) {
    const std::string path = m_folder / "report.txt";
    std::vector<std::string> args = {"compare",      "--marks",  kMarks, "--plan",
                                     kData + c.plan, "--report", path};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunCliOn(args);
    EXPECT_EQ(run.Status, c.status) << c.what;
    EXPECT_EQ(run.Out, Golden(c.stdoutGolden)) << c.what;
    EXPECT_EQ(run.Err, c.err + kCompleted) << c.what;
    EXPECT_EQ(WithDatePlaceholder(ReadBytes(path)), Golden(c.reportGolden)) << c.what;
  }
}

TEST_F(CliReportTest, PdfHoldsThePrintedReport) {
  const std::string pdf = m_folder / "report.pdf";
  const std::string text = m_folder / "report.txt";
  const CliRun run = RunCliOn({"compare", "--marks", kMarks, "--plan", kData + "bad", "--pdf", pdf,
                               "--report", text, "--datum", "6628/1001", "6628/1002"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, kTwoNotAcceptable + kCompleted + kCompleted);
  EXPECT_FALSE(run.Out.empty());

  const auto pages = testsupport::PdfPageLines(testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, pdf));
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<std::string>& lines = pages[0];
  // The printed form: the PSM list with its title at column 10 and Status at 79, the full block
  // at columns 15, 30, 45 and 60; the rest as in the saved report.
  for (const std::string& expected : {
           std::string("         Permanent Survey Mark List for tests/data/cli/bad"),
           std::string("PSM           East           North          Height     Order  Zone  "
                       "Datum     Status"),
           std::string("6628/1001     280000.000     6130000.000    100.000    1      54    "
                       "GDA2020   FOUND"),
           std::string(65, '-'),
           "Printed on " + EnglishDateText(LocalToday()),
           std::string("6628/1001     6628/1002      44.5957        1414.030       (KESTRAL)"),
           std::string("From          To             Bearing        Distance"),
           std::string("66281001      66281002       44.5957        1414.030       (KESTRAL)"),
           std::string("                        *** JOIN NOT ACCEPTABLE ***"),
           std::string("66281001 to 66281007              JOIN ACCEPTABLE"),
           std::string("66281003 to 66289999         MGA Coordinates not available"),
       }) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
        << "missing: " << expected;
  }
}

TEST_F(CliReportTest, FailedWriteEndsWithItsMessageAndNothingOnStandardOutput) {
  const std::string missing = m_folder / "no such folder/report";
  const std::string good = m_folder / "report";
  const struct {
    const char* what;
    std::vector<std::string> options;
    std::string err;
  } cases[] = {
      {"report",
       {"--report", missing + ".txt"},
       kTwoNotAcceptable + "Save Joins to file error: Cannot write " + missing +
           ".txt: No such file or directory\n"},
      {"pdf after a report that was written",
       {"--report", good + ".txt", "--pdf", missing + ".pdf"},
       kTwoNotAcceptable + kCompleted + "Printing Joins error: Cannot write " + missing +
           ".pdf: No such file or directory\n"},
      // An unknown criterion is refused by the comparison before any report.
      {"unknown criterion",
       {"--report", good + "2.txt", "--criterion", "urban areas"},
       "Join Comparison: Unknown accuracy criterion: urban areas\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"compare", "--marks", kMarks, "--plan", kData + "bad"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunCliOn(args);
    EXPECT_EQ(run.Status, 2) << c.what;
    EXPECT_EQ(run.Out, "") << c.what;
    EXPECT_EQ(run.Err, c.err) << c.what;
  }
  EXPECT_EQ(m_folder.Names(), std::set<std::string>{"report.txt"});
}

}  // namespace
}  // namespace modKestralMGA
