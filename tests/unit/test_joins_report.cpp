// The joins report and its sections: the saved report byte for byte, both forms' columns, the
// bearing datum section, the PSM list, the refusal of an unknown criterion, and the report's trap
// around a failure inside it. A failed save's file operations: tests/cli/test_write_faults.cpp.
// Expected texts: tests/data/reports and tests/data/model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "diagnosis/Diagnosis.h"
#include "reports/BearingDatumReport.h"
#include "reports/JoinsReport.h"
#include "reports/PsmListReport.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;
using Entries = std::vector<RecordingSink::Entry>;

constexpr const char* kDate = "Sunday, December 06, 2026";
const std::string kEarlier = "earlier report\r\n";

bool Save(ReportData& report, const std::string& path, RecordingSink& sink) {
  return SaveJoinsReport(path, report.plan, report.context, report.settings, kDate, sink);
}

// Every block kind (ReportFixtures.h): 1001-1002 acceptable, 1001-1003 and 1002-1003 not
// acceptable, 1004 scaled, 1005 missing from the list, 1006 unsolved, 100 never joined; with
// "Print diagnosis" the diagnosis of those joins ends the report. Each save wholly replaces a
// longer file. Datum PSMs not both in the plan: the message, and the report goes on without the
// section.
TEST(JoinsReport, SavedReportIsTheGoldenFileByteForByte) {
  // datumTo nullptr: no bearing datum section; 6628/1009 is not in the plan.
  // clang-format off
  const struct { const char* golden; bool psmList, fullJoins; const char* datumTo; bool diagnosis; } cases[] = {
      {"joins_list_full_datum.txt", true, true, "6628/1002", false},
      {"joins_brief.txt", false, false, nullptr, false},
      {"joins_list_brief.txt", true, false, "6628/1009", false},
      {"joins_diagnosis.txt", false, false, nullptr, true}};
  // clang-format on
  for (const auto& c : cases) {
    ReportData report;
    report.settings.m_printPsmList = c.psmList;
    report.settings.m_printFullJoins = c.fullJoins;
    report.settings.m_printDiagnosis = c.diagnosis;
    if (c.datumTo != nullptr) report.settings.SetDatum("6628/1001", c.datumTo);
    TempFolder folder;
    RecordingSink sink;
    EXPECT_TRUE(Save(report, folder.Write("report.txt", std::string(100000, 'x')), sink));
    EXPECT_EQ(Said(sink), c.datumTo && std::string(c.datumTo) == "6628/1009"
                              ? "! MGA Joins | Cannot find Datum line PSM's in KESTRAL | 1\n"
                              : "")
        << c.golden;
    const std::string path = std::string(KESTRAL_TEST_DATA_DIR) + "/reports/" + c.golden;
    const std::string saved = ReadBytes(folder / "report.txt");
    EXPECT_EQ(saved, Golden(path, saved)) << "differs from " << path;
  }
}

// The printed and saved forms differ in the list and the full block's columns
// (model/report_forms.txt); the bearing datum section (the plan line from the fixture's
// coordinates, the MGA line from the worked example of the combined scale factor or, above the
// order limit, the plane join; zeros for a PSM missing from the list); the PSM list in both forms,
// a long cell pushing the next to the next line.
TEST(JoinsReport, FormsSectionsAndColumns) {
  std::string transcript;
  for (const ReportForm form : {ReportForm::Printed, ReportForm::Saved}) {
    ReportData report;
    report.settings.m_printFullJoins = true;
    report.settings.SetDatum("6628/1001", "6628/1002");
    RecordingColumnWriter out;
    RecordingSink sink;
    ASSERT_TRUE(
        WriteJoinsReport(form, report.plan, report.context, report.settings, kDate, out, sink));
    transcript += "== form\n" + Columns(out) + Said(sink);
  }

  // clang-format off
  const std::pair<const char*, const char*> datums[] = {
      {"6628/1001", "6628/1002"}, {"6628/1001", "6628/1004"}, {"6628/1001", "6628/1005"},
      {"6628/1001", "6628/1006"}, {"6628/1001 (north)", "6628/1002"}, {"6628/1001", "6628/1001"},
      {"6628/1001", ""}, {"", "6628/1002"}, {"6628/1001", "6628/1009"}, {"6628/2001", "6628/2002"},
      {"99", "6628/1001"}};
  // clang-format on
  for (const auto& [from, to] : datums) {
    ReportData report;
    report.settings.SetDatum(from, to);
    RecordingColumnWriter out;
    RecordingSink sink;
    BearingDatumReport(report.plan, report.context, report.settings, out, sink);
    transcript +=
        "== datum " + std::string(from) + " to " + to + "\n" + Written(out.Lines()) + Said(sink);
  }

  MarkList marks = ReportMarks();
  marks.Resize(3);
  marks.SetCell(1, kColPsmNo, "6628/1002 (old PM)");
  marks.AppendRow({"", "", "", "", "", "", "", "x"});  // an empty row is written as it stands
  for (const char* plan : {"C:\\PLANS\\DP1234", ""}) {
    RecordingColumnWriter printed;
    PrintPSMList(marks, plan, printed);
    TextColumnWriter saved;
    WriteSavedPsmList(marks, plan, saved);
    transcript += "== PSM list for " + std::string(plan) + "\n" + Columns(printed) +
                  Written(printed.Lines()) + saved.Bytes();
  }
  ExpectGolden(transcript, "report_forms.txt");
}

// A criterion that is none of the five is refused before anything is written; a failure inside
// the report (a datum key beyond 32 bits) ends in the trap of its form, and what was printed
// before it stays in the print job. A saved report that fails after its first pieces reached the
// temporary file (a list of 5000 marks before the datum section) leaves the earlier file alone.
TEST(JoinsReport, RefusalAndFailureInsideTheReport) {
  // clang-format off
  const struct { const char *criterion, *datumTo, *text, *saveTitle, *printTitle; int moreMarks; } cases[] = {
      {"urban areas", "6628/1002", "Unknown accuracy criterion: urban areas", "Join Comparison",
       "Join Comparison", 0},
      {"Urban Areas", "6628/99999999", "PSM number too large for a key: 6628/99999999",
       "Save Joins to file error", "Printing Joins error", 0},
      {"Urban Areas", "6628/99999999", "PSM number too large for a key: 6628/99999999",
       "Save Joins to file error", "Printing Joins error", 5000}};
  // clang-format on
  for (const auto& c : cases) {
    ReportData report;
    report.settings.m_criterion = c.criterion;
    report.settings.SetDatum("6628/1001", c.datumTo);
    const MarkRow last = report.marks.Row(report.marks.RowCount() - 1).Owned();
    for (int i = 0; i < c.moreMarks; ++i) report.marks.AppendRow(last);
    TempFolder folder;
    const std::string path = folder.Write("report.txt", kEarlier);
    RecordingSink saveSink, printSink;
    EXPECT_FALSE(Save(report, path, saveSink));
    EXPECT_EQ(saveSink.Entries(), (Entries{{c.text, c.saveTitle, MessageIcon::Exclamation}}));
    EXPECT_EQ(ReadBytes(path), kEarlier);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"report.txt"});
    RecordingColumnWriter printer;
    EXPECT_FALSE(
        PrintJoinsReport(report.plan, report.context, report.settings, kDate, printer, printSink));
    EXPECT_EQ(printSink.Entries(), (Entries{{c.text, c.printTitle, MessageIcon::Exclamation}}));
    EXPECT_EQ(printer.Lines().empty(), c.criterion[0] == 'u') << c.criterion;
  }
}

// The comparison's judgements stand in for the report's own only while the mark list and the
// settings are those they were judged under: a judgement altered after the comparison shows in the
// report while nothing changed, and no longer once a mark moved or the average height changed.
TEST(JoinsReport, ComparedJoinsServeOnlyWhileListAndSettingsStand) {
  for (const std::string change : {"", "list", "settings"}) {
    SCOPED_TRACE(change);
    ReportData report;
    report.settings.m_printFullJoins = true;
    const JudgingConditions conditions = ConditionsOf(report.context, report.settings.Criterion());
    JudgementCollector judgements;
    RecordingResultList lines;
    RecordingSink sink;
    NoPendingEvents events;
    ComparePSMJoins(report.plan, report.context, report.settings, lines, sink, events, &judgements);
    std::vector<JudgedJoin> joins = judgements.Joins();
    joins.front().Judgement.Csf = 2.0;  // 6628/1001 to 6628/1002, an acceptable join
    const ComparedJoins compared{report.plan, joins, conditions};
    if (change == "list") report.marks.SetCell(2, kColEast, "281000.100");
    if (change == "settings") report.settings.m_averageHeight = "200.000";

    TextColumnWriter fresh, reused;
    const auto write = [&](TextColumnWriter& out, const ComparedJoins* given) {
      EXPECT_TRUE(WriteJoinsReport(ReportForm::Saved, report.plan, report.context, report.settings,
                                   kDate, out, sink, given));
    };
    write(fresh, nullptr);
    write(reused, &compared);
    if (change.empty()) {
      EXPECT_NE(reused.Bytes().find("Combined Scale Factor = 2.00000000"), std::string::npos);
    } else {
      EXPECT_EQ(reused.Bytes(), fresh.Bytes());
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
