// The joins report as a PDF file: every printed report, read back with pdftotext, within the
// printable area of A4 and Letter; a refused report leaves the earlier file.
#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <functional>
#include <set>
#include <tuple>
#include <vector>

#include "PdfText.h"
#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "TempFolder.h"
#include "common/ColumnWriter.h"
#include "markjoins/JoinCalculation.h"
#include "reports/JoinsReport.h"
#include "reports/PsmListReport.h"
#include "reports/ui/PdfReport.h"
#include "reports/ui/PrintJob.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingSink;
using testsupport::TempFolder;

constexpr const char* kDate = "Sunday, December 06, 2026";

// Every printed report inside the printable area of A4 and of US Letter portrait with the
// report's margins, read back from the PDF in points: no word starts left of the left margin or
// above the top one, none ends right of the right margin or below the bottom one. The widest
// lines reach the columns given: the PSM list's with a status of ten characters at column 79,
// the join list's header with "Combined S. F." at column 60.
TEST(PdfReport, EveryReportFitsThePrintableAreaOfA4AndLetter) {
  testsupport::ReportData report;
  report.settings.m_printFullJoins = true;
  report.settings.SetDatum("6628/1001", "6628/1002");
  report.marks.SetCell(0, kColStatus, "REINSTATED");
  RecordingSink sink;
  const std::vector<JoinListRow> joinList = {
      JoinListHeaderRow(), CalculateJoin(report.context, "6628/1001", "6628/1002")};
  const std::vector<std::tuple<std::string, int, std::function<bool(ColumnWriter&)>>> reports = {
      {"joins report", 88,
       [&](ColumnWriter& out) {
         return PrintJoinsReport(report.plan, report.context, report.settings, kDate, out, sink);
       }},
      {"PSM list", 88,
       [&](ColumnWriter& out) {
         PrintPSMList(report.marks, report.settings.m_plan, out);
         return true;
       }},
      {"join list", 73, [&](ColumnWriter& out) {
         WriteJoinList(joinList, out);
         return true;
       }}};
  TempFolder folder;
  for (const auto& [pageSize, pageName] :
       {std::pair{QPageSize::A4, "A4"}, std::pair{QPageSize::Letter, "Letter"}}) {
    const QPageLayout layout(QPageSize(pageSize), QPageLayout::Portrait, ReportPageMargins(),
                             QPageLayout::Millimeter);
    const QRectF printable = layout.paintRect(QPageLayout::Point);
    for (const auto& [name, columns, compose] : reports) {
      SCOPED_TRACE(name + " on " + pageName);
      const std::string path = folder / (name + ".pdf");
      {
        QPdfWriter pdf(QString::fromStdString(path));
        pdf.setPageLayout(layout);
        ASSERT_TRUE(RunPrintJob(pdf, compose));
      }
      const auto words = testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, path);
      ASSERT_FALSE(words.empty());
      for (const auto& word : words) {
        EXPECT_GE(word.XMin, printable.left() - 0.01) << word.Text;
        EXPECT_GE(word.YMin, printable.top() - 0.01) << word.Text;
        EXPECT_LE(word.XMax, printable.right() + 0.01) << word.Text;
        EXPECT_LE(word.YMax, printable.bottom() + 0.01) << word.Text;
      }
      // The right-most word ends at the column of the widest line, a character advance a column.
      const auto& last = std::ranges::max(words, {}, &testsupport::PdfWord::XMax);
      const double advance = (last.XMax - last.XMin) / double(last.Text.size());
      EXPECT_NEAR((last.XMax - printable.left()) / advance, columns, 0.01) << last.Text;
      // The joins report runs over two pages, the first full: its last line within two lines
      // (11.3 pt each) of the bottom margin.
      double lastTop = 0.0;
      for (const auto& word : words) lastTop = std::max(lastTop, word.Page == 1 ? word.YMin : 0.0);
      EXPECT_EQ(words.back().Page, name == "joins report" ? 2 : 1);
      if (name == "joins report") {
        EXPECT_GT(lastTop, printable.bottom() - 3 * 11.4);
      }
    }
  }
  EXPECT_EQ(sink.Count(), 0u);
}

// A report the comparison refuses writes nothing over the earlier file (a write that fails is a
// case of the write faults of compare --pdf).
TEST(PdfReport, FailedReportLeavesTheEarlierFile) {
  testsupport::ReportData report;
  TempFolder folder;
  RecordingSink sink;
  report.settings.m_criterion = "Suburban";  // refused by the comparison
  const std::string path = folder.Write("report.pdf", "earlier");
  EXPECT_FALSE(
      PrintJoinsReportToPdf(path, report.plan, report.context, report.settings, kDate, sink));
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Title, "Join Comparison");
  EXPECT_EQ(testsupport::ReadBytes(path), "earlier");
  EXPECT_EQ(folder.Names(), std::set<std::string>{"report.pdf"});
}

}  // namespace
}  // namespace modKestralMGA
