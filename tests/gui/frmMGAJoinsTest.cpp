// The join calculation window beyond its scenarios (tests/data/gui/joins.scn): the columns and
// the layout.
#include "GuiTestSupport.h"
#include "marks/ui/MarkTableModel.h"

namespace {

TEST_F(MainWindowTest, JoinsWindowColumnsAndControlsKeepTheirDesignedPlaces) {
  Start();
  m_window->MarkModel().Load([](modKestralMGA::MarkList& list) {
    list.AppendRow({"6628/1001", "280000", "6130000", "100", "1"});
    list.AppendRow({"6628/1002", "281000", "6131000", "100", "1"});
  });
  FindIn<QAction>(*m_window, "mnuOptionsCalculateAMG")->trigger();
  frmMGAJoins& joins = m_window->JoinsWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&joins));
  // Each column is its run of letters x, and every column fits beside the grid's scroll bar.
  QTableView* grid = FindIn<QTableView>(joins, "Grid1");
  ExpectColumns(*grid, {QString(13, 'x'), QString(13, 'x'), QString(15, 'x'), QString(15, 'x'),
                        QString(18, 'x')});
  EXPECT_GE(grid->width(), grid->horizontalHeader()->length() + 2 * grid->frameWidth());

  // List, frame and buttons from left to right; the grid below them, the from-mark below it.
  ExpectLayout(
      joins,
      {"Option3 [ Frame1", "Option1 [ Frame1", "Option2 [ Frame1", "lstMarks < Frame1",
       "Frame1 < cmdClose", "cmdClose ^ cmdPrint", "cmdPrint ^ cmdClear", "Frame1 ^ Grid1"},
      {"Label1", "lstMarks", "Frame1", "cmdClose", "cmdPrint", "cmdClear", "Grid1", "txtPSM"});
  // A larger window gives the room to the grid.
  auto area = [&](const char* name) { return FindIn<QWidget>(joins, name)->geometry(); };
  const QRect before = area("Grid1");
  joins.resize(joins.width() + 100, joins.height() + 80);
  EXPECT_TRUE(QTest::qWaitFor([&] { return area("Grid1").width() == before.width() + 100; }));
  EXPECT_EQ(area("Grid1").height(), before.height() + 80);
  ExpectLayout(joins, {"Grid1 ^ txtPSM"}, {"txtPSM"});
}

}  // namespace
