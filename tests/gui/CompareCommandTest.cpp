// The Compare command of the main window, end to end on small plans: the result lines of each
// verdict, the closing message, the plan's name typed or chosen, the messages of an unreadable
// plan, the checks that end the command early, and the window while a comparison runs.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "CompareTestSupport.h"
#include "app/EventLoopTurns.h"
#include "marks/ui/frmImportText.h"

using modKestralMGA::MessageIcon;
using Lines = std::vector<std::string>;

namespace {

// Three PSMs whose three joins all fail: 6628/1002 and 6628/1007 placed well short of their
// marks.
const Lines kThreeFailingJoins = {"66281001,66281002,45.0000,1300.000",
                                  "66281001,66281007,0.0000,900.000"};

}  // namespace

TEST_F(CompareTest, ResultLinesOfEachVerdict) {
  const struct {
    const char* what;
    Lines plan;
    bool fullDetails;
    Lines joins;
    const char* message;  // the closing message, or nullptr for none
  } cases[] = {
      // The point 101 is no PSM: it takes part in no pair.
      {"acceptable",
       {"66281001,66281002,45.0000,1413.962", "66281001,101,90.0000,10.000"},
       false,
       {"66281001       66281002       JOIN ACCEPTABLE"},
       nullptr},
      {"acceptable, full details",
       {"66281001,66281002,45.0000,1413.962"},
       true,
       {"66281001       66281002       JOIN ACCEPTABLE",
        "Diff in bearing = 0.0 sec.   Allowable = 7.3 sec.",
        "Diff in distance = 0.000 m    Allowable = 0.050 m"},
       nullptr},
      // 1413.9617536 - 1413.862 m; Urban Areas allows atan(0.05 / 1413.96) = 7.29 seconds.
      {"not acceptable",
       {"66281001,66281002,45.0000,1413.862"},
       false,
       {"66281001       66281002       *** JOIN NOT ACCEPTABLE ***",
        "Diff in bearing = 0.0 sec.   Allowable = 7.3 sec.",
        "Diff in distance = 0.100 m    Allowable = 0.050 m"},
       "***** 1 JOIN WAS NOT ACCEPTABLE *****"},
      {"mark missing from the list",
       {"66281001,66289999,10.0000,100.000"},
       true,
       {"66281001       66289999       MGA Coordinates not available"},
       nullptr},
      {"order above Compare up to Order",
       {"66281001,66281003,0.0000,1000.000"},
       true,
       {"66281001       66281003       Scaled Coordinates found"},
       nullptr},
      // No usable line reaches 6628/1002: its only line has no bearing (999).
      {"plan point unsolved",
       {"66281001,101,90.0000,10.000", "101,66281002,999,0"},
       true,
       {"66281001       66281002       Plan coordinates not available"},
       nullptr},
      {"three joins not acceptable",
       kThreeFailingJoins,
       false,
       {},
       "***** 3 JOINS WERE NOT ACCEPTABLE *****"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWithMarks();
    const std::string plan = WritePlan("plan", c.plan);
    Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
    Find<QCheckBox>("chkFullDetails")->setChecked(c.fullDetails);
    Compare();

    const Lines shown = ShownLines();
    if (c.joins.empty()) {
      EXPECT_EQ(std::count(shown.begin(), shown.end(),
                           "66281001       66281002       *** JOIN NOT ACCEPTABLE ***"),
                1);
      EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                              [](const std::string& line) {
                                return line.ends_with("*** JOIN NOT ACCEPTABLE ***");
                              }),
                3);
    } else {
      EXPECT_EQ(shown, Joined(Heading(plan), c.joins));
    }
    EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "100.000");
    EXPECT_TRUE(Results().isVisible());
    if (c.message == nullptr) {
      EXPECT_TRUE(m_dialogs.Messages.empty());
    } else {
      ASSERT_EQ(m_dialogs.Messages.size(), 1u);
      EXPECT_EQ(m_dialogs.Messages[0].Text, c.message);
      EXPECT_EQ(m_dialogs.Messages[0].Title, "Join Comparison");
      EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
    }
    m_dialogs.Messages.clear();
  }
}

TEST_F(CompareTest, BearingDatumLinesReadTheWindowsControls) {
  StartWithMarks();
  const std::string plan = WritePlan("plan", {"66281001,66281002,45.0000,1413.962"});
  Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  Find<QLineEdit>("txtDatum1")->setText("6628/1001");
  Find<QLineEdit>("txtDatum2")->setText("6628/1002");
  Compare();
  EXPECT_EQ(ShownLines(),
            Lines({"Comparison of PSM joins for " + plan, "",
                   "BEARING DATUM                  Bearing         Distance",
                   "6628/1001 to 6628/1002        45.0000        1413.962",
                   "Average Height = 100.000 m AHD", "Combined Scale Factor = 1.00017809", " ",
                   "From            To", " ", "66281001       66281002       JOIN ACCEPTABLE"}));
}

TEST_F(CompareTest, ATypedLnsNameLeavesThePlanIdentifier) {
  for (const char* typed : {"plan.lns", "plan.LNS", "plan"}) {
    SCOPED_TRACE(typed);
    StartWithMarks();
    const std::string plan = WritePlan("plan", {"66281001,66281002,45.0000,1413.962"});
    Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(PathIn(typed)));
    Compare();
    EXPECT_EQ(Find<QLineEdit>("txtPlan")->text().toStdString(), plan);
    EXPECT_EQ(ShownLines(),
              Joined(Heading(plan), {"66281001       66281002       JOIN ACCEPTABLE"}));
    EXPECT_TRUE(m_dialogs.Messages.empty());
  }
}

TEST_F(CompareTest, WithoutAPlanIdentifierTheDialogAsksForTheLinesFile) {
  const struct {
    const char* what;
    std::string answer;
    std::string txtPlan;  // after the command
    bool compared;
  } cases[] = {
      {"a lines file chosen", PathIn("plan.lns"), PathIn("plan"), true},
      // Taken whole as the plan identifier: plan.lns is read, txtPlan stays empty and the heading
      // names what txtPlan holds; the curve is still taken from plan.cve, the file of the plan
      // whose lines were read.
      {"a name without .lns", PathIn("plan"), "", true},
      {"cancelled", "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWithMarks();
    // One curve, whose chord the curve file gives as the straight join.
    WritePlan("plan", {"66281001,66281002,1500.0000,1500.000"});
    WriteFile("plan.cve", {"66281001,66281002,R,45.0000,1413.962"});
    m_dialogs.Prompts.clear();
    m_dialogs.Answer(c.answer);
    Compare();
    ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
    EXPECT_FALSE(m_dialogs.Prompts[0].Save);
    EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open KESTRAL file");
    EXPECT_EQ(m_dialogs.Prompts[0].InitialName, "");
    EXPECT_EQ(m_dialogs.Prompts[0].Filter, "KESTRAL Lines files (*.LNS)|*.lns");
    EXPECT_EQ(Find<QLineEdit>("txtPlan")->text().toStdString(), c.txtPlan);
    EXPECT_TRUE(m_dialogs.Messages.empty());
    EXPECT_EQ(Results().isVisible(), c.compared);
    if (c.compared) {
      EXPECT_EQ(ShownLines(),
                Joined(Heading(c.txtPlan), {"66281001       66281002       JOIN ACCEPTABLE"}));
    }
  }
}

TEST_F(CompareTest, AMissingOrEmptyLinesFileEndsTheCommandWithItsMessages) {
  const std::string noLines = "No lines found in KESTRAL file";
  const struct {
    const char* what;
    bool writeEmptyFile;
    Lines texts;
    Lines titles;
  } cases[] = {
      {"missing",
       false,
       {"Cannot find plan file " + PathIn("plan"), noLines},
       {"Read KESTRAL file error", "Valid KESTRAL file error"}},
      {"empty", true, {noLines}, {"Valid KESTRAL file error"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartWithMarks();
    if (c.writeEmptyFile) WritePlan("plan", {});
    Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(PathIn("plan")));
    Compare();
    ASSERT_EQ(m_dialogs.Messages.size(), c.texts.size());
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(m_dialogs.Messages[i].Text, c.texts[i]);
      EXPECT_EQ(m_dialogs.Messages[i].Title, c.titles[i]);
      EXPECT_EQ(m_dialogs.Messages[i].Icon, MessageIcon::Exclamation);
    }
    EXPECT_FALSE(Results().isVisible());
    EXPECT_TRUE(ShownLines().empty());
    m_dialogs.Messages.clear();
  }
}

TEST_F(CompareTest, FewerThanTwoMarksEndTheCommandSilently) {
  // No prompt comes (none is answered), no message, no results window.
  Start();
  Compare();
  Start(WriteFile("one.dmp", {MarkDetailsLine("6628", "1001", "280000", "6130000", "10")}));
  Find<QLineEdit>("txtAvHeight")->setText("7");
  Compare();
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "10.000");  // refreshed before the check
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_FALSE(Results().isVisible());

  // A second row, even an empty one, lets the command go on to ask for the plan.
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  m_dialogs.Answer("");
  Compare();
  EXPECT_EQ(m_dialogs.Prompts.size(), 1u);
}

TEST_F(CompareTest, AnUnknownCriterionIsRefusedBeforeAnythingElse) {
  StartWithMarks();
  Find<QLineEdit>("txtAvHeight")->setText("5");
  Find<QComboBox>("cboAccuracyType")->setCurrentText("urban areas");
  Compare();  // txtPlan is empty: a prompt would fail the test
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Unknown accuracy criterion: urban areas");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Join Comparison");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "5");
  EXPECT_FALSE(Results().isVisible());
}

TEST_F(CompareTest, AFailureInsideTheComparisonIsNamedAndTheWindowStaysUsable) {
  StartWithMarks();
  const std::string plan = WritePlan("plan", {"66281001,66281002,45.0000,1413.962"});
  Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  Find<QLineEdit>("txtDatum1")->setText("9999/999999");  // key 9999999999: beyond 32 bits
  Find<QLineEdit>("txtDatum2")->setText("6628/1002");
  Compare();
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "PSM number too large for a key: 9999/999999");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Join Comparison");
  EXPECT_EQ(Results().cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(m_window->Comparing());

  Find<QLineEdit>("txtDatum1")->setText("6628/1001");
  QTest::mouseClick(Find<QRadioButton>("optNone"), Qt::LeftButton);
  Compare();
  EXPECT_EQ(ShownLines(), Joined(Heading(plan), {"66281001       66281002       JOIN ACCEPTABLE"}));
}

// ---- While a comparison runs ----

// The commands that wait while a comparison runs, and Exit, which does not.
const char* const kWaitingActions[] = {
    "mnuFileOpen",   "mnuFileImport",    "mnuOptionsComparePSM", "mnuOptionsCalculateAMG",
    "Toolbar1_Open", "Toolbar1_Compare", "Toolbar1_CalcJoins"};
const char* const kWaitingButtons[] = {"cmdAdd", "cmdInsert", "cmdDelete", "cmdClear"};

class RunningCompareTest : public CompareTest {
 protected:
  // Starts the marks and the three failing joins, with a turn of the event loop after every pair.
  std::string Prepare() {
    StartWithMarks();
    m_window->PendingTurns().SetInterval(std::chrono::milliseconds(0));
    const std::string plan = WritePlan("plan", kThreeFailingJoins);
    Find<QLineEdit>("txtPlan")->setText(QString::fromStdString(plan));
    return plan;
  }

  QPushButton* ImportOk() { return FindIn<QPushButton>(m_window->ImportWindow(), "cmdOK"); }

  // Runs the comparison with duringFirstTurn called in its first turn of the event loop.
  void CompareWith(std::function<void()> duringFirstTurn) {
    bool called = false;
    QTimer::singleShot(0, m_window.get(), [&] {
      called = true;
      duringFirstTurn();
    });
    Compare();
    EXPECT_TRUE(called);
  }
};

TEST_F(RunningCompareTest, CommandsThatChangeTheListWaitAndTheListFillsAsItGoes) {
  const std::string plan = Prepare();
  std::vector<std::string> enabledDuring;
  Lines shownDuring;
  Qt::CursorShape pointerDuring = Qt::ArrowCursor;
  bool editorOpened = true;
  CompareWith([&] {
    for (const char* name : kWaitingActions) {
      if (Find<QAction>(name)->isEnabled()) enabledDuring.push_back(name);
    }
    for (const char* name : kWaitingButtons) {
      if (Find<QPushButton>(name)->isEnabled()) enabledDuring.push_back(name);
    }
    if (FindInResults<QPushButton>("cmdPrint")->isEnabled()) enabledDuring.push_back("cmdPrint");
    if (ImportOk()->isEnabled()) enabledDuring.push_back("import cmdOK");
    EXPECT_TRUE(Find<QAction>("mnuExit")->isEnabled());
    EXPECT_TRUE(Find<QAction>("Toolbar1_Exit")->isEnabled());
    shownDuring = ShownLines();
    pointerDuring = Results().cursor().shape();
    // Typing over a mark's cell opens no editor.
    ClickCell(1, 0);
    QTest::keyClicks(Grid(), "9");
    editorOpened = Editor()->isVisible();
  });
  EXPECT_EQ(enabledDuring, std::vector<std::string>());
  EXPECT_EQ(pointerDuring, Qt::WaitCursor);
  EXPECT_FALSE(editorOpened);
  // The first pair's lines were shown at the first turn.
  EXPECT_EQ(shownDuring,
            Joined(Heading(plan), {"66281001       66281002       *** JOIN NOT ACCEPTABLE ***",
                                   "Diff in bearing = 0.0 sec.   Allowable = 7.3 sec.",
                                   "Diff in distance = 113.962 m    Allowable = 0.050 m"}));

  // Everything is back once the comparison has ended.
  EXPECT_EQ(Results().cursor().shape(), Qt::ArrowCursor);
  for (const char* name : kWaitingActions) EXPECT_TRUE(Find<QAction>(name)->isEnabled()) << name;
  for (const char* name : kWaitingButtons) {
    EXPECT_TRUE(Find<QPushButton>(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(FindInResults<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_TRUE(ImportOk()->isEnabled());
  EXPECT_EQ(ShownLines().size(), Heading(plan).size() + 9);
}

TEST_F(RunningCompareTest, ClosingTheMainWindowEndsTheComparisonAtOnce) {
  const std::string plan = Prepare();
  CompareWith([&] { m_window->close(); });
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_FALSE(Results().isVisible());
  EXPECT_FALSE(m_window->Comparing());
  // Nothing after the first pair: no further join, no closing message.
  EXPECT_EQ(ShownLines().size(), Heading(plan).size() + 3);
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

// ---- The turns of the event loop ----

TEST(EventLoopTurnsTest, TurnsComeWhenTheIntervalHasPassed) {
  using std::chrono::milliseconds;
  std::chrono::steady_clock::time_point now;
  EventLoopTurns turns([&] { return now; });
  int count = 0;
  turns.SetBeforeTurn([&] { ++count; });
  turns.Start();
  const struct {
    int at;  // milliseconds after the start
    int turns;
  } calls[] = {{0, 0}, {49, 0}, {50, 1}, {60, 1}, {99, 1}, {100, 2}, {400, 3}, {420, 3}};
  for (const auto& call : calls) {
    now = std::chrono::steady_clock::time_point(milliseconds(call.at));
    turns.Process();
    EXPECT_EQ(count, call.turns) << call.at << " ms";
  }

  turns.Abandon();
  now += milliseconds(10);
  EXPECT_NO_THROW(turns.Process());  // no turn, so nothing could have ended
  now += milliseconds(50);
  EXPECT_THROW(turns.Process(), CommandAbandoned);
}
