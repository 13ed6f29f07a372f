// The results window beyond its scenarios (tests/data/gui/compare.scn and layout.scn): the list's
// model, the report's date.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "reports/ui/ReportDateText.h"
#include "reports/ui/ResultLinesModel.h"

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
