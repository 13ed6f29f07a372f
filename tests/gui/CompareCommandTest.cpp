// The Compare command of the main window, end to end on small plans: the result lines and the
// closing message, the plan's name typed or chosen, the messages that end the command early, and
// the window while a comparison runs.
#include <QCheckBox>
#include <QTimer>
#include <chrono>
#include <functional>

#include "GuiTestSupport.h"
#include "app/EventLoopTurns.h"
#include "marks/ui/frmImportText.h"

// 6628/1002 and 6628/1007 placed well short of their marks: all three joins fail.
const Lines kThreeFailingJoins = {"66281001,66281002,45.0000,1300.000",
                                  "66281001,66281007,0.0000,900.000"};
const std::string kNotAcceptable = "66281001       66281002       *** JOIN NOT ACCEPTABLE ***";

// The window's settings reach the comparison (the bearing datum from 2 PSM's, full details of
// every join), the lines fill the results list and the closing message counts the joins not
// acceptable (those with 6628/1007, placed 100 m short).
TEST_F(MainWindowTest, CompareShowsTheResultLinesAndTheClosingMessage) {
  StartWithMarks();
  const std::string plan =
      UsePlan("plan", {"66281001,66281002,45.0000,1413.962", "66281001,66281007,0.0000,900.000"});
  Click("optTwoPSMs");
  SetBox("txtDatum1", "6628/1001");
  SetBox("txtDatum2", "6628/1002");
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  Compare();
  std::string shown;
  for (const std::string& line : ShownLines()) shown += line + "\n";
  for (const Msg& m : m_dialogs.Messages)
    shown += m.Title + " (" + "CEI"[int(m.Icon)] + "): " + m.Text + "\n";
  EXPECT_EQ(shown.replace(shown.find(plan), plan.size(), "<plan>"), Golden("compare-results.txt"));
  EXPECT_EQ(Box("txtAvHeight")->text(), "100.000");
  EXPECT_TRUE(Results().isVisible());
}

// A typed name with or without ".lns" leaves the plan identifier; without one the dialog asks
// for the lines file. A chosen name without ".lns" is taken whole: plan.lns is read (its curve
// from plan.cve), txtPlan stays empty and the heading names what txtPlan holds.
TEST_F(MainWindowTest, ThePlanIsTypedOrChosen) {
  const struct {
    const char* typed;
    const char* answer;  // nullptr: no dialog; "": cancelled
    std::string txtPlan;
  } cases[] = {{"plan.LNS", nullptr, PathIn("plan")},
               {"plan", nullptr, PathIn("plan")},
               {"", "plan.lns", PathIn("plan")},
               {"", "plan", ""},
               {"", "", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " " + (c.answer ? c.answer : "-"));
    m_dialogs.Prompts.clear();
    StartWithMarks();
    WriteFile("plan.lns", {"66281001,66281002,1500.0000,1500.000"});  // one curve, its chord:
    WriteFile("plan.cve", {"66281001,66281002,R,45.0000,1413.962"});
    SetBox("txtPlan", QString::fromStdString(*c.typed ? PathIn(c.typed) : ""));
    if (c.answer) m_dialogs.Answer(*c.answer ? PathIn(c.answer) : "");
    Compare();
    const ScriptedDialogs::Prompt lines{false, "Open KESTRAL file", "",
                                        "KESTRAL Lines files (*.LNS)|*.lns", false};
    EXPECT_EQ(m_dialogs.Prompts,
              c.answer ? std::vector{lines} : std::vector<ScriptedDialogs::Prompt>{});
    EXPECT_EQ(Box("txtPlan")->text().toStdString(), c.txtPlan);
    EXPECT_TRUE(m_dialogs.Messages.empty());
    const bool compared = !c.answer || *c.answer;
    EXPECT_EQ(Results().isVisible(), compared);
    EXPECT_EQ(ShownLines(), compared ? Shown(c.txtPlan, {kAcceptable}) : Lines{});
  }
}

TEST_F(MainWindowTest, CompareEndsEarlyWithItsMessages) {
  const Msg criterion{"Unknown accuracy criterion: urban areas", "Join Comparison",
                      MessageIcon::Exclamation};
  const struct {
    const char* criterion;
    const char* heightAfter;  // typed 5; refreshed from the list unless the criterion is refused
    Msgs messages;
  } cases[] = {
      {"urban areas", "5", {criterion}},
      {"Urban Areas",
       "100.000",
       {{"Cannot find plan file " + PathIn("plan"), "Read KESTRAL file error",
         MessageIcon::Exclamation},
        {"No lines found in KESTRAL file", "Valid KESTRAL file error", MessageIcon::Exclamation}}},
  };
  for (const auto& c : cases) {
    m_dialogs.Messages.clear();
    StartWithMarks();
    SetBox("txtAvHeight", "5");
    SetBox("txtPlan", QString::fromStdString(PathIn("plan")));
    Find<QComboBox>("cboAccuracyType")->setCurrentText(c.criterion);
    Compare();
    EXPECT_EQ(m_dialogs.Messages, c.messages);
    EXPECT_EQ(Box("txtAvHeight")->text(), c.heightAfter);
    EXPECT_FALSE(Results().isVisible());
    EXPECT_TRUE(ShownLines().empty());
  }
  // Fewer than two rows end it silently, after the average height is refreshed; a second row,
  // even an empty one, lets it go on to ask for the plan.
  m_dialogs.Messages.clear();
  Start(WriteFile("one.dmp", {MarkTestLine("6628", "1001", "280000", "6130000", "10")}));
  SetBox("txtAvHeight", "7");
  Compare();
  EXPECT_EQ(Box("txtAvHeight")->text(), "10.000");
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_FALSE(Results().isVisible());
  Click("cmdAdd");
  m_dialogs.Answer("");
  Compare();
  EXPECT_EQ(m_dialogs.Prompts.size(), 1u);
}

TEST_F(MainWindowTest, AFailureInsideTheComparisonIsNamedAndTheWindowStaysUsable) {
  StartWithMarks();
  const std::string plan = UsePlan("plan", {"66281001,66281002,45.0000,1413.962"});
  Click("optTwoPSMs");
  SetBox("txtDatum1", "9999/999999");  // key 9999999999: beyond 32 bits
  SetBox("txtDatum2", "6628/1002");
  Compare();
  EXPECT_EQ(m_dialogs.Messages, Msgs({{"PSM number too large for a key: 9999/999999",
                                       "Join Comparison", MessageIcon::Exclamation}}));
  EXPECT_EQ(Results().cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(m_window->Comparing());
  Click("optNone");
  Compare();
  EXPECT_EQ(ShownLines(), Shown(plan, {kAcceptable}));
}

// ---- While a comparison runs: the three failing joins, an event loop turn after every pair ----

class RunningCompareTest : public MainWindowTest {
 protected:
  std::string Prepare() {
    StartWithMarks();
    m_window->PendingTurns().SetInterval(std::chrono::milliseconds(0));
    return UsePlan("plan", kThreeFailingJoins);
  }
  // Runs the comparison with duringFirstTurn called in its first turn of the event loop.
  void CompareWith(const std::function<void()>& duringFirstTurn) {
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
  // The commands that wait while a comparison runs (Exit does not).
  const char* actions[] = {
      "mnuFileOpen",   "mnuFileImport",    "mnuOptionsComparePSM", "mnuOptionsCalculateAMG",
      "Toolbar1_Open", "Toolbar1_Compare", "Toolbar1_CalcJoins",   "mnuExit",
      "Toolbar1_Exit"};
  QList<QWidget*> buttons = {
      Find<QPushButton>("cmdAdd"),        Find<QPushButton>("cmdInsert"),
      Find<QPushButton>("cmdDelete"),     Find<QPushButton>("cmdClear"),
      InResults<QPushButton>("cmdPrint"), FindIn<QPushButton>(m_window->ImportWindow(), "cmdOK")};
  auto enabled = [&] {
    std::string states;
    for (const char* name : actions) states += Find<QAction>(name)->isEnabled() ? '1' : '0';
    for (QWidget* button : buttons) states += button->isEnabled() ? '1' : '0';
    return states;
  };
  std::string enabledDuring;
  Lines shownDuring;
  Qt::CursorShape pointerDuring = Qt::ArrowCursor;
  bool editorOpened = true;
  CompareWith([&] {
    enabledDuring = enabled();
    shownDuring = ShownLines();
    pointerDuring = Results().cursor().shape();
    ClickCell(1, 0);
    QTest::keyClicks(Grid(), "9");  // typing over a mark's cell opens no editor
    editorOpened = Editor()->isVisible();
  });
  EXPECT_EQ(enabledDuring, "000000011000000");
  EXPECT_EQ(pointerDuring, Qt::WaitCursor);
  EXPECT_FALSE(editorOpened);
  // The first pair's lines were shown at the first turn.
  EXPECT_EQ(shownDuring,
            Shown(plan, {kNotAcceptable, "Diff in bearing = 0.0 sec.   Allowable = 7.3 sec.",
                         "Diff in distance = 113.962 m    Allowable = 0.050 m"}));
  // Everything is back once the comparison has ended.
  EXPECT_EQ(Results().cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(enabled(), "111111111111111");
  EXPECT_EQ(ShownLines().size(), shownDuring.size() + 6);
}

TEST_F(RunningCompareTest, ClosingTheResultsWindowHidesItAndTheListStillFills) {
  const std::string plan = Prepare();
  bool closed = false;
  CompareWith([&] {
    QTest::mouseClick(InResults<QPushButton>("cmdClose"), Qt::LeftButton);
    closed = !Results().isVisible();
  });
  EXPECT_TRUE(closed);
  EXPECT_FALSE(Results().isVisible());
  EXPECT_EQ(ShownLines().size(), Shown(plan, {}).size() + 9);  // three joins, three lines each
  EXPECT_EQ(m_dialogs.Messages, Msgs({{"***** 3 JOINS WERE NOT ACCEPTABLE *****", "Join Comparison",
                                       MessageIcon::Exclamation}}));
  Compare();  // the next comparison shows it again
  EXPECT_TRUE(Results().isVisible());
}

TEST_F(RunningCompareTest, ClosingTheMainWindowEndsTheComparisonAtOnce) {
  const std::string plan = Prepare();
  CompareWith([&] { m_window->close(); });
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_FALSE(Results().isVisible());
  EXPECT_FALSE(m_window->Comparing());
  // Nothing after the first pair: no further join, no closing message.
  EXPECT_EQ(ShownLines().size(), Shown(plan, {}).size() + 3);
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST(EventLoopTurnsTest, TurnsComeWhenTheIntervalHasPassed) {
  using std::chrono::milliseconds;
  std::chrono::steady_clock::time_point now;
  EventLoopTurns turns([&] { return now; });
  int count = 0;
  turns.SetBeforeTurn([&] { ++count; });
  turns.Start();
  const std::pair<int, int> calls[] = {{0, 0},  {49, 0},  {50, 1},  {60, 1},
                                       {99, 1}, {100, 2}, {400, 3}, {420, 3}};  // ms, turns
  for (const auto& [at, expected] : calls) {
    now = std::chrono::steady_clock::time_point(milliseconds(at));
    turns.Process();
    EXPECT_EQ(count, expected) << at << " ms";
  }
  turns.Abandon();
  now += milliseconds(10);
  EXPECT_NO_THROW(turns.Process());  // no turn, so nothing could have ended
  now += milliseconds(50);
  EXPECT_THROW(turns.Process(), CommandAbandoned);
}
