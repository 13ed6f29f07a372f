// The results window beyond its scenarios (tests/data/gui/compare.scn): the layout, the list's
// model and font, the report's date.

#include "GuiTestSupport.h"
#include "reports/ui/ReportDateText.h"
#include "reports/ui/ResultLinesModel.h"

TEST_F(MainWindowTest, ResultsWindowLayoutAndFont) {
  Start();
  Results().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Results()));
  // The options top left, two side by side and "Print to file" under the first; Close top right
  // with Print and Preview under it; the list below them all, as wide as the window allows.
  ExpectLayout(Results(),
               {"Frame1 < cmdClose", "chkPrintList < chkFullJoins", "chkPrintList = chkFullJoins",
                "chkPrintList ^ chkToFile", "cmdClose ^ cmdPrint", "cmdPrint ^ cmdPreview",
                "Frame1 ^ lstPSMJoins", "cmdPreview ^ lstPSMJoins"});
  auto area = [&](const char* name) { return FindIn<QWidget>(Results(), name)->geometry(); };
  EXPECT_LT(area("cmdClose").top(), area("Frame1").bottom());
  EXPECT_GE(area("lstPSMJoins").right(), area("cmdClose").right());
  EXPECT_LE(area("lstPSMJoins").left(), area("Frame1").left());
  // The padded columns of the result lines line up only when every character takes one width.
  QListView* list = FindIn<QListView>(Results(), "lstPSMJoins");
  const QFontMetrics metrics(list->font());
  for (const QChar c : QStringLiteral(" 0.*Ji")) {
    EXPECT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'M')) << c.toLatin1();
  }
  // The view sizes every row as its last: the long heading still scrolls into view.
  const std::string heading = "Comparison of PSM joins for /" + std::string(150, 'p');
  Results().AddLine(heading);
  Results().AddLine("66281001       66281002       JOIN ACCEPTABLE");
  Results().FlushLines();
  QApplication::processEvents();
  EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(),
            metrics.horizontalAdvance(QString::fromStdString(heading)));
}

TEST(ResultLinesModelTest, LinesReachTheViewInBatches) {
  ResultLinesModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  model.Append("Comparison of PSM joins for /plans/1234");
  model.Append("6628/1001 to Gr\xFCn");  // a datum text typed in the window: Windows-1252
  EXPECT_EQ(model.rowCount(), 0);
  model.Flush();
  model.Flush();  // nothing new: no insertion
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(inserted.count(), 1);
  EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("6628/1001 to Gr\u00fcn"));
  model.Append("kept aside");
  model.Clear();
  model.Flush();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(ReportDateTextTest, TodayInTheLanguageOfTheSystem) {
  const QLocale english(QLocale::English, QLocale::Australia);
  EXPECT_EQ(ReportDateText(QDate(2026, 12, 6), english) + "|" + ReportDateText(QDate(), english) +
                "|" + ReportDateText(QDate(2027, 2, 1), QLocale(QLocale::French, QLocale::France)),
            "Sunday, December 06, 2026||lundi, f\xE9vrier 01, 2027");  // Windows-1252
}
