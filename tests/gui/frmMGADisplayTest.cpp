// The results window: its controls and their initial states, the layout of the options, Close
// and Print, the options kept across Close and comparisons and set by the main window's bearing
// datum options, Close while a comparison fills the list, and the list's model.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <chrono>

#include "CompareTestSupport.h"
#include "reports/ui/ResultLinesModel.h"

using Lines = std::vector<std::string>;

TEST_F(CompareTest, ResultsWindowControlsAndTheirInitialStates) {
  Start();
  frmMGADisplay& results = Results();
  EXPECT_FALSE(results.isVisible());  // created hidden with the main window
  EXPECT_TRUE(results.isWindow());
  EXPECT_EQ(results.windowTitle(), "Results of comparison with MGA coordinates");
  EXPECT_EQ(FindInResults<QGroupBox>("Frame1")->title(), "Print Options");
  const struct {
    const char* name;
    const char* caption;
    bool checked;
  } boxes[] = {{"chkPrintList", "Print PSM List", true},
               {"chkFullJoins", "Print full join details", false},
               {"chkToFile", "Print to file", false}};
  for (const auto& box : boxes) {
    QCheckBox* check = FindInResults<QCheckBox>(box.name);
    EXPECT_EQ(check->text(), box.caption);
    EXPECT_EQ(check->isChecked(), box.checked) << box.name;
    EXPECT_EQ(check->parentWidget(), FindInResults<QGroupBox>("Frame1")) << box.name;
  }
  EXPECT_TRUE(results.PrintList());
  EXPECT_FALSE(results.FullJoins());
  EXPECT_FALSE(results.ToFile());
  EXPECT_EQ(FindInResults<QPushButton>("cmdClose")->text(), "Close");
  EXPECT_EQ(FindInResults<QPushButton>("cmdPrint")->text(), "Print");
  EXPECT_TRUE(FindInResults<QPushButton>("cmdPrint")->isEnabled());
  QListView* list = FindInResults<QListView>("lstPSMJoins");
  EXPECT_EQ(list->model()->rowCount(), 0);
  // The padded columns of the result lines line up only when every character takes one width.
  const QFontMetrics metrics(list->font());
  for (const QChar c : QStringLiteral(" 0.*Ji")) {
    EXPECT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(u'M')) << c.toLatin1();
  }

  // A greyed box does not count as set.
  FindInResults<QCheckBox>("chkPrintList")->setCheckState(Qt::PartiallyChecked);
  EXPECT_FALSE(results.PrintList());
}

TEST_F(CompareTest, ResultsWindowLayout) {
  Start();
  Results().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Results()));
  const QRect frame = FindInResults<QGroupBox>("Frame1")->geometry();
  const QRect close = FindInResults<QPushButton>("cmdClose")->geometry();
  const QRect print = FindInResults<QPushButton>("cmdPrint")->geometry();
  const QRect list = FindInResults<QListView>("lstPSMJoins")->geometry();
  const QRect printList = FindInResults<QCheckBox>("chkPrintList")->geometry();
  const QRect fullJoins = FindInResults<QCheckBox>("chkFullJoins")->geometry();
  const QRect toFile = FindInResults<QCheckBox>("chkToFile")->geometry();
  // The options top left: two side by side, "Print to file" under the first.
  EXPECT_LT(frame.right(), close.left());
  EXPECT_LT(printList.right(), fullJoins.left());
  EXPECT_EQ(printList.top(), fullJoins.top());
  EXPECT_GT(toFile.top(), printList.bottom());
  // Close top right with Print under it; the list below them all, as wide as the window allows.
  EXPECT_GT(print.top(), close.bottom());
  EXPECT_LT(close.top(), frame.bottom());
  EXPECT_GT(list.top(), std::max(frame.bottom(), print.bottom()));
  EXPECT_GE(list.right(), close.right());
  EXPECT_LE(list.left(), frame.left());
}

TEST_F(CompareTest, OptionsSurviveCloseAndANewComparison) {
  StartWithMarks();
  const std::string plan = WritePlan("plan", {"66281001,66281002,45.0000,1413.962"});
  Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
  Compare();
  ASSERT_TRUE(Results().isVisible());
  QTest::mouseClick(FindInResults<QCheckBox>("chkPrintList"), Qt::LeftButton);
  QTest::mouseClick(FindInResults<QCheckBox>("chkFullJoins"), Qt::LeftButton);
  QTest::mouseClick(FindInResults<QCheckBox>("chkToFile"), Qt::LeftButton);
  QTest::mouseClick(FindInResults<QPushButton>("cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(Results().isVisible());
  EXPECT_EQ(ShownLines().size(), Heading(plan).size() + 1);  // the list is kept too

  const std::string second = WritePlan("second", {"66281001,66289999,10.0000,100.000"});
  Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(second));
  Compare();
  EXPECT_TRUE(Results().isVisible());
  EXPECT_FALSE(Results().PrintList());
  EXPECT_TRUE(Results().FullJoins());
  EXPECT_TRUE(Results().ToFile());
  EXPECT_EQ(ShownLines(), Joined(Heading(second),
                                 {"66281001       66289999       MGA Coordinates not available"}));
}

TEST_F(CompareTest, BearingDatumOptionsSetPrintFullJoinDetails) {
  Start();
  QCheckBox* fullDetails = Find<QCheckBox>("chkFullDetails");
  const struct {
    const char* option;
    bool before;  // both boxes before the click
    bool after;
  } clicks[] = {{"optTertiary", false, true},
                {"optNone", true, true},
                {"optTwoPSMs", true, false},
                {"optNone", false, false},
                {"optTertiary", false, true}};
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.option);
    ASSERT_EQ(Results().FullJoins(), click.before);
    QTest::mouseClick(Find<QRadioButton>(click.option), Qt::LeftButton);
    EXPECT_EQ(Results().FullJoins(), click.after);
    EXPECT_EQ(fullDetails->isChecked(), click.after);
  }
}

TEST_F(CompareTest, CloseDuringAComparisonHidesTheWindowAndTheListStillFills) {
  StartWithMarks();
  m_window->PendingTurns().SetInterval(std::chrono::milliseconds(0));
  const std::string plan =
      WritePlan("plan", {"66281001,66281002,45.0000,1300.000", "66281001,66281007,0.0000,900.000"});
  Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
  bool closed = false;
  QTimer::singleShot(0, m_window.get(), [&] {
    QTest::mouseClick(FindInResults<QPushButton>("cmdClose"), Qt::LeftButton);
    closed = !Results().isVisible();
  });
  Compare();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(Results().isVisible());
  EXPECT_EQ(ShownLines().size(), Heading(plan).size() + 9);  // three joins, three lines each
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "***** 3 JOINS WERE NOT ACCEPTABLE *****");

  // The next comparison shows it again.
  Compare();
  EXPECT_TRUE(Results().isVisible());
}

TEST_F(CompareTest, TheLongestLineCanBeScrolledIntoView) {
  Start();
  frmMGADisplay& results = Results();
  // The view sizes every row as its last: here a short one after the long heading.
  const std::string heading = "Comparison of PSM joins for /" + std::string(150, 'p');
  results.AddLine(heading);
  results.AddLine("66281001       66281002       JOIN ACCEPTABLE");
  results.FlushLines();
  results.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&results));
  QApplication::processEvents();
  QListView* list = FindInResults<QListView>("lstPSMJoins");
  const int headingWidth =
      QFontMetrics(list->font()).horizontalAdvance(QString::fromStdString(heading));
  EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(), headingWidth);
}

TEST(ResultLinesModelTest, LinesReachTheViewInBatches) {
  ResultLinesModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  model.Append("Comparison of PSM joins for /plans/1234");
  model.Append("");
  model.Append("6628/1001 to Gr\xFCn");  // a datum text typed in the window: Windows-1252
  EXPECT_EQ(model.rowCount(), 0);
  model.Flush();
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(inserted.count(), 1);
  EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("6628/1001 to Gr\u00fcn"));
  model.Flush();  // nothing new: no insertion
  EXPECT_EQ(inserted.count(), 1);

  model.Append("66281001       66281002       JOIN ACCEPTABLE");
  model.Flush();
  EXPECT_EQ(inserted.count(), 2);
  EXPECT_EQ(model.Lines().back(), "66281001       66281002       JOIN ACCEPTABLE");
  model.Append("kept aside");
  model.Clear();
  model.Flush();
  EXPECT_EQ(model.rowCount(), 0);
}
