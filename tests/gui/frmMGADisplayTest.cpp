// The results window: its controls and their initial states, the layout of the options, Close
// and Print, the options kept across Close and comparisons and set by the main window's bearing
// datum options, Close while a comparison fills the list, the list's model, and the joins report
// printed, saved and previewed.
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
#include "PrintTestSupport.h"
#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "TempFolder.h"
#include "reports/JoinsReport.h"
#include "reports/ui/ReportDateText.h"
#include "reports/ui/ResultLinesModel.h"

using Lines = std::vector<std::string>;
using modKestralMGA::MessageIcon;
using modKestralMGA::ReportForm;

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
  EXPECT_EQ(FindInResults<QPushButton>("cmdPreview")->text(), "Preview");
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
  const QRect preview = FindInResults<QPushButton>("cmdPreview")->geometry();
  const QRect list = FindInResults<QListView>("lstPSMJoins")->geometry();
  const QRect printList = FindInResults<QCheckBox>("chkPrintList")->geometry();
  const QRect fullJoins = FindInResults<QCheckBox>("chkFullJoins")->geometry();
  const QRect toFile = FindInResults<QCheckBox>("chkToFile")->geometry();
  // The options top left: two side by side, "Print to file" under the first.
  EXPECT_LT(frame.right(), close.left());
  EXPECT_LT(printList.right(), fullJoins.left());
  EXPECT_EQ(printList.top(), fullJoins.top());
  EXPECT_GT(toFile.top(), printList.bottom());
  // Close top right with Print and Preview under it; the list below them all, as wide as the
  // window allows.
  EXPECT_GT(print.top(), close.bottom());
  EXPECT_GT(preview.top(), print.bottom());
  EXPECT_LT(close.top(), frame.bottom());
  EXPECT_GT(list.top(), std::max(frame.bottom(), preview.bottom()));
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

// ---- The joins report: Print, Print to file, Preview ----

namespace {

class ReportPrintTest : public CompareTest {
 protected:
  static constexpr const char* kDate = "Sonntag, Dezember 06, 2026";

  // The marks compared with a plan of an acceptable join (6628/1001 to 6628/1002) and two that
  // are not (those with 6628/1007, placed 100 m short); the report's date fixed through the
  // window's clock seam.
  void StartCompared() {
    StartWithMarks();
    const std::string plan = WritePlan(
        "plan", {"66281001,66281002,45.0000,1413.962", "66281001,66281007,0.0000,900.000"});
    Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
    Compare();
    m_dialogs.Messages.clear();
    Results().SetReportDate([] { return std::string(kDate); });
  }

  // The report as the core composes it from the compared plan, the mark list and the settings
  // and options now in the windows.
  void ExpectedReport(ReportForm form, modKestralMGA::ColumnWriter& out) {
    modKestralMGA::testsupport::FixedReportSettings settings;
    settings.m_plan = m_window->PlanIdentifier();
    settings.m_criterion = m_window->AccuracyCriterionText();
    settings.m_maxOrder = m_window->MaxOrderText();
    settings.m_averageHeight = m_window->AverageHeightText();
    if (m_window->TwoPsms()) settings.SetDatum(m_window->Datum1Text(), m_window->Datum2Text());
    settings.m_printPsmList = Results().PrintList();
    settings.m_printFullJoins = Results().FullJoins();
    modKestralMGA::MarkIndex index(m_window->Marks());
    modKestralMGA::JoinContext context{index, settings};
    modKestralMGA::testsupport::RecordingSink sink;
    ASSERT_TRUE(modKestralMGA::WriteJoinsReport(form, m_window->ComparedPlan(), context, settings,
                                                kDate, out, sink));
  }

  void Click(const char* button) {
    QTest::mouseClick(FindInResults<QPushButton>(button), Qt::LeftButton);
  }
};

TEST_F(ReportPrintTest, PrintToFileSavesTheReportWithTheOptionsOfTheMoment) {
  StartCompared();
  QTest::mouseClick(FindInResults<QCheckBox>("chkToFile"), Qt::LeftButton);
  QTest::mouseClick(FindInResults<QCheckBox>("chkPrintList"), Qt::LeftButton);
  QTest::mouseClick(FindInResults<QCheckBox>("chkFullJoins"), Qt::LeftButton);
  const std::string path = PathIn("report.txt");
  m_dialogs.Answer(path);
  Click("cmdPrint");

  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_TRUE(m_dialogs.Prompts[0].Save);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Save MGA comparison to file");
  EXPECT_EQ(m_dialogs.Prompts[0].InitialName, "");
  EXPECT_EQ(m_dialogs.Prompts[0].Filter, "Text files (*.TXT)|*.txt");
  EXPECT_TRUE(m_dialogs.Prompts[0].ConfirmReplace);
  EXPECT_TRUE(m_dialogs.PrinterPrompts.empty());  // nothing goes to the printer

  modKestralMGA::TextColumnWriter expected;
  ExpectedReport(ReportForm::Saved, expected);
  EXPECT_EQ(modKestralMGA::testsupport::ReadBytes(path), expected.Bytes());
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Printing completed");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Print Joins");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
}

TEST_F(ReportPrintTest, PrintSendsTheReportAndThePreviewShowsTheSamePages) {
  StartCompared();
  const std::string pdf = PathIn("report.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Click("cmdPrint");
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Printing completed");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Print Joins");

  modKestralMGA::RecordingColumnWriter expected;
  ExpectedReport(ReportForm::Printed, expected);
  const auto pages = PrintedPages(pdf);
  EXPECT_EQ(AllLines(pages), PrintableLines(expected));

  m_dialogs.PreviewPdf = PathIn("preview.pdf");
  Click("cmdPreview");
  EXPECT_EQ(m_dialogs.Previews.size(), 1u);
  EXPECT_EQ(PrintedPages(m_dialogs.PreviewPdf), pages);
  EXPECT_EQ(m_dialogs.Messages.size(), 1u);
}

TEST_F(ReportPrintTest, ACancelOrAFailureGivesNoCompletionNotice) {
  const struct {
    bool toFile;
    const char* answer;  // in the test's folder; "" cancels the dialog
    std::vector<std::string> titles;
  } cases[] = {{true, "", {}},
               {true, "no-such-folder/report.txt", {"Save Joins to file error"}},
               {false, "", {}},
               {false, "no-such-folder/report.pdf", {"Printing Joins error"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.toFile ? "file " : "printer ") + c.answer);
    StartCompared();
    FindInResults<QCheckBox>("chkToFile")->setChecked(c.toFile);
    const std::string answer = *c.answer == '\0' ? std::string() : PathIn(c.answer);
    if (c.toFile) {
      m_dialogs.Answer(answer);
    } else {
      m_dialogs.AnswerPrinter(answer);
    }
    Click("cmdPrint");
    EXPECT_EQ(m_dialogs.Prompts.size(), c.toFile ? 1u : 0u);
    EXPECT_EQ(m_dialogs.PrinterPrompts.size(),
              c.toFile ? 0u : 1u);  // a cancelled save prints nothing
    std::vector<std::string> titles;
    for (const auto& message : m_dialogs.Messages) titles.push_back(message.Title);
    EXPECT_EQ(titles, c.titles);
    EXPECT_TRUE(FindInResults<QPushButton>("cmdPrint")->isEnabled());
    EXPECT_EQ(Results().cursor().shape(), Qt::ArrowCursor);
    m_dialogs.Prompts.clear();
    m_dialogs.PrinterPrompts.clear();
  }
}

TEST_F(ReportPrintTest, PrintIsDisabledUnderTheHourglassWhileTheReportRuns) {
  StartCompared();
  // A datum line the plan does not hold: the report says so while it runs, and goes on.
  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  Find<QLineEdit>("txtDatum1")->setText("6628/1001");
  Find<QLineEdit>("txtDatum2")->setText("6628/1003");
  QPushButton* print = FindInResults<QPushButton>("cmdPrint");
  std::vector<std::pair<bool, Qt::CursorShape>> seen;
  m_dialogs.OnMessage = [&] { seen.emplace_back(print->isEnabled(), Results().cursor().shape()); };
  FindInResults<QCheckBox>("chkToFile")->setChecked(true);
  m_dialogs.Answer(PathIn("report.txt"));
  Click("cmdPrint");
  ASSERT_EQ(m_dialogs.Messages.size(), 2u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Cannot find Datum line PSM's in KESTRAL");
  EXPECT_EQ(m_dialogs.Messages[1].Text, "Printing completed");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(false, Qt::WaitCursor));  // during the report
  EXPECT_EQ(seen[1], std::make_pair(true, Qt::ArrowCursor));  // after it
  m_dialogs.OnMessage = nullptr;
}

TEST(ReportDateTextTest, TodayInTheLanguageOfTheSystem) {
  const struct {
    QLocale locale;
    QDate date;
    std::string text;  // Windows-1252 bytes
  } cases[] = {
      {QLocale(QLocale::English, QLocale::Australia), QDate(2026, 12, 6),
       "Sunday, December 06, 2026"},
      {QLocale(QLocale::German, QLocale::Germany), QDate(2026, 12, 6),
       "Sonntag, Dezember 06, 2026"},
      {QLocale(QLocale::French, QLocale::France), QDate(2027, 2, 1), "lundi, f\xE9vrier 01, 2027"},
      {QLocale(QLocale::English, QLocale::Australia), QDate(), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReportDateText(c.date, c.locale), c.text) << c.locale.name().toStdString();
  }
}

}  // namespace
