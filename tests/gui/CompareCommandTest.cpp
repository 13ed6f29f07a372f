// The main window while a comparison runs (the Compare command's scenarios are in
// tests/data/gui/compare.scn), and the event loop turns it takes.
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
  EXPECT_EQ(m_dialogs.Log,
            Lines{"message Join Comparison (E): ***** 3 JOINS WERE NOT ACCEPTABLE *****"});
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
  EXPECT_TRUE(m_dialogs.Log.empty());
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
