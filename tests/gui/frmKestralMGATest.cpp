// The main window: its controls, the mark grid and its in-place editor, the row commands, the
// bearing datum options, Browse, Open, Save, Print and its preview, the start-up dump file, the
// toolbar and Exit.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "PrintTestSupport.h"
#include "app/CommandLine.h"
#include "marks/ui/MarkTableModel.h"
#include "reports/PsmListReport.h"

using modKestralMGA::MessageIcon;

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

// ---- Layout and initial state ----

TEST_F(MainWindowTest, ControlsCarryTheirNamesCaptionsAndInitialValues) {
  frmKestralMGA& window = Start();
  EXPECT_EQ(window.windowTitle(), "Map Grid of Australia Coordinates - KESTRAL");
  EXPECT_EQ(Find<QGroupBox>("Frame1")->title(), "Permanent Survey Mark List");
  EXPECT_EQ(Find<QGroupBox>("Frame2")->title(), "KESTRAL File");
  EXPECT_EQ(Find<QGroupBox>("Frame3")->title(), "Bearing Datum derived from");

  const std::vector<std::pair<const char*, const char*>> buttons = {{"cmdAdd", "Add Line"},
                                                                    {"cmdInsert", "Insert Line"},
                                                                    {"cmdDelete", "Delete Line"},
                                                                    {"cmdClear", "Clear"},
                                                                    {"cmdBrowse", "Browse..."}};
  for (const auto& [name, caption] : buttons) EXPECT_EQ(Find<QPushButton>(name)->text(), caption);

  const std::vector<std::pair<const char*, const char*>> labels = {
      {"Label1", "Average Height"},
      {"Label2", "Plan Identifier"},
      {"Label3", "Accuracy Criterion"},
      {"Label4", "From"},
      {"Label5", "To"},
      {"Label6", "Compare up to Order"}};
  for (const auto& [name, caption] : labels) EXPECT_EQ(Find<QLabel>(name)->text(), caption);

  const std::vector<std::pair<const char*, const char*>> boxes = {{"txtAvHeight", "0.00"},
                                                                  {"txtPlan", ""},
                                                                  {"txtDatum1", ""},
                                                                  {"txtDatum2", ""},
                                                                  {"txtMaxOrder", "5"}};
  for (const auto& [name, value] : boxes) EXPECT_EQ(Find<QLineEdit>(name)->text(), value);

  EXPECT_EQ(Find<QRadioButton>("optTwoPSMs")->text(), "2 PSM's");
  EXPECT_EQ(Find<QRadioButton>("optTertiary")->text(), "Tertiary Network");
  EXPECT_EQ(Find<QRadioButton>("optNone")->text(), "None of the above");
  EXPECT_TRUE(Find<QRadioButton>("optNone")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("optTwoPSMs")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("optTertiary")->isChecked());
  EXPECT_EQ(Find<QCheckBox>("chkFullDetails")->text(), "Show full join details");
  EXPECT_FALSE(Find<QCheckBox>("chkFullDetails")->isChecked());

  QComboBox* criteria = Find<QComboBox>("cboAccuracyType");
  EXPECT_TRUE(criteria->isEditable());
  EXPECT_EQ(criteria->currentText(), "Urban Areas");
  const QStringList expected = {"Urban Areas", "Rural Areas", "Adelaide City",
                                "URBAN SURVEY (prior Feb 2019)", "RURAL SURVEY (prior Feb 2019)"};
  ASSERT_EQ(criteria->count(), expected.size());
  for (int i = 0; i < criteria->count(); ++i) EXPECT_EQ(criteria->itemText(i), expected[i]);

  // The title row only, and the editor hidden.
  EXPECT_EQ(window.GridRows(), 1);
  EXPECT_EQ(window.CurrentGridRow(), 0);
  EXPECT_FALSE(Editor()->isVisible());
  const QStringList titles = {"PSM No.", "East", "North", "Height",
                              "Order",   "Zone", "Datum", "Status"};
  ASSERT_EQ(Grid()->model()->columnCount(), 8);
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(Grid()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
  }
}

TEST_F(MainWindowTest, ColumnWidthsAreTheSampleTextsInTheWindowsFont) {
  frmKestralMGA& window = Start();
  const char* samples[] = {"xxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxxx",
                           "xxxxxxxxxxxxxxxx", "  order  ",         "   zone   ",
                           "  datum    ",      "   status      "};
  // Each column is its sample's width plus the same few pixels of cell margin and grid line.
  const QFontMetrics metrics(window.font());
  const int chrome = Grid()->columnWidth(0) - metrics.horizontalAdvance(samples[0]);
  EXPECT_GE(chrome, 0);
  EXPECT_LT(chrome, 16);
  for (int c = 1; c < 8; ++c) {
    EXPECT_EQ(Grid()->columnWidth(c),
              metrics.horizontalAdvance(QString::fromLatin1(samples[c])) + chrome)
        << "column " << c;
  }
}

TEST_F(MainWindowTest, MenusHoldTheirItemsShortcutsAndAccessKeys) {
  frmKestralMGA& window = Start();
  QStringList menus;
  for (QAction* menu : window.menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Options", "&Help"}));

  struct Item {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
  };
  const std::vector<Item> items = {
      {"mnuFileOpen", "Open...", QKeySequence(QStringLiteral("Ctrl+O"))},
      {"mnuFileSave", "Save...", QKeySequence(QStringLiteral("Ctrl+S"))},
      {"mnuFileImport", "Import...", QKeySequence(QStringLiteral("Ctrl+I"))},
      {"mnuFilePrint", "Print", QKeySequence(QStringLiteral("Ctrl+P"))},
      {"mnuFilePrintPreview", "Print Preview...", QKeySequence()},
      {"mnuExit", "E&xit", QKeySequence(QStringLiteral("Ctrl+X"))},
      {"mnuOptionsComparePSM", "Compare PSM Joins...", QKeySequence()},
      {"mnuOptionsCalculateAMG", "Calculate Joins...", QKeySequence()},
      {"mnuHelpContents", "Contents...", QKeySequence()},
      {"mnuHelpAbout", "About...", QKeySequence()}};
  for (const Item& item : items) {
    QAction* action = Find<QAction>(item.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), item.caption) << item.name;
    EXPECT_EQ(action->shortcut(), item.shortcut) << item.name;
  }
  // The file menu in order, with its two separators.
  QMenu* file = Find<QMenu>("mnuFile");
  QStringList order;
  for (QAction* a : file->actions()) order << a->objectName();
  EXPECT_EQ(order, QStringList({"mnuFileOpen", "mnuFileSave", "mnuFileImport", "mnuSep1",
                                "mnuFilePrint", "mnuFilePrintPreview", "mnuSepBar2", "mnuExit"}));
}

TEST_F(MainWindowTest, ToolbarButtonRunsTheCommandOfItsKeyExactly) {
  Start();
  QToolBar* toolbar = Find<QToolBar>("Toolbar1");
  QStringList keys;
  for (QAction* button : toolbar->actions()) keys << button->data().toString();
  EXPECT_EQ(keys, QStringList({"Open", "Save", "Print", "Compare", "CalcJoins", "Exit"}));
  // A click on "Open" runs the Open command: its dialog comes up (and is cancelled here).
  m_dialogs.Answer("");
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[0]), Qt::LeftButton);
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open Mark Details file");

  // A key compared in another letter case matches nothing.
  QAction stray(QStringLiteral("stray"));
  stray.setData(QStringLiteral("open"));
  m_window->Toolbar1_ButtonClick(&stray);
  EXPECT_EQ(m_dialogs.Prompts.size(), 1u);
}

// ---- Typing into cells ----

TEST_F(MainWindowTest, TypingAndEnterStoreByTheCommitRulesAndMoveRight) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  ASSERT_EQ(CurrentCell(), std::make_pair(1, 0));
  struct Step {
    QString typed;
    std::string stored;
  };
  // One row typed through from PSM No. to Status.
  const std::vector<Step> steps = {{"66281001", "6628/1001"},
                                   {"280000.5", "280000.500"},
                                   {"1e3", "1000.000"},
                                   {"abc", "0.000"},
                                   {"2a", "2A"},
                                   {"54", "54"},
                                   {"gda2020", "GDA2020"},
                                   {"found", "FOUND"}};
  for (int column = 0; column < 8; ++column) {
    const Step& step = steps[std::size_t(column)];
    ASSERT_EQ(CurrentCell(), std::make_pair(1, column));
    TypeAndEnter(step.typed);
    EXPECT_EQ(Cell(1, column), step.stored) << "column " << column;
    EXPECT_FALSE(Editor()->isVisible());
  }
  // Enter in the Status cell of the last row appends a row and moves to its PSM No.
  EXPECT_EQ(m_window->GridRows(), 3);
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 0));
}

TEST_F(MainWindowTest, EnterOnAnEmptyCellWithNoEditorCommitsAtOnce) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  ClickCell(1, 5);
  TypeAndEnter("54");
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);

  // Row 2's empty Zone: Enter on the grid repeats row 1's zone and moves to Datum.
  ClickCell(2, 5);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 5), "54");
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 6));
  EXPECT_FALSE(Editor()->isVisible());

  // An empty PSM No.: nothing is stored and the current cell stays.
  ClickCell(2, 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 0), "");
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 0));

  // Row 1's empty Datum has no row above: it stays empty and the cell moves on.
  ClickCell(1, 6);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(1, 6), "");
  EXPECT_EQ(CurrentCell(), std::make_pair(1, 7));
}

TEST_F(MainWindowTest, EditorLiesExactlyOverTheCurrentCellAndIsYellowWithoutFrame) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  ClickCell(2, 3);
  Type("7");
  QLineEdit* editor = Editor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "7");
  EXPECT_TRUE(editor->hasFocus());
  const QRect cell = Grid()->visualRect(Grid()->model()->index(1, 3));
  const QPoint cellOnScreen = Grid()->viewport()->mapToGlobal(cell.topLeft());
  EXPECT_EQ(editor->mapToGlobal(QPoint(0, 0)), cellOnScreen);
  EXPECT_EQ(editor->size(), cell.size());
  EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_FALSE(editor->hasFrame());
}

TEST_F(MainWindowTest, TypedTextIsStoredAsWindows1252Bytes) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  ClickCell(1, 7);
  // ö is one byte in the list, upper-cased there like any Windows-1252 letter: Ö, 0xD6.
  TypeAndEnter(QStringLiteral("gel\u00f6scht"));
  EXPECT_EQ(Cell(1, 7), "GEL\xD6SCHT");
  EXPECT_EQ(Grid()->model()->index(0, 7).data().toString(), QStringLiteral("GEL\u00d6SCHT"));
}

TEST_F(MainWindowTest, EnterAtTheEndOfTheLastRowScrollsTheNewRowIntoView) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 60; ++i) {
    lines.push_back(MarkDetailsLine("6628", std::to_string(1000 + i), "280000", "6130000"));
  }
  Start(WriteFile("sixty.dmp", lines));
  ASSERT_EQ(m_window->GridRows(), 61);
  Grid()->scrollToBottom();
  ClickCell(60, 7);
  TypeAndEnter("ok");
  EXPECT_EQ(m_window->GridRows(), 62);
  EXPECT_EQ(CurrentCell(), std::make_pair(61, 0));
  const QRect added = Grid()->visualRect(Grid()->model()->index(60, 0));
  EXPECT_TRUE(Grid()->viewport()->rect().contains(added)) << "the new row is fully visible";
}

// Escape and the arrows abandon an edit: the cell keeps its text.
TEST_F(MainWindowTest, EscapeAndArrowsAbandonAnEdit) {
  struct Case {
    const char* name;
    Qt::Key key;
    std::pair<int, int> currentAfter;
  };
  const std::vector<Case> cases = {{"Escape", Qt::Key_Escape, {2, 1}},
                                   {"Up", Qt::Key_Up, {1, 1}},
                                   {"Down", Qt::Key_Down, {3, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(WriteFile("three.dmp", {MarkDetailsLine("6628", "1001", "1.000", "2.000"),
                                  MarkDetailsLine("6628", "1002", "280000.000", "2.000"),
                                  MarkDetailsLine("6628", "1003", "3.000", "2.000")}));
    // Typing a letter over a filled cell starts the editor with that letter only.
    ClickCell(2, 1);
    Type("9");
    ASSERT_TRUE(Editor()->isVisible());
    EXPECT_EQ(Editor()->text(), "9");
    Type("99");
    Press(c.key);
    EXPECT_EQ(Cell(2, 1), "280000.000");
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(CurrentCell(), c.currentAfter);
    EXPECT_TRUE(Grid()->hasFocus());
  }
}

TEST_F(MainWindowTest, DoubleClickEditsTheCellsOwnText) {
  Start(WriteFile("one.dmp", {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000")}));
  DoubleClickCell(1, 2);
  ASSERT_TRUE(Editor()->isVisible());
  EXPECT_EQ(Editor()->text(), "6130000.000");
  EXPECT_EQ(Editor()->cursorPosition(), Editor()->text().size());
  Press(Qt::Key_Escape);
  EXPECT_EQ(Cell(1, 2), "6130000.000");

  // Enter on a filled cell of the grid opens the editor with the cell's text too.
  ClickCell(1, 1);
  Press(Qt::Key_Return);
  ASSERT_TRUE(Editor()->isVisible());
  EXPECT_EQ(Editor()->text(), "280000.000");
  Press(Qt::Key_Escape);

  // Changing the current cell drops what was typed.
  DoubleClickCell(1, 2);
  Type("5");
  ClickCell(1, 0);
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(Cell(1, 2), "6130000.000");
}

// ---- Row commands ----

TEST_F(MainWindowTest, RowCommandsAndTheirRefusals) {
  Start();
  QPushButton* add = Find<QPushButton>("cmdAdd");
  QPushButton* insert = Find<QPushButton>("cmdInsert");
  QPushButton* remove = Find<QPushButton>("cmdDelete");

  // With the title row only, Insert and Delete do nothing.
  QTest::mouseClick(insert, Qt::LeftButton);
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(m_window->GridRows(), 1);

  QTest::mouseClick(add, Qt::LeftButton);
  TypeAndEnter("A");
  QTest::mouseClick(add, Qt::LeftButton);
  TypeAndEnter("B");
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"A", "B"}));
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 1));
  EXPECT_TRUE(Grid()->hasFocus());

  // Insert at row 2 pushes B down; the new empty row is current.
  QTest::mouseClick(insert, Qt::LeftButton);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"A", "", "B"}));
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 1));

  // Delete removes the current row; the row below takes its place as current.
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"A", "B"}));
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 1));
  // Deleting the last row leaves the new last row current.
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"A"}));
  EXPECT_EQ(CurrentCell(), std::make_pair(1, 1));
  // The last mark row is never deleted.
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"A"}));
}

TEST_F(MainWindowTest, RowCommandsDropAnEditInProgress) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  Type("6628");
  ASSERT_TRUE(Editor()->isVisible());
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"", ""}));
  EXPECT_EQ(CurrentCell(), std::make_pair(2, 0));
}

TEST_F(MainWindowTest, AddLineBringsTheNewRowToTheTopWhereTheGridCanScrollThatFar) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 40; ++i) {
    lines.push_back(MarkDetailsLine("6628", std::to_string(1000 + i), "1", "2"));
  }
  Start(WriteFile("forty.dmp", lines));
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  EXPECT_EQ(CurrentCell(), std::make_pair(41, 0));
  // The last row cannot be the top one: the grid stands scrolled to its end instead.
  QScrollBar* rows = Grid()->verticalScrollBar();
  EXPECT_EQ(rows->value(), rows->maximum());
  EXPECT_GT(rows->maximum(), 0);
  EXPECT_TRUE(
      Grid()->viewport()->rect().contains(Grid()->visualRect(Grid()->model()->index(40, 0))));
}

TEST_F(MainWindowTest, ClearLeavesOneEmptyRowAndResetsTheDatumSettings) {
  Start(WriteFile("two.dmp", {MarkDetailsLine("6628", "1001", "1", "2", "10"),
                              MarkDetailsLine("6628", "1002", "1", "2", "20")}));
  Find<QRadioButton>("optTwoPSMs")->click();
  Find<QLineEdit>("txtDatum1")->setText("6628/1001");
  Find<QLineEdit>("txtDatum2")->setText("6628/1002");
  Find<QLineEdit>("txtPlan")->setText("PLAN");
  Find<QLineEdit>("txtMaxOrder")->setText("3");
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  Find<QComboBox>("cboAccuracyType")->setCurrentText("Rural Areas");

  QTest::mouseClick(Find<QPushButton>("cmdClear"), Qt::LeftButton);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({""}));
  for (int c = 0; c < 8; ++c) EXPECT_EQ(Cell(1, c), "");
  EXPECT_EQ(CurrentCell(), std::make_pair(1, 0));
  EXPECT_TRUE(Grid()->hasFocus());
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "0.000");
  EXPECT_TRUE(Find<QRadioButton>("optNone")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("txtDatum1")->text(), "");
  EXPECT_EQ(Find<QLineEdit>("txtDatum2")->text(), "");
  // What Clear leaves alone.
  EXPECT_EQ(Find<QLineEdit>("txtPlan")->text(), "PLAN");
  EXPECT_EQ(Find<QLineEdit>("txtMaxOrder")->text(), "3");
  EXPECT_TRUE(Find<QCheckBox>("chkFullDetails")->isChecked());
  EXPECT_EQ(Find<QComboBox>("cboAccuracyType")->currentText(), "Rural Areas");
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

// ---- Bearing datum ----

TEST_F(MainWindowTest, TertiaryTicksFullDetailsAndTwoPsmsClearsIt) {
  Start();
  QCheckBox* full = Find<QCheckBox>("chkFullDetails");
  QTest::mouseClick(Find<QRadioButton>("optTertiary"), Qt::LeftButton);
  EXPECT_TRUE(full->isChecked());
  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  EXPECT_FALSE(full->isChecked());
  QTest::mouseClick(Find<QRadioButton>("optNone"), Qt::LeftButton);
  EXPECT_FALSE(full->isChecked());
  // "None of the above" leaves a ticked box ticked too.
  full->setChecked(true);
  QTest::mouseClick(Find<QRadioButton>("optTertiary"), Qt::LeftButton);
  QTest::mouseClick(Find<QRadioButton>("optNone"), Qt::LeftButton);
  EXPECT_TRUE(full->isChecked());
}

TEST_F(MainWindowTest, ClicksIntoPsmNumbersFillFromThenTo) {
  Start(WriteFile("three.dmp", {MarkDetailsLine("6628", "1001", "1", "2"),
                                MarkDetailsLine("6628", "1002", "1", "2"),
                                MarkDetailsLine("6628", "1003", "1", "2")}));
  QLineEdit* from = Find<QLineEdit>("txtDatum1");
  QLineEdit* to = Find<QLineEdit>("txtDatum2");

  // Not while another option is chosen.
  ClickCell(1, 0);
  EXPECT_EQ(from->text(), "");

  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  ClickCell(2, 1);  // another column changes nothing
  EXPECT_EQ(from->text(), "");
  ClickCell(2, 0);
  EXPECT_EQ(from->text(), "6628/1002");
  EXPECT_EQ(to->text(), "");
  ClickCell(1, 0);
  EXPECT_EQ(to->text(), "6628/1001");
  ClickCell(3, 0);  // both filled: nothing changes
  EXPECT_EQ(from->text(), "6628/1002");
  EXPECT_EQ(to->text(), "6628/1001");
}

TEST_F(MainWindowTest, BrowsePutsThePlanPathWithoutExtensionInUpperCase) {
  Start();
  QLineEdit* plan = Find<QLineEdit>("txtPlan");
  m_dialogs.Answer("/home/surveyor/plans/Abc123.lns");
  QTest::mouseClick(Find<QPushButton>("cmdBrowse"), Qt::LeftButton);
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open KESTRAL file");
  EXPECT_EQ(m_dialogs.Prompts[0].Filter, "KESTRAL Lines files (*.LNS)|*.lns");
  EXPECT_FALSE(m_dialogs.Prompts[0].Save);
  EXPECT_EQ(plan->text(), "/HOME/SURVEYOR/PLANS/ABC123");

  m_dialogs.Answer("");  // a cancel changes nothing
  QTest::mouseClick(Find<QPushButton>("cmdBrowse"), Qt::LeftButton);
  EXPECT_EQ(plan->text(), "/HOME/SURVEYOR/PLANS/ABC123");
}

// ---- Open and Save ----

TEST_F(MainWindowTest, OpenIntoAnEmptyList) {
  const std::string path = WriteFile(
      "Marks.csv",
      {MarkDetailsTitleLine(), MarkDetailsLine("6628", "1001", "280000.000", "6130000.000", "10"),
       MarkDetailsLine(" 6628 ", " 1002 ", "281000.000", "6131000.000", "20"),
       MarkDetailsLine("6628", "1001", "1.000", "2.000", "90")});
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);  // an empty first row goes
  m_dialogs.Answer(path);
  QAction* open = Find<QAction>("mnuFileOpen");
  open->trigger();
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open Mark Details file");
  EXPECT_EQ(m_dialogs.Prompts[0].Filter, "CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp");
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001", "6628/1002"}));
  EXPECT_EQ(Cell(1, 1), "280000.000");  // the first of a repeated number keeps its own row
  // The average is taken before the repeated mark goes: (10 + 20 + 90) / 3.
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "40.000");
  EXPECT_EQ(CurrentCell(), std::make_pair(1, 0));
}

TEST_F(MainWindowTest, OpenIntoAListWithMarksAppendsAndKeepsTheFirstOfEachNumber) {
  const std::string first = WriteFile("first.csv", {MarkDetailsLine("6628", "1001", "1", "2"),
                                                    MarkDetailsLine("6628", "1002", "3", "4")});
  const std::string second = WriteFile("second.csv", {MarkDetailsLine("6628", "1002", "5", "6"),
                                                      MarkDetailsLine("6628", "1003", "7", "8")});
  Start(first);
  m_dialogs.Answer(second);
  Find<QAction>("mnuFileOpen")->trigger();
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001", "6628/1002", "6628/1003"}));
  EXPECT_EQ(Cell(2, 1), "3");  // the mark already listed keeps its old row
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(MainWindowTest, OpenRefusesAFileThatIsNotMarkDetailsAndDropsAnEdit) {
  const std::string path = WriteFile("short.csv", {"a,b,c,d,e,f,g,h,i,j,k"});  // 10 commas
  Start(WriteFile("one.dmp", {MarkDetailsLine("6628", "1001", "1", "2")}));
  ClickCell(1, 3);
  Type("12");
  m_dialogs.Answer(path);
  Find<QAction>("mnuFileOpen")->trigger();
  EXPECT_FALSE(Editor()->isVisible());
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "This is not a Mark Details file");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open CSV file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Critical);
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001"}));
  EXPECT_EQ(Cell(1, 3), "");
  EXPECT_EQ(CurrentCell(), std::make_pair(1, 3));
}

TEST_F(MainWindowTest, OpenMessagesNameTheChosenPathInUpperCase) {
  Start();
  const std::string missing = PathIn("Gone.csv");
  m_dialogs.Answer(missing);
  Find<QAction>("mnuFileOpen")->trigger();
  ASSERT_EQ(m_dialogs.Messages.size(), 2u);
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open CSV file error");
  EXPECT_NE(m_dialogs.Messages[0].Text.find(
                QFile::encodeName(QFile::decodeName(missing.c_str()).toUpper()).toStdString()),
            std::string::npos)
      << m_dialogs.Messages[0].Text;
  EXPECT_EQ(m_dialogs.Messages[1].Text, "This is not a Mark Details file");
}

TEST_F(MainWindowTest, OpenShowsTheLineMessagesAfterTheMarksAreInTheGrid) {
  const std::string path =
      WriteFile("Short.csv", {MarkDetailsLine("6628", "1001", "1", "2", "10"), "6628,1002,,,,54",
                              MarkDetailsLine("6628", "1003", "3", "4", "30")});
  Start();
  m_dialogs.Answer(path);
  Find<QAction>("mnuFileOpen")->trigger();
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001", "6628/1003"}));
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "20.000");
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  const std::string shown =
      QFile::encodeName(QFile::decodeName(path.c_str()).toUpper()).toStdString();
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Lines with too few fields in " + shown + ": 2");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open CSV file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
}

TEST_F(MainWindowTest, OpenCancelledChangesNothing) {
  Start(WriteFile("one.dmp", {MarkDetailsLine("6628", "1001", "1", "2", "5")}));
  m_dialogs.Answer("");
  Find<QAction>("mnuFileOpen")->trigger();
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001"}));
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "5.000");
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(MainWindowTest, SavePrintAndPreviewRefuseAnEmptyListBeforeAnyDialog) {
  const struct {
    const char* command;
    const char* text;
    const char* title;
  } cases[] = {{"mnuFileSave", "Nothing in list to save", "Save PSM data error"},
               {"mnuFilePrint", "Nothing in list to print", "Print PSM list error"},
               {"mnuFilePrintPreview", "Nothing in list to print", "Print PSM list error"}};
  Start();
  for (const bool emptyRow : {false, true}) {
    // An empty row is still an empty list.
    if (emptyRow) QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.command);
      m_dialogs.Messages.clear();
      Find<QAction>(c.command)->trigger();
      ASSERT_EQ(m_dialogs.Messages.size(), 1u);
      EXPECT_EQ(m_dialogs.Messages[0].Text, c.text);
      EXPECT_EQ(m_dialogs.Messages[0].Title, c.title);
      EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
    }
  }
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  EXPECT_TRUE(m_dialogs.PrinterPrompts.empty());
  EXPECT_TRUE(m_dialogs.Previews.empty());
}

TEST_F(MainWindowTest, SaveWritesTheCompleteRowsAndOpensAgain) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  for (const char* text : {"66281001", "280000", "6130000", "12.5", "2", "54", "gda2020", "ok"}) {
    TypeAndEnter(QString::fromLatin1(text));
  }
  TypeAndEnter("6628/1002");  // incomplete: no East or North
  const std::string path = PathIn("saved.csv");
  m_dialogs.Answer(path);
  Find<QAction>("mnuFileSave")->trigger();
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_TRUE(m_dialogs.Prompts[0].Save);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Save to CSV file");
  EXPECT_EQ(m_dialogs.Prompts[0].Filter, "CSV files (*.CSV)|*.csv");
  EXPECT_TRUE(m_dialogs.Prompts[0].ConfirmReplace);
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(ReadWholeFile(path),
            "6628,1001,,,,54,280000.000,6130000.000,,,,2,,GDA2020,,,,,,,,12.500,,,,,,,,,,,OK,,,,,"
            ",,,,,\r\n");

  QTest::mouseClick(Find<QPushButton>("cmdClear"), Qt::LeftButton);
  m_dialogs.Answer(path);
  Find<QAction>("mnuFileOpen")->trigger();
  ASSERT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001"}));
  EXPECT_EQ(Cell(1, 3), "12.500");
  EXPECT_EQ(Cell(1, 7), "OK");
}

// ---- Print and Print Preview of the PSM list ----

TEST_F(MainWindowTest, PrintSendsTheListAtItsColumnsAndThePreviewShowsTheSamePages) {
  Start(WriteFile("marks.dmp",
                  {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000", "12.5", "2"),
                   MarkDetailsLine("6628", "1002", "281000.000", "6131000.000", "", "3", "54",
                                   "GDA2020", "NOT FOUND")}));
  Find<QLineEdit>("txtPlan")->setText(QStringLiteral("D:\\PLANS\\DP1234"));
  const std::string pdf = PathIn("list.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Find<QAction>("mnuFilePrint")->trigger();
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Printing completed");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Print PSM list");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Information);

  modKestralMGA::RecordingColumnWriter expected;
  modKestralMGA::PrintPSMList(m_window->Marks(), "D:\\PLANS\\DP1234", expected);
  const auto pages = PrintedPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0], PrintableLines(expected));

  m_dialogs.PreviewPdf = PathIn("preview.pdf");
  Find<QAction>("mnuFilePrintPreview")->trigger();
  EXPECT_EQ(m_dialogs.Previews.size(), 1u);
  EXPECT_EQ(PrintedPages(m_dialogs.PreviewPdf), pages);
  EXPECT_EQ(m_dialogs.Messages.size(), 1u);
}

TEST_F(MainWindowTest, PrintDialogCancelledOrPrinterFailing) {
  const struct {
    const char* answer;  // the PDF file to print to, in the test's folder; "" cancels
    std::vector<std::string> messages;
  } cases[] = {{"", {}}, {"no-such-folder/list.pdf", {"The printer could not be started"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    m_dialogs.Messages.clear();
    Start(WriteFile("marks.dmp", {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000")}));
    m_dialogs.AnswerPrinter(*c.answer == '\0' ? std::string() : PathIn(c.answer));
    Find<QAction>("mnuFilePrint")->trigger();
    std::vector<std::string> shown;
    for (const auto& message : m_dialogs.Messages) {
      shown.push_back(message.Text);
      EXPECT_EQ(message.Title, "Print PSM list error");
    }
    EXPECT_EQ(shown, c.messages);
    // The window stays usable: the list is as it was and its commands still run.
    EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001"}));
    QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
    EXPECT_EQ(m_window->GridRows(), 3);
  }
}

// ---- Start-up with a screen dump file ----

TEST_F(MainWindowTest, StartUpReadsAGoodDumpFile) {
  const std::string path =
      WriteFile("list.dmp", {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000", "10"),
                             MarkDetailsLine("6628", "1002", "281000.000", "6131000.000", ""),
                             MarkDetailsLine("6628", "1001", "9", "9", "20")});
  frmKestralMGA& window = Start(path);
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001", "6628/1002"}));
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "15.000");
  EXPECT_EQ(window.AverageHeightText(), "15.000");
  EXPECT_EQ(Grid()->model()->index(1, 0).data().toString(), "6628/1002");
}

TEST_F(MainWindowTest, StartUpWithTenCommasWarnsAndLeavesTheListEmpty) {
  Start(WriteFile("ten.dmp", {"1,2,3,4,5,6,7,8,9,10,11"}));
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "No mark details found in dump file");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open Dump file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(m_window->GridRows(), 1);
  EXPECT_EQ(Find<QLineEdit>("txtAvHeight")->text(), "0.00");
}

TEST_F(MainWindowTest, StartUpWithAMissingDumpFileShowsTwoMessages) {
  Start(PathIn("nowhere.dmp"));
  ASSERT_EQ(m_dialogs.Messages.size(), 2u);
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open CSV file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Critical);
  EXPECT_FALSE(m_dialogs.Messages[0].Text.empty());
  EXPECT_EQ(m_dialogs.Messages[1].Text, "No mark details found in dump file");
  EXPECT_EQ(m_dialogs.Messages[1].Title, "Open Dump file error");
  EXPECT_EQ(m_window->GridRows(), 1);
  EXPECT_TRUE(m_window->isVisible());
}

// The two start-up paths that only the command line gives: a path with blanks in double quotes
// (as a desktop shortcut passes it) reads the file; a path naming a folder gives the failure to
// open it and then the dump file warning, and the program starts with an empty list.
TEST_F(MainWindowTest, StartUpWithADumpPathInQuotesOrNamingAFolder) {
  const std::string quoted = WriteFile(
      "my marks.dmp", {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000", "10")});
  Start(DumpPathFromArguments({"\"" + quoted + "\""}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(PsmNumbers(), std::vector<std::string>({"6628/1001"}));

  m_dialogs.Messages.clear();
  const std::string folder = PathIn("");
  Start(DumpPathFromArguments({folder}));
  ASSERT_EQ(m_dialogs.Messages.size(), 2u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Cannot open " + folder + ": Is a directory");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Open CSV file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Critical);
  EXPECT_EQ(m_dialogs.Messages[1].Text, "No mark details found in dump file");
  EXPECT_EQ(m_dialogs.Messages[1].Title, "Open Dump file error");
  EXPECT_EQ(m_window->GridRows(), 1);
  EXPECT_TRUE(m_window->isVisible());
}

// ---- Settings and Exit ----

TEST_F(MainWindowTest, SettingsReadTheLiveControls) {
  frmKestralMGA& window = Start();
  const modKestralMGA::CompareSettings& settings = window;
  EXPECT_EQ(settings.AccuracyCriterionText(), "Urban Areas");
  EXPECT_FALSE(settings.TwoPsms());
  EXPECT_FALSE(settings.FullDetails());
  EXPECT_EQ(settings.CalculationMode(), modKestralMGA::DistanceCalculationMode::MGA94_2020);

  Find<QLineEdit>("txtMaxOrder")->setText("3");
  Find<QLineEdit>("txtAvHeight")->setText("123.456");
  Find<QLineEdit>("txtPlan")->setText(QStringLiteral("/PL\u00c4NE/ABC123"));
  Find<QComboBox>("cboAccuracyType")->setCurrentText(QStringLiteral("Eigene Genauigkeit \u00e4"));
  QTest::mouseClick(Find<QRadioButton>("optTwoPSMs"), Qt::LeftButton);
  Find<QLineEdit>("txtDatum1")->setText("6628/1001");
  Find<QLineEdit>("txtDatum2")->setText(QStringLiteral("6628/\u00e91"));
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  window.SetCalculationMode(modKestralMGA::DistanceCalculationMode::AMG84);

  EXPECT_EQ(settings.MaxOrderText(), "3");
  EXPECT_EQ(settings.AverageHeightText(), "123.456");
  EXPECT_EQ(settings.PlanIdentifier(), "/PL\xC3\x84NE/ABC123");  // a path: the file system's UTF-8
  EXPECT_EQ(settings.AccuracyCriterionText(), "Eigene Genauigkeit \xE4");  // a text: Windows-1252
  EXPECT_TRUE(settings.TwoPsms());
  EXPECT_EQ(settings.Datum1Text(), "6628/1001");
  EXPECT_EQ(settings.Datum2Text(),
            "6628/\xE9"
            "1");
  EXPECT_TRUE(settings.FullDetails());
  EXPECT_EQ(settings.CalculationMode(), modKestralMGA::DistanceCalculationMode::AMG84);
}

TEST_F(MainWindowTest, ExitClosesTheWindowWithoutAQuestion) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  TypeAndEnter("6628/1001");  // unsaved changes
  QToolBar* toolbar = Find<QToolBar>("Toolbar1");
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[5]), Qt::LeftButton);
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_TRUE(m_dialogs.Prompts.empty());
}
