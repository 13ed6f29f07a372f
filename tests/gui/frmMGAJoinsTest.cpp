// The join calculation window beyond its scenarios (tests/data/gui/joins.scn): the columns and
// the layout, the choice of ellipsoid reaching the comparison.
#include "GuiTestSupport.h"
#include "common/NumberFormat.h"
#include "compare/JoinJudgement.h"
#include "geodesy/MarkIndex.h"
#include "marks/ui/MarkTableModel.h"

namespace {

class JoinsWindowTest : public MainWindowTest {
 protected:
  frmMGAJoins& Joins() { return m_window->JoinsWindow(); }
  // Starts the main window with the marks (order 1, at 100 m) 6628/1001 at (280000, 6130000),
  // 6628/1002 at (281000, 6131000) and 6628/1003 at (281000, 6130000) and runs Calculate Joins.
  frmMGAJoins& Open() {
    Start();
    const char* at[][3] = {{"1001", "280000", "6130000"},
                           {"1002", "281000", "6131000"},
                           {"1003", "281000", "6130000"}};
    m_window->MarkModel().Reset([&](modKestralMGA::MarkList& list) {
      for (int i = 0; i < 3; ++i)
        list.AppendRow({"6628/" + std::string(at[i][0]), at[i][1], at[i][2], "100", "1"});
    });
    FindIn<QAction>(*m_window, "mnuOptionsCalculateAMG")->trigger();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Joins()));
    return Joins();
  }
};

TEST_F(JoinsWindowTest, ColumnsAndControlsKeepTheirDesignedPlaces) {
  frmMGAJoins& joins = Open();
  // Each column is its run of letters x, and every column fits beside the grid's scroll bar.
  QTableView* grid = FindIn<QTableView>(Joins(), "Grid1");
  ExpectColumns(*grid, {QString(13, 'x'), QString(13, 'x'), QString(15, 'x'), QString(15, 'x'),
                        QString(18, 'x')});
  int total = 0;
  for (int c = 0; c < 5; ++c) total += grid->columnWidth(c);
  EXPECT_GE(grid->width(), total + 2 * grid->frameWidth());

  // List, frame and buttons from left to right; the grid below them, the from-mark below it.
  ExpectLayout(
      joins,
      {"Option3 [ Frame1", "Option1 [ Frame1", "Option2 [ Frame1", "lstMarks < Frame1",
       "Frame1 < cmdClose", "cmdClose ^ cmdPrint", "cmdPrint ^ cmdClear", "Frame1 ^ Grid1"},
      {"Label1", "lstMarks", "Frame1", "cmdClose", "cmdPrint", "cmdClear", "Grid1", "txtPSM"});
  // A larger window gives the room to the grid.
  auto area = [&](const char* name) { return FindIn<QWidget>(Joins(), name)->geometry(); };
  const QRect before = area("Grid1");
  joins.resize(joins.width() + 100, joins.height() + 80);
  EXPECT_TRUE(QTest::qWaitFor([&] { return area("Grid1").width() == before.width() + 100; }));
  EXPECT_EQ(area("Grid1").height(), before.height() + 80);
  ExpectLayout(joins, {"Grid1 ^ txtPSM"}, {"txtPSM"});
}

// A comparison judges a join with the main window's live settings, as Compare does: the choice
// made in the join window reaches it; Plane computes the comparison on GRS80 again. (The worked
// example: csf 1.00017809 on GRS80, 1.00017808 on the Australian National Spheroid.)
TEST_F(JoinsWindowTest, TheChoiceIsProgramWideAndReachesTheComparison) {
  Open();
  modKestralMGA::MarkIndex index(m_window->Marks());
  modKestralMGA::JoinContext context{index, *m_window};
  std::string csfs;
  for (const char* option : {"Option3", "Option1", "Option2"}) {
    ClickIn(Joins(), option);
    const auto judged = modKestralMGA::JudgeJoin(
        {66281001, 0.0, 0.0, 1}, {66281002, 1000.0, 1000.0, 1}, context, "Urban Areas");
    csfs += modKestralMGA::FormatNumber(judged.Csf, modKestralMGA::kFormatScaleFactor) + " ";
  }
  EXPECT_EQ(csfs, "1.00017809 1.00017808 1.00017809 ");
}

}  // namespace
