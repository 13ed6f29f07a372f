// The join calculation window: the Calculate Joins command, picking marks, the ellipsoid choice,
// Clear, Close, Print and its preview.
#include <QRadioButton>

#include "GuiTestSupport.h"
#include "common/NumberFormat.h"
#include "compare/JoinJudgement.h"
#include "geodesy/MarkIndex.h"
#include "marks/ui/MarkTableModel.h"

using modKestralMGA::DistanceCalculationMode;
using modKestralMGA::MarkRow;

namespace {

// A mark row: PSM No., East, North, Height; order 1.
MarkRow Mark(std::string psm, std::string east, std::string north, std::string height = "100") {
  return {std::move(psm),
          std::move(east),
          std::move(north),
          std::move(height),
          "1",
          "54",
          "GDA2020",
          "OK"};
}

// The worked example: two marks 1 km apart diagonally, order 1, average height 100 m; its rows by
// ellipsoid choice. MGA94/2020: csf 1.00017809 and 1413.962 m at ground (worked example of the
// combined scale factor). AMG84: csf 1.0001780832 (the same series on the Australian National
// Spheroid, evaluated independently). Plane: the grid line.
const MarkRow kMark1 = Mark("6628/1001", "280000", "6130000");
const MarkRow kMark2 = Mark("6628/1002", "281000", "6131000");
const MarkRow kMark3 = Mark("6628/1003", "281000", "6130000");
const std::string kMgaRow = "\n66281001 66281002 45.0000 1413.962 1.00017809";
const std::string kAmgRow = "\n66281001 66281002 45.0000 1413.962 1.00017808";
const std::string kPlaneRow = "\n66281001 66281002 45.0000 1414.214 1.00000000";

class JoinsWindowTest : public MainWindowTest {
 protected:
  frmMGAJoins& Joins() { return m_window->JoinsWindow(); }
  template <typename Widget>
  Widget* InJoins(const char* name) {
    return FindIn<Widget>(Joins(), name);
  }
  void SetMarks(const std::vector<MarkRow>& rows) {
    m_window->MarkModel().Reset([&](modKestralMGA::MarkList& list) {
      list.Clear();
      for (const MarkRow& row : rows) list.AppendRow(row);
    });
  }
  // Starts the main window with rows in the list and runs Calculate Joins.
  frmMGAJoins& Open(const std::vector<MarkRow>& rows) {
    Start();
    SetMarks(rows);
    Trigger("mnuOptionsCalculateAMG");
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Joins()));
    return Joins();
  }
  QListView* List() { return InJoins<QListView>("lstMarks"); }
  // Clicks the list entries in rows (from 0) in turn, as the user picks marks.
  void Pick(std::initializer_list<int> rows) {
    for (const int row : rows) {
      const QModelIndex entry = List()->model()->index(row, 0);
      List()->scrollTo(entry);
      QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(entry).center());
    }
  }
  void ClickIn(const char* name) { MainWindowTest::ClickIn(Joins(), name); }
  // The window as the user reads it: the listed numbers, the from-mark, then a line per grid row.
  std::string Seen() {
    std::string seen;
    for (int r = 0; r < List()->model()->rowCount(); ++r) {
      seen += List()->model()->index(r, 0).data().toString().toStdString() + ",";
    }
    seen += " from " + InJoins<QLineEdit>("txtPSM")->text().toStdString();
    const QAbstractItemModel* grid = InJoins<QTableView>("Grid1")->model();
    for (int r = 0; r < grid->rowCount(); ++r) {
      for (int c = 0; c < 5; ++c) {
        seen += c == 0 ? '\n' : ' ';
        seen += grid->index(r, c).data().toString().toStdString();
      }
    }
    EXPECT_EQ(Joins().GridRows(), grid->rowCount() + 1);  // and the title row
    return seen;
  }
};

TEST_F(JoinsWindowTest, ColumnsAndControlsKeepTheirDesignedPlaces) {
  frmMGAJoins& joins = Open({kMark1, kMark2});
  // Each column is its run of letters x in the main window's font plus the same cell margin,
  // and every column fits beside the grid's scroll bar.
  QTableView* grid = InJoins<QTableView>("Grid1");
  const QFontMetrics metrics(m_window->font());
  const int letters[] = {13, 13, 15, 15, 18};
  const int chrome = grid->columnWidth(0) - metrics.horizontalAdvance(QString(13, 'x'));
  EXPECT_TRUE(chrome >= 0 && chrome < 16) << chrome;
  int total = 0;
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(grid->columnWidth(c), metrics.horizontalAdvance(QString(letters[c], 'x')) + chrome)
        << c;
    total += grid->columnWidth(c);
  }
  EXPECT_GE(grid->width(), total + 2 * grid->frameWidth());

  // List, frame and buttons from left to right; the grid below them, the from-mark below it.
  ExpectLayout(
      joins,
      {"Option3 [ Frame1", "Option1 [ Frame1", "Option2 [ Frame1", "lstMarks < Frame1",
       "Frame1 < cmdClose", "cmdClose ^ cmdPrint", "cmdPrint ^ cmdClear", "Frame1 ^ Grid1"},
      {"Label1", "lstMarks", "Frame1", "cmdClose", "cmdPrint", "cmdClear", "Grid1", "txtPSM"});
  // A larger window gives the room to the grid.
  auto area = [&](const char* name) { return InJoins<QWidget>(name)->geometry(); };
  const QRect before = area("Grid1");
  joins.resize(joins.width() + 100, joins.height() + 80);
  EXPECT_TRUE(QTest::qWaitFor([&] { return area("Grid1").width() == before.width() + 100; }));
  EXPECT_EQ(area("Grid1").height(), before.height() + 80);
  ExpectLayout(joins, {"Grid1 ^ txtPSM"}, {"txtPSM"});
}

// ---- The Calculate Joins command ----

TEST_F(JoinsWindowTest, OneRowIsRefusedAfterWritingTheAverageHeight) {
  Start();
  SetMarks({Mark("6628/1001", "280000", "6130000", "12.3456")});
  SetBox("txtAvHeight", "999");
  Trigger("mnuOptionsCalculateAMG");
  EXPECT_EQ(Box("txtAvHeight")->text(), "12.346");
  EXPECT_EQ(
      m_dialogs.Messages,
      Msgs({{"Not enough coordinates in list", "MGA Joins error", MessageIcon::Exclamation}}));
  EXPECT_FALSE(Joins().isVisible());
}

TEST_F(JoinsWindowTest, OpeningListsTheCompleteRowsAndStartsAfresh) {
  frmMGAJoins& joins =
      Open({kMark1, Mark("6628/1002", "281000", "", "50"), Mark("", "1", "2"),
            Mark("6628/1004", "282000", "6132000", ""), Mark("6628/\xE9", "1", "1")});
  EXPECT_TRUE(joins.isVisible());
  EXPECT_TRUE(m_window->isVisible());  // modeless: the main window stays usable
  EXPECT_TRUE(m_dialogs.Messages.empty());
  // Windows-1252 bytes in the list, Unicode on the screen; (100 + 50 + 100 + 100) / 4.
  EXPECT_EQ(Seen(), "6628/1001,6628/1004,6628/\u00e9, from ");
  EXPECT_EQ(Box("txtAvHeight")->text(), "87.500");
  // The menu item and the toolbar button both open it afresh and hide the cell editor.
  Pick({0, 1});
  m_window->activateWindow();
  ClickCell(1, 1);
  QTest::keyClicks(Grid(), "7");
  ASSERT_TRUE(Editor()->isVisible());
  SetMarks({kMark2, kMark3});
  Trigger("mnuOptionsCalculateAMG");
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(Seen(), "6628/1002,6628/1003, from ");
  Pick({0, 1});
  Trigger("Toolbar1_CalcJoins");
  EXPECT_EQ(Seen(), "6628/1002,6628/1003, from ");
}

// ---- Picking ----

// The first pick only sets the from-mark; each later one adds a row by the choice of the moment.
TEST_F(JoinsWindowTest, EachPickAddsTheRowOfTheChosenEllipsoid) {
  Open({kMark1, kMark2});
  const std::tuple<const char*, DistanceCalculationMode, std::string> cases[] = {
      {"Option2", DistanceCalculationMode::Plane, kPlaneRow},
      {"Option1", DistanceCalculationMode::AMG84, kAmgRow},
      {"Option3", DistanceCalculationMode::MGA94_2020, kMgaRow}};
  for (const auto& [option, mode, row] : cases) {
    ClickIn(option);
    EXPECT_EQ(m_window->CalculationMode(), mode) << option;
    ClickIn("cmdClear");
    Pick({0});
    EXPECT_EQ(Seen(), "6628/1001,6628/1002, from 6628/1001");
    Pick({1});
    EXPECT_EQ(Seen(), "6628/1001,6628/1002, from 6628/1002" + row);
  }
  QTest::keyClick(List(), Qt::Key_Up);  // the keyboard picks too
  EXPECT_EQ(Seen(), "6628/1001,6628/1002, from 6628/1001" + kMgaRow +
                        "\n66281002 66281001 225.0000 1413.962 1.00017809");
}

TEST_F(JoinsWindowTest, EditsInTheMainWindowTakeEffectAtTheNextPick) {
  Open({kMark1, kMark2});
  Pick({0});
  SetBox("txtAvHeight", "0");
  m_window->MarkModel().SetCell(1, 1, "282000");
  Pick({1});
  // (280000, 6130000) to (282000, 6131000) at height 0: bearing 63 26 05.8, 2236.068 m of grid at
  // csf 1.00019109 (the series evaluated independently).
  EXPECT_EQ(Seen(),
            "6628/1001,6628/1002, from 6628/1002\n66281001 66281002 63.2606 2235.641 1.00019109");
}

TEST_F(JoinsWindowTest, APickThatFailsShowsTheKeyErrorAndTheWindowStaysUsable) {
  Open({kMark1, Mark("9999/999999", "281000", "6131000"), kMark2});
  Pick({0, 1});
  EXPECT_EQ(m_dialogs.Messages, Msgs({{"PSM number too large for a key: 9999/999999",
                                       "MGA Joins error", MessageIcon::Exclamation}}));
  EXPECT_EQ(Seen(), "6628/1001,9999/999999,6628/1002, from 6628/1001");
  Pick({2});
  EXPECT_EQ(Seen(), "6628/1001,9999/999999,6628/1002, from 6628/1002" + kMgaRow);
}

// ---- Clear, Close and the program-wide choice ----

TEST_F(JoinsWindowTest, ClearAndCloseKeepTheListAndTheChoice) {
  frmMGAJoins& joins = Open({kMark1, kMark2});
  ClickIn("Option1");
  Pick({0, 1});
  ClickIn("cmdClear");  // the next pick is a first pick again
  EXPECT_EQ(Seen(), "6628/1001,6628/1002, from ");
  Pick({1, 0});
  ClickIn("cmdClose");  // hidden, the window keeps its rows
  EXPECT_FALSE(joins.isVisible());
  EXPECT_EQ(joins.GridRows(), 2);
  Trigger("mnuOptionsCalculateAMG");
  EXPECT_TRUE(joins.isVisible());
  EXPECT_TRUE(InJoins<QRadioButton>("Option1")->isChecked());
  EXPECT_EQ(Seen(), "6628/1001,6628/1002, from ");
}

TEST_F(JoinsWindowTest, TheChoiceIsProgramWideAndReachesTheComparison) {
  Open({kMark1, kMark2});
  // A comparison judges the join with the main window's live settings, as Compare does.
  modKestralMGA::MarkIndex index(m_window->Marks());
  modKestralMGA::JoinContext context{index, *m_window};
  auto comparedCsf = [&] {
    const double csf =
        modKestralMGA::JudgeJoin({66281001, 0.0, 0.0, 1}, {66281002, 1000.0, 1000.0, 1}, context,
                                 "Urban Areas")
            .Csf;
    return modKestralMGA::FormatNumber(csf, modKestralMGA::kFormatScaleFactor);
  };
  EXPECT_EQ(comparedCsf(), "1.00017809");
  Pick({0, 1});
  ClickIn("Option1");
  EXPECT_EQ(comparedCsf(), "1.00017808");
  Pick({0});  // the row already in the grid stays; the next one is on the ANS
  EXPECT_EQ(Seen(), "6628/1001,6628/1002, from 6628/1001" + kMgaRow +
                        "\n66281002 66281001 225.0000 1413.962 1.00017808");
  ClickIn("Option2");
  EXPECT_EQ(comparedCsf(), "1.00017809");  // Plane computes the comparison on GRS80 again
  // The options show the choice set from elsewhere.
  const std::pair<DistanceCalculationMode, const char*> modes[] = {
      {DistanceCalculationMode::AMG84, "Option1"},
      {DistanceCalculationMode::MGA94_2020, "Option3"},
      {DistanceCalculationMode::Plane, "Option2"}};
  for (const auto& [mode, option] : modes) {
    m_window->SetCalculationMode(mode);
    EXPECT_TRUE(InJoins<QRadioButton>(option)->isChecked()) << option;
  }
}

// ---- Print and preview ----

TEST_F(JoinsWindowTest, PrintSendsTheHeaderAndEveryRowAndThePreviewTheSame) {
  Open({kMark1, kMark2, kMark3});
  Pick({0, 1, 2});
  // 6628/1002 to 6628/1003: due south, 1000 m of grid at csf 1.000175, 999.8246 m at ground (the
  // series evaluated independently).
  ExpectPrintAndPreview(
      [&] { ClickIn("cmdPrint"); }, [&] { ClickIn("cmdPreview"); },
      {"From          To             Bearing        Distance       Combined S. F.",
       "66281001      66281002       45.0000        1413.962       1.00017809",
       "66281002      66281003       180.0000       999.825        1.00017538"},
      {"Print completed", "Join Calculation", MessageIcon::Exclamation});
  EXPECT_TRUE(InJoins<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_EQ(Joins().cursor().shape(), Qt::ArrowCursor);  // the hourglass is gone
}

TEST_F(JoinsWindowTest, ACancelledOrFailedPrintLeavesTheWindowUsable) {
  Open({kMark1, kMark2});
  Pick({0, 1});
  ExpectPrintCancelAndFailure(
      Joins(), [&] { ClickIn("cmdPrint"); }, "Join Calculation");
  EXPECT_EQ(Seen(), "6628/1001,6628/1002, from 6628/1002" + kMgaRow);
}

}  // namespace
