// The join calculation window: the Calculate Joins command, picking marks, the ellipsoid choice,
// Clear and Close.
#include <QAbstractItemModelTester>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

#include "GuiTestSupport.h"
#include "PdfText.h"
#include "common/ColumnWriter.h"
#include "common/NumberFormat.h"
#include "compare/JoinJudgement.h"
#include "geodesy/MarkIndex.h"
#include "joins/frmMGAJoins.h"
#include "marks/ui/MarkTableModel.h"

using modKestralMGA::DistanceCalculationMode;
using modKestralMGA::JoinListRow;
using modKestralMGA::MarkList;
using modKestralMGA::MarkRow;
using modKestralMGA::MessageIcon;

namespace {

// A mark row: PSM No., East, North, Height, Order.
MarkRow Mark(std::string psm, std::string east, std::string north, std::string height = "100",
             std::string order = "1") {
  return {std::move(psm),   std::move(east),
          std::move(north), std::move(height),
          std::move(order), "54",
          "GDA2020",        "OK"};
}

// The worked example: two marks 1 km apart diagonally, order 1, average height 100 m.
const MarkRow kMark1 = Mark("6628/1001", "280000", "6130000");
const MarkRow kMark2 = Mark("6628/1002", "281000", "6131000");
const MarkRow kMark3 = Mark("6628/1003", "281000", "6130000");

class JoinsWindowTest : public MainWindowTest {
 protected:
  frmMGAJoins& Joins() { return m_window->JoinsWindow(); }

  template <typename Widget>
  Widget* InJoins(const char* name) {
    return FindIn<Widget>(Joins(), name);
  }

  void SetMarks(const std::vector<MarkRow>& rows) {
    m_window->MarkModel().Reset([&](MarkList& list) {
      list.Clear();
      for (const MarkRow& row : rows) list.AppendRow(row);
    });
  }

  // Starts the main window with rows in the list and runs Calculate Joins.
  frmMGAJoins& Open(const std::vector<MarkRow>& rows) {
    Start();
    SetMarks(rows);
    m_window->mnuOptionsCalculateAMG_Click();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Joins()));
    return Joins();
  }

  QListView* List() { return InJoins<QListView>("lstMarks"); }
  QString FromMark() { return InJoins<QLineEdit>("txtPSM")->text(); }

  QStringList ListedNumbers() {
    QStringList numbers;
    for (int r = 0; r < List()->model()->rowCount(); ++r) {
      numbers << List()->model()->index(r, 0).data().toString();
    }
    return numbers;
  }

  // Clicks the list entry in row (from 0), as the user picks a mark.
  void Pick(int row) {
    const QModelIndex entry = List()->model()->index(row, 0);
    List()->scrollTo(entry);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(entry).center());
  }
  void PickAll(std::initializer_list<int> rows) {
    for (const int row : rows) Pick(row);
  }

  void Click(const char* name) {
    QTest::mouseClick(InJoins<QAbstractButton>(name), Qt::LeftButton);
  }

  std::vector<JoinListRow> Rows() { return Joins().JoinRows(); }

  // The lines of the join list as the printer back end draws them, read back from the PDF file
  // at path (lines without words do not appear).
  std::vector<std::string> PrintedLines(const std::string& path) {
    const auto pages = modKestralMGA::testsupport::PdfPageLines(
        modKestralMGA::testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, path));
    EXPECT_EQ(pages.size(), 1u) << path;
    return pages.empty() ? std::vector<std::string>{} : pages.front();
  }

  // The lines the join list gives through the column rule, as a text file would hold them.
  std::vector<std::string> ExpectedLines() {
    modKestralMGA::RecordingColumnWriter out;
    modKestralMGA::WriteJoinList(Rows(), out);
    std::vector<std::string> lines;
    for (std::string line : out.Lines()) {
      line.erase(line.find_last_not_of(' ') + 1);
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }
};

// The rows of the worked example, by ellipsoid choice. MGA94/2020: csf 1.00017809 and 1413.962 m
// at ground (worked example of the combined scale factor). AMG84: csf 1.0001780832 (the same
// series on the Australian National Spheroid, evaluated independently). Plane: the grid line.
const JoinListRow kMgaRow = {"66281001", "66281002", "45.0000", "1413.962", "1.00017809"};
const JoinListRow kAmgRow = {"66281001", "66281002", "45.0000", "1413.962", "1.00017808"};
const JoinListRow kPlaneRow = {"66281001", "66281002", "45.0000", "1414.214", "1.00000000"};

// ---- Layout ----

TEST_F(JoinsWindowTest, CreatedHiddenWithItsControlsAndTheirCaptions) {
  Start();
  frmMGAJoins& joins = Joins();
  EXPECT_FALSE(joins.isVisible());
  EXPECT_EQ(joins.windowTitle(), "Join Calculation form");
  EXPECT_EQ(InJoins<QLabel>("Label1")->text(), "Select PSM numbers from the List");
  EXPECT_EQ(InJoins<QGroupBox>("Frame1")->title(), "Distance Calculation");
  const std::vector<std::pair<const char*, const char*>> captions = {
      {"Option3", "MGA94/2020"}, {"Option1", "AMG84"},  {"Option2", "Plane"},
      {"cmdClose", "Close"},     {"cmdPrint", "Print"}, {"cmdClear", "Clear"}};
  for (const auto& [name, caption] : captions) {
    EXPECT_EQ(InJoins<QAbstractButton>(name)->text(), caption) << name;
  }
  for (const char* option : {"Option3", "Option1", "Option2"}) {
    EXPECT_EQ(InJoins<QRadioButton>(option)->parent(), InJoins<QGroupBox>("Frame1")) << option;
  }
  EXPECT_TRUE(InJoins<QRadioButton>("Option3")->isChecked());
  EXPECT_TRUE(FromMark().isEmpty());
  EXPECT_EQ(joins.GridRows(), 1);

  QTableView* grid = InJoins<QTableView>("Grid1");
  const QStringList headers = {"From", "To", "Bearing", "Distance", "Combined S. F."};
  ASSERT_EQ(grid->model()->columnCount(), 5);
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
  }
}

TEST_F(JoinsWindowTest, JoinColumnsAreRunsOfXInTheMainWindowsFont) {
  Start();
  QTableView* grid = InJoins<QTableView>("Grid1");
  const QFontMetrics metrics(m_window->font());
  const int letters[] = {13, 13, 15, 15, 18};
  // Each column is its run of letters plus the same few pixels of cell margin and grid line.
  const int chrome = grid->columnWidth(0) - metrics.horizontalAdvance(QString(13, 'x'));
  EXPECT_GE(chrome, 0);
  EXPECT_LT(chrome, 16);
  int total = 0;
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(grid->columnWidth(c), metrics.horizontalAdvance(QString(letters[c], 'x')) + chrome)
        << "column " << c;
    total += grid->columnWidth(c);
  }
  // Every column fits beside the grid's scroll bar.
  EXPECT_GE(grid->width(), total + 2 * grid->frameWidth());
}

TEST_F(JoinsWindowTest, ControlsKeepTheirDesignedOrderWithoutOverlapping) {
  Open({kMark1, kMark2});
  frmMGAJoins& joins = Joins();
  auto area = [&](const char* name) { return InJoins<QWidget>(name)->geometry(); };
  const char* topLevel[] = {"Label1",   "lstMarks", "Frame1", "cmdClose",
                            "cmdPrint", "cmdClear", "Grid1",  "txtPSM"};
  for (const char* a : topLevel) {
    EXPECT_TRUE(joins.rect().contains(area(a))) << a << " lies outside the window";
    for (const char* b : topLevel) {
      if (a != b) {
        EXPECT_FALSE(area(a).intersects(area(b))) << a << " overlaps " << b;
      }
    }
  }
  for (const char* option : {"Option3", "Option1", "Option2"}) {
    EXPECT_TRUE(InJoins<QWidget>("Frame1")->rect().contains(area(option))) << option;
  }
  // List, frame and buttons from left to right; the grid below them, the from-mark below it.
  EXPECT_LT(area("lstMarks").right(), area("Frame1").left());
  EXPECT_LT(area("Frame1").right(), area("cmdClose").left());
  EXPECT_LT(area("cmdClose").bottom(), area("cmdPrint").top());
  EXPECT_LT(area("cmdPrint").bottom(), area("cmdClear").top());
  EXPECT_LT(area("Frame1").bottom(), area("Grid1").top());
  EXPECT_LT(area("Grid1").bottom(), area("txtPSM").top());

  // A larger window gives the room to the grid.
  const QRect before = area("Grid1");
  joins.resize(joins.width() + 100, joins.height() + 80);
  EXPECT_TRUE(QTest::qWaitFor([&] { return area("Grid1").width() == before.width() + 100; }));
  EXPECT_EQ(area("Grid1").height(), before.height() + 80);
  EXPECT_LT(area("Grid1").bottom(), area("txtPSM").top());
  EXPECT_TRUE(joins.rect().contains(area("txtPSM")));
}

// ---- The Calculate Joins command ----

TEST_F(JoinsWindowTest, TooFewRowsRefuseAfterWritingTheAverageHeight) {
  struct Case {
    std::vector<MarkRow> rows;
    const char* height;
  };
  const Case cases[] = {{{}, "0.000"},
                        {{Mark("6628/1001", "280000", "6130000", "12.3456")}, "12.346"}};
  for (const Case& c : cases) {
    Start();
    SetMarks(c.rows);
    Find<QLineEdit>("txtAvHeight")->setText("999");
    m_window->mnuOptionsCalculateAMG_Click();
    EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), c.height);
    ASSERT_EQ(m_dialogs.Messages.size(), 1u);
    EXPECT_EQ(m_dialogs.Messages[0].Text, "Not enough coordinates in list");
    EXPECT_EQ(m_dialogs.Messages[0].Title, "MGA Joins error");
    EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
    EXPECT_FALSE(Joins().isVisible());
    m_dialogs.Messages.clear();
  }
}

TEST_F(JoinsWindowTest, OpensWithTheNumbersOfTheCompleteRowsOnly) {
  frmMGAJoins& joins =
      Open({kMark1, Mark("6628/1002", "281000", "", "50"), Mark("", "1", "2"),
            Mark("6628/1004", "282000", "6132000", ""), Mark("6628/\xE9", "1", "1")});
  EXPECT_TRUE(joins.isVisible());
  EXPECT_TRUE(m_window->isVisible());  // modeless: the main window stays usable
  EXPECT_TRUE(m_dialogs.Messages.empty());
  // Windows-1252 bytes in the list, Unicode on the screen.
  EXPECT_EQ(ListedNumbers(), QStringList({"6628/1001", "6628/1004", "6628/\u00e9"}));
  // The mean of the non-empty heights: (100 + 50 + 100 + 100) / 4.
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "87.500");
  EXPECT_TRUE(InJoins<QPushButton>("cmdPrint")->isEnabled());
}

TEST_F(JoinsWindowTest, OpeningHidesTheCellEditorAndEmptiesTheWindow) {
  frmMGAJoins& joins = Open({kMark1, kMark2, kMark3});
  PickAll({0, 1});
  ASSERT_EQ(joins.GridRows(), 2);

  // The menu item and the toolbar button both run the command; each opening starts afresh.
  m_window->activateWindow();
  ClickCell(1, 1);
  QTest::keyClicks(Grid(), "7");
  ASSERT_TRUE(Editor()->isVisible());
  SetMarks({kMark2, kMark3});
  m_window->findChild<QAction*>("mnuOptionsCalculateAMG")->trigger();
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(joins.GridRows(), 1);
  EXPECT_TRUE(FromMark().isEmpty());
  EXPECT_EQ(ListedNumbers(), QStringList({"6628/1002", "6628/1003"}));

  PickAll({0, 1});
  QToolBar* toolbar = Find<QToolBar>("Toolbar1");
  toolbar->actions()[4]->trigger();
  EXPECT_EQ(toolbar->actions()[4]->data().toString(), "CalcJoins");
  EXPECT_EQ(joins.GridRows(), 1);
}

TEST_F(JoinsWindowTest, TheListAndTheGridAreModelsThatBehave) {
  Open({kMark1, kMark2});
  // Every change of either model is checked as it happens; a broken one ends the run.
  QAbstractItemModelTester listTester(List()->model(),
                                      QAbstractItemModelTester::FailureReportingMode::Fatal);
  QAbstractItemModelTester gridTester(InJoins<QTableView>("Grid1")->model(),
                                      QAbstractItemModelTester::FailureReportingMode::Fatal);
  PickAll({0, 1, 0});
  EXPECT_EQ(Joins().GridRows(), 3);
  Click("cmdClear");
  EXPECT_EQ(Joins().GridRows(), 1);
  SetMarks({kMark1, kMark2, kMark3});
  m_window->mnuOptionsCalculateAMG_Click();
  EXPECT_EQ(ListedNumbers().size(), 3);
}

// ---- Picking ----

TEST_F(JoinsWindowTest, TheWorkedExampleOnEachEllipsoidChoice) {
  Open({kMark1, kMark2});
  struct Case {
    const char* option;
    DistanceCalculationMode mode;
    JoinListRow row;
  };
  const Case cases[] = {{"Option2", DistanceCalculationMode::Plane, kPlaneRow},
                        {"Option1", DistanceCalculationMode::AMG84, kAmgRow},
                        {"Option3", DistanceCalculationMode::MGA94_2020, kMgaRow}};
  for (const Case& c : cases) {
    Click(c.option);
    EXPECT_EQ(m_window->CalculationMode(), c.mode) << c.option;
    Click("cmdClear");
    PickAll({0, 1});
    ASSERT_EQ(Rows().size(), 1u) << c.option;
    EXPECT_EQ(Rows()[0], c.row) << c.option;
  }
}

TEST_F(JoinsWindowTest, TheFirstPickOnlySetsTheFromMarkAndEachLaterPickAddsARow) {
  Open({kMark1, kMark2, kMark3});
  Pick(0);
  EXPECT_EQ(FromMark(), "6628/1001");
  EXPECT_TRUE(Rows().empty());
  Pick(1);
  EXPECT_EQ(FromMark(), "6628/1002");
  Pick(2);
  EXPECT_EQ(FromMark(), "6628/1003");
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0], kMgaRow);
  // 6628/1002 to 6628/1003: due south, 1000 m of grid at csf 1.000175, 999.8246 m at ground (the
  // series evaluated independently).
  EXPECT_EQ(Rows()[1][0], "66281002");
  EXPECT_EQ(Rows()[1][1], "66281003");
  EXPECT_EQ(Rows()[1][2], "180.0000");
  EXPECT_EQ(Rows()[1][3], "999.825");
  EXPECT_EQ(Joins().GridRows(), 3);
  // The grid shows what the rows hold.
  QAbstractItemModel* grid = InJoins<QTableView>("Grid1")->model();
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(grid->index(1, c).data().toString().toStdString(), Rows()[1][std::size_t(c)]);
  }
}

TEST_F(JoinsWindowTest, TheKeyboardPicksToo) {
  Open({kMark1, kMark2, kMark3});
  Pick(0);
  QTest::keyClick(List(), Qt::Key_Down);
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], kMgaRow);
  QTest::keyClick(List(), Qt::Key_Up);
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[1][2], "225.0000");
}

TEST_F(JoinsWindowTest, AMarkAboveTheOrderLimitGivesThePlaneJoin) {
  Open({Mark("6628/1001", "280000", "6130000", "100", "3"),
        Mark("6628/1002", "281000", "6131000", "100", "6")});
  PickAll({0, 1});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], kPlaneRow);
  // Raising "Compare up to Order" takes effect at the next pick.
  Find<QLineEdit>("txtMaxOrder")->setText("6");
  Pick(0);
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[1][4], "1.00017809");
}

TEST_F(JoinsWindowTest, MarksThatCannotBeJoinedGiveRowsOfZeros) {
  Open({kMark1, Mark("6628/1002", "0", "6131000"), Mark("6628/1003", "abc", "6130000"),
        Mark("6628/1004", "282000", "6132000")});
  PickAll({0, 1, 2});
  // Deleted from the mark list after the window opened: the joins read the live list.
  m_window->MarkModel().RemoveRow(3);
  Pick(3);
  const std::vector<JoinListRow> expected = {
      {"66281001", "66281002", "0.0000", "0.000", "0.00000000"},
      {"66281002", "66281003", "0.0000", "0.000", "0.00000000"},
      {"66281003", "66281004", "0.0000", "0.000", "0.00000000"}};
  EXPECT_EQ(Rows(), expected);
  Click("Option2");
  Pick(0);
  EXPECT_EQ(Rows().back(), (JoinListRow{"66281004", "66281001", "0.0000", "0.000", "0.00000000"}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(JoinsWindowTest, TwoEntriesWithTheSameNumberGiveAZeroLine) {
  Open({kMark1, kMark1, kMark2});
  PickAll({0, 1});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0][0], "66281001");
  EXPECT_EQ(Rows()[0][1], "66281001");
  EXPECT_EQ(Rows()[0][2], "0.0000");
  EXPECT_EQ(Rows()[0][3], "0.000");
  EXPECT_EQ(Rows()[0][4], "1.00018079");  // the point scale factor at E 280000, h 100 m
}

TEST_F(JoinsWindowTest, AMarkListedWithoutItsSlashIsFound) {
  Open({kMark1, Mark("66281002", "281000", "6131000")});
  PickAll({0, 1});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], kMgaRow);
}

TEST_F(JoinsWindowTest, EditsInTheMainWindowTakeEffectAtTheNextPick) {
  Open({kMark1, kMark2});
  Pick(0);
  Find<QLineEdit>("txtAvHeight")->setText("0");
  m_window->MarkModel().SetCell(1, 1, "282000");
  Pick(1);
  // (280000, 6130000) to (282000, 6131000) at height 0: bearing 63 26 05.8, 2236.068 m of grid at
  // csf 1.00019109 (the series evaluated independently).
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], (JoinListRow{"66281001", "66281002", "63.2606", "2235.641", "1.00019109"}));
}

TEST_F(JoinsWindowTest, APickThatFailsShowsTheKeyErrorAndTheWindowStaysUsable) {
  Open({kMark1, Mark("9999/999999", "281000", "6131000"), kMark2});
  PickAll({0, 1});
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "PSM number too large for a key: 9999/999999");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "MGA Joins error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(FromMark(), "6628/1001");
  Pick(2);
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], kMgaRow);
  EXPECT_TRUE(Joins().isVisible());
}

// ---- Clear, Close and the choice ----

TEST_F(JoinsWindowTest, ClearEmptiesTheRowsAndTheFromMarkAndKeepsTheListAndChoice) {
  Open({kMark1, kMark2});
  Click("Option2");
  PickAll({0, 1});
  ASSERT_EQ(Rows().size(), 1u);
  Click("cmdClear");
  EXPECT_EQ(Joins().GridRows(), 1);
  EXPECT_TRUE(FromMark().isEmpty());
  EXPECT_EQ(ListedNumbers().size(), 2);
  EXPECT_TRUE(InJoins<QRadioButton>("Option2")->isChecked());
  // The next pick is a first pick again, the mark picked last included.
  Pick(1);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(FromMark(), "6628/1002");
  Pick(0);
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0][2], "225.0000");
}

TEST_F(JoinsWindowTest, TheChoiceSurvivesCloseAndReopening) {
  frmMGAJoins& joins = Open({kMark1, kMark2});
  Click("Option1");
  PickAll({0, 1});
  Click("cmdClose");
  EXPECT_FALSE(joins.isVisible());
  EXPECT_EQ(m_window->CalculationMode(), DistanceCalculationMode::AMG84);
  // Hidden, the window keeps its rows; the next opening clears rows and list but not the choice.
  EXPECT_EQ(joins.GridRows(), 2);
  m_window->mnuOptionsCalculateAMG_Click();
  EXPECT_TRUE(joins.isVisible());
  EXPECT_EQ(joins.GridRows(), 1);
  EXPECT_TRUE(InJoins<QRadioButton>("Option1")->isChecked());
  EXPECT_EQ(m_window->CalculationMode(), DistanceCalculationMode::AMG84);
  PickAll({0, 1});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], kAmgRow);
}

TEST_F(JoinsWindowTest, AMG84ChangesTheNextRowsAndTheNextComparison) {
  Open({kMark1, kMark2});
  // A comparison judges the join with the main window's live settings, as Compare does.
  modKestralMGA::MarkIndex index(m_window->Marks());
  modKestralMGA::JoinContext context{index, *m_window};
  const modKestralMGA::PlanPoint from{66281001, 0.0, 0.0, 1};
  const modKestralMGA::PlanPoint to{66281002, 1000.0, 1000.0, 1};
  auto comparedCsf = [&] {
    const double csf = modKestralMGA::JudgeJoin(from, to, context, "Urban Areas").Csf;
    return modKestralMGA::FormatNumber(csf, modKestralMGA::kFormatScaleFactor);
  };
  EXPECT_EQ(comparedCsf(), "1.00017809");
  PickAll({0, 1});
  Click("Option1");
  EXPECT_EQ(comparedCsf(), "1.00017808");
  // The row already in the grid stays; the next one is on the Australian National Spheroid.
  Pick(0);
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0][4], "1.00017809");
  EXPECT_EQ(Rows()[1][4], "1.00017808");
  // Plane computes the comparison on GRS80 again.
  Click("Option2");
  EXPECT_EQ(comparedCsf(), "1.00017809");
}

TEST_F(JoinsWindowTest, TheOptionsShowTheProgramWideChoice) {
  Start();
  const std::pair<DistanceCalculationMode, const char*> cases[] = {
      {DistanceCalculationMode::Plane, "Option2"},
      {DistanceCalculationMode::AMG84, "Option1"},
      {DistanceCalculationMode::MGA94_2020, "Option3"}};
  for (const auto& [mode, option] : cases) {
    m_window->SetCalculationMode(mode);
    EXPECT_TRUE(InJoins<QRadioButton>(option)->isChecked()) << option;
    EXPECT_EQ(m_window->CalculationMode(), mode);
  }
}

// ---- Print and preview ----

TEST_F(JoinsWindowTest, PrintSendsTheHeaderAndEveryRowAtTheirColumns) {
  Open({kMark1, kMark2, kMark3});
  PickAll({0, 1, 2});
  const std::string pdf = PathIn("joins.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Click("cmdPrint");
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Print completed");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Join Calculation");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(m_dialogs.PrinterPrompts.size(), 1u);
  EXPECT_TRUE(InJoins<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_EQ(Joins().cursor().shape(), Qt::ArrowCursor);  // the hourglass is gone

  const std::vector<std::string> expected = {
      "From          To             Bearing        Distance       Combined S. F.",
      "66281001      66281002       45.0000        1413.962       1.00017809",
      "66281002      66281003       180.0000       999.825        1.00017538"};
  EXPECT_EQ(ExpectedLines(), expected);
  EXPECT_EQ(PrintedLines(pdf), expected);
}

TEST_F(JoinsWindowTest, PrintWithOnlyTheHeaderRowPrintsTheHeaderLine) {
  Open({kMark1, kMark2});
  const std::string pdf = PathIn("header.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Click("cmdPrint");
  EXPECT_EQ(PrintedLines(pdf),
            std::vector<std::string>({"From          To             Bearing        Distance       "
                                      "Combined S. F."}));
}

TEST_F(JoinsWindowTest, ACancelledPrintDialogEndsQuietly) {
  Open({kMark1, kMark2});
  PickAll({0, 1});
  m_dialogs.AnswerPrinter("");
  Click("cmdPrint");
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(m_dialogs.PrinterPrompts.size(), 1u);
  EXPECT_TRUE(InJoins<QPushButton>("cmdPrint")->isEnabled());
}

TEST_F(JoinsWindowTest, AFailedPrintSaysSoAndTheWindowStaysUsable) {
  Open({kMark1, kMark2});
  PickAll({0, 1});
  m_dialogs.AnswerPrinter(PathIn("no-such-folder/joins.pdf"));
  Click("cmdPrint");
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "The printer could not be started");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Join Calculation");
  EXPECT_TRUE(InJoins<QPushButton>("cmdPrint")->isEnabled());
  EXPECT_EQ(Joins().cursor().shape(), Qt::ArrowCursor);
  ASSERT_EQ(Rows().size(), 1u);

  const std::string pdf = PathIn("joins.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Click("cmdPrint");
  ASSERT_EQ(m_dialogs.Messages.size(), 2u);
  EXPECT_EQ(m_dialogs.Messages[1].Text, "Print completed");
  EXPECT_EQ(PrintedLines(pdf).size(), 2u);
}

TEST_F(JoinsWindowTest, ThePreviewShowsWhatPrintSends) {
  Open({kMark1, kMark2, kMark3});
  PickAll({2, 0, 1});
  m_dialogs.PreviewPdf = PathIn("preview.pdf");
  Click("cmdPreview");
  ASSERT_EQ(m_dialogs.Previews.size(), 1u);
  EXPECT_TRUE(m_dialogs.Messages.empty());
  const std::string printed = PathIn("printed.pdf");
  m_dialogs.AnswerPrinter(printed);
  Click("cmdPrint");
  const std::vector<std::string> lines = PrintedLines(printed);
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(PrintedLines(m_dialogs.PreviewPdf), lines);
  EXPECT_EQ(lines, ExpectedLines());
}

}  // namespace
