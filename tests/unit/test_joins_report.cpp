// The joins report: the saved report byte for byte, the printed form's columns through the
// recorder, the refusal of an unknown criterion, and the report's trap around a failed save.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FaultyFileOps.h"
#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "TempFolder.h"
#include "common/ColumnWriter.h"
#include "reports/JoinsReport.h"

namespace modKestralMGA {
namespace {

using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::RecordingSink;
using testsupport::TempFolder;
using Entries = std::vector<RecordingSink::Entry>;

constexpr const char* kDate = "Sunday, December 06, 2026";

// The report fixtures, saved or written in a form.
struct ReportCase : testsupport::ReportData {
  bool Save(const std::string& path, RecordingSink& sink, FileOps& ops = SystemFileOps()) {
    return SaveJoinsReport(path, plan, context, settings, kDate, sink, ops);
  }
  bool Write(ReportForm form, ColumnWriter& out, RecordingSink& sink) {
    return WriteJoinsReport(form, plan, context, settings, kDate, out, sink);
  }
};

// The golden file tests/data/reports/name. With KESTRAL_UPDATE_GOLDEN set in the environment
// the test writes it instead (to be read and committed by hand).
void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string path = std::string(KESTRAL_TEST_DATA_DIR) + "/reports/" + name;
  if (std::getenv("KESTRAL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
  }
  EXPECT_EQ(actual, ReadBytes(path)) << "differs from " << path;
}

// Every block kind: 1001-1002 acceptable (1413.962 m both ways), 1001-1003 and 1002-1003 not
// acceptable (0.080 m too long; 16.5" off), 1004 scaled (order 6), 1005 missing from the list,
// 1006 unsolved, the ordinary point 100 never joined.
TEST(JoinsReport, SavedReportIsTheGoldenFileByteForByte) {
  const struct {
    const char* golden;
    bool psmList;
    bool fullJoins;
    const char* datumTo;  // nullptr: no bearing datum section
    Entries messages;
  } cases[] = {
      {"joins_list_full_datum.txt", true, true, "6628/1002", {}},
      {"joins_brief.txt", false, false, nullptr, {}},
      // The datum PSMs are not both in the plan: the message, and the report goes on without the
      // section.
      {"joins_list_brief.txt",
       true,
       false,
       "6628/1009",
       {{"Cannot find Datum line PSM's in KESTRAL", "MGA Joins", MessageIcon::Exclamation}}},
  };
  for (const auto& c : cases) {
    ReportCase report;
    report.settings.m_printPsmList = c.psmList;
    report.settings.m_printFullJoins = c.fullJoins;
    if (c.datumTo != nullptr) report.settings.SetDatum("6628/1001", c.datumTo);
    TempFolder folder;
    RecordingSink sink;
    EXPECT_TRUE(report.Save(folder / "report.txt", sink)) << c.golden;
    EXPECT_EQ(sink.Entries(), c.messages) << c.golden;
    ExpectGolden(ReadBytes(folder / "report.txt"), c.golden);
  }
}

// The columns each field was asked for, by its text, over the whole report.
std::map<std::string, std::set<int>> ColumnsByText(const RecordingColumnWriter& out) {
  std::map<std::string, std::set<int>> columns;
  for (const auto& line : out.Items()) {
    for (const auto& item : line) columns[item.Text].insert(item.Column);
  }
  return columns;
}

TEST(JoinsReport, PrintedAndSavedFormsDifferInTheListAndTheFullBlockColumns) {
  const struct {
    ReportForm form;
    int to, bearing, distance, source;
    int listTitleColumn;
    bool status;
  } cases[] = {
      {ReportForm::Printed, 15, 30, 45, 60, 10, true},
      {ReportForm::Saved, 12, 25, 40, 55, 1, false},
  };
  for (const auto& c : cases) {
    ReportCase report;
    report.settings.m_printFullJoins = true;
    report.settings.SetDatum("6628/1001", "6628/1002");
    RecordingColumnWriter out;
    RecordingSink sink;
    ASSERT_TRUE(report.Write(c.form, out, sink));
    const auto columns = ColumnsByText(out);
    const std::string form = c.form == ReportForm::Printed ? "printed" : "saved";
    EXPECT_EQ(columns.at("From"), std::set<int>{1}) << form;
    EXPECT_EQ(columns.at("To"), std::set<int>{c.to}) << form;
    // "Bearing" and "Distance" also head the datum section, at 30 and 45 in both forms.
    EXPECT_EQ(columns.at("Bearing"), (std::set<int>{c.bearing, 30})) << form;
    EXPECT_EQ(columns.at("Distance"), (std::set<int>{c.distance, 45})) << form;
    EXPECT_EQ(columns.at("(KESTRAL)"), (std::set<int>{c.source, 60})) << form;
    EXPECT_EQ(columns.at("(MGA)"), (std::set<int>{c.source, 60})) << form;
    EXPECT_EQ(columns.at("1413.962"), (std::set<int>{c.distance, 45})) << form;
    // The verdict columns are the same in both forms.
    EXPECT_EQ(columns.at("*** JOIN NOT ACCEPTABLE ***"), std::set<int>{25}) << form;
    EXPECT_EQ(columns.at("JOIN ACCEPTABLE"), std::set<int>{35}) << form;
    EXPECT_EQ(columns.at("Scaled Coordinates found"), std::set<int>{30}) << form;
    EXPECT_EQ(columns.at("MGA Coordinates not available"), std::set<int>{30}) << form;
    EXPECT_EQ(columns.at("Plan coordinates not available"), std::set<int>{30}) << form;
    EXPECT_EQ(columns.at("Permanent Survey Mark List for C:\\PLANS\\DP1234"),
              std::set<int>{c.listTitleColumn})
        << form;
    EXPECT_EQ(columns.count("Status"), c.status ? 1u : 0u) << form;
    if (c.status) {
      EXPECT_EQ(columns.at("Status"), std::set<int>{79});
    }
  }
}

TEST(JoinsReport, PrintedFormPutsThePsmListAndAnEmptyLineBeforeTheRule) {
  ReportCase report;
  report.settings.m_plan = "";
  report.marks.Resize(1);
  RecordingColumnWriter out;
  RecordingSink sink;
  ASSERT_TRUE(report.Write(ReportForm::Printed, out, sink));
  const auto lines = out.Lines();
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[0], "         Permanent Survey Mark List");
  EXPECT_EQ(lines[4].substr(0, 9), "6628/1001");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], std::string(65, '-'));
  EXPECT_EQ(lines[7], "Joins between Permanent Survey Marks in plan ");
}

TEST(JoinsReport, PlanWithoutPsmsGivesTheHeadingOnly) {
  ReportCase report;
  report.settings.m_printPsmList = false;
  report.plan.PlanPoints = {{1, 0.0, 0.0, 1}, {4600, 10.0, 0.0, 1}, {2, 10.0, 10.0, 1}};
  report.plan.PlanPointCount = 2;
  TextColumnWriter out;
  RecordingSink sink;
  ASSERT_TRUE(report.Write(ReportForm::Saved, out, sink));
  EXPECT_EQ(out.Bytes(),
            "-----------------------------------------------------------------\r\n"
            "Joins between Permanent Survey Marks in plan C:\\PLANS\\DP1234\r\n"
            "-----------------------------------------------------------------\r\n"
            "Printed on Sunday, December 06, 2026\r\n"
            "Accuracy Criterion = Urban Areas\r\n"
            "Average Height of survey = 100.000 metres\r\n"
            "\r\n");
}

TEST(JoinsReport, UnknownCriterionIsRefusedBeforeAnythingIsWritten) {
  ReportCase report;
  report.settings.m_criterion = "urban areas";
  const Entries refused = {
      {"Unknown accuracy criterion: urban areas", "Join Comparison", MessageIcon::Exclamation}};

  TempFolder folder;
  const std::string path = folder.Write("report.txt", "earlier report\r\n");
  RecordingSink saveSink;
  EXPECT_FALSE(report.Save(path, saveSink));
  EXPECT_EQ(saveSink.Entries(), refused);
  EXPECT_EQ(ReadBytes(path), "earlier report\r\n");

  RecordingColumnWriter printer;
  RecordingSink printSink;
  EXPECT_FALSE(
      PrintJoinsReport(report.plan, report.context, report.settings, kDate, printer, printSink));
  EXPECT_EQ(printSink.Entries(), refused);
  EXPECT_TRUE(printer.Lines().empty());
}

TEST(JoinsReport, SavingReplacesAnExistingFileWholly) {
  ReportCase report;
  report.settings.m_printPsmList = false;
  TempFolder folder;
  const std::string path = folder.Write("report.txt", std::string(100000, 'x'));
  RecordingSink sink;
  ASSERT_TRUE(report.Save(path, sink));
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.find('x'), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 67), std::string(65, '-') + "\r\n");
}

// Every file operation of the save failing in turn: until the new file has been renamed into
// place the earlier report is untouched, one message names the failure under the save's title,
// and the routine says it failed; no temporary file is left.
TEST(JoinsReport, FailedSaveLeavesTheEarlierFileAndShowsOneMessage) {
  ReportCase report;
  TempFolder folder;
  const std::string earlier = "earlier report\r\n";
  int failures = 0;
  for (int failAt = 1;; ++failAt) {
    const std::string path = folder.Write("report.txt", earlier);
    FaultyFileOps ops({.FailAt = failAt});
    RecordingSink sink;
    const bool saved = report.Save(path, sink, ops);
    if (ops.FirstFailure().empty()) break;  // every operation has failed once
    EXPECT_EQ(folder.Names(), std::set<std::string>{"report.txt"}) << ops.FirstFailure();
    if (saved) {
      // Only the folder sync after the rename may fail unreported: the file is already new.
      EXPECT_EQ(ops.FirstFailure(), "SyncFolder");
      EXPECT_EQ(sink.Count(), 0u);
      continue;
    }
    ++failures;
    EXPECT_EQ(ReadBytes(path), earlier) << ops.FirstFailure();
    ASSERT_EQ(sink.Count(), 1u) << ops.FirstFailure();
    EXPECT_EQ(sink[0].Title, "Save Joins to file error");
    EXPECT_EQ(sink[0].Icon, MessageIcon::Exclamation);
    EXPECT_EQ(sink[0].Text.rfind("Cannot write " + path + ": ", 0), 0u) << sink[0].Text;
  }
  EXPECT_GE(failures, 5);  // stat, create, write, sync, close, mode, rename
}

TEST(JoinsReport, FailureInsideTheReportEndsInTheTrapOfItsForm) {
  ReportCase report;
  report.settings.SetDatum("6628/1001", "6628/99999999");  // a key beyond 32 bits
  const std::string text = "PSM number too large for a key: 6628/99999999";

  TempFolder folder;
  const std::string path = folder.Write("report.txt", "earlier report\r\n");
  RecordingSink saveSink;
  EXPECT_FALSE(report.Save(path, saveSink));
  EXPECT_EQ(saveSink.Entries(),
            (Entries{{text, "Save Joins to file error", MessageIcon::Exclamation}}));
  EXPECT_EQ(ReadBytes(path), "earlier report\r\n");

  RecordingColumnWriter printer;
  RecordingSink printSink;
  EXPECT_FALSE(
      PrintJoinsReport(report.plan, report.context, report.settings, kDate, printer, printSink));
  EXPECT_EQ(printSink.Entries(),
            (Entries{{text, "Printing Joins error", MessageIcon::Exclamation}}));
  // What was written before the failure stays in the print job.
  EXPECT_FALSE(printer.Lines().empty());
}

}  // namespace
}  // namespace modKestralMGA
