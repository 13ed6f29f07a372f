// The main window: its controls, the mark grid and its in-place editor, the row commands, the
// bearing datum options, Browse, Open, Save, Print and its preview, the start-up dump file, the
// toolbar and Exit.
#include <QCheckBox>
#include <QFontMetrics>
#include <QScrollBar>

#include "GuiTestSupport.h"
#include "app/CommandLine.h"
#include "reports/PsmListReport.h"

namespace {

// Three marks with the given East; North 2.000.
Lines ThreeMarks(const char* east2 = "280000.000") {
  return {MarkTestLine("6628", "1001", "1.000", "2.000"),
          MarkTestLine("6628", "1002", east2, "2.000"),
          MarkTestLine("6628", "1003", "3.000", "2.000")};
}

}  // namespace

TEST_F(MainWindowTest, ControlsCarryTheirNamesCaptionsAndInitialValues) {
  Start();
  // The main window (with the import window it owns), the results and the join calculation window.
  EXPECT_EQ(DescribeControls(*m_window) + DescribeControls(Results()) +
                DescribeControls(m_window->JoinsWindow()),
            Golden("windows.txt"));
  EXPECT_EQ(State(), " @0,0 h0.00");
  // Each column is its sample text's width in the window's font plus the same cell margin.
  const char* samples[] = {"xxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxxx",
                           "xxxxxxxxxxxxxxxx", "  order  ",         "   zone   ",
                           "  datum    ",      "   status      "};
  const QFontMetrics metrics(m_window->font());
  const int chrome = Grid()->columnWidth(0) - metrics.horizontalAdvance(samples[0]);
  EXPECT_TRUE(chrome >= 0 && chrome < 16) << chrome;
  for (int c = 1; c < 8; ++c) {
    EXPECT_EQ(Grid()->columnWidth(c), metrics.horizontalAdvance(samples[c]) + chrome) << c;
  }
}

TEST_F(MainWindowTest, ToolbarButtonsRunTheCommandOfTheirKeyExactlyAndExitAsksNothing) {
  Start();
  QToolBar* toolbar = Find<QToolBar>("Toolbar1");
  m_dialogs.Answer("");
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[0]), Qt::LeftButton);
  QAction stray(QStringLiteral("stray"));  // a key in another letter case matches nothing
  stray.setData(QStringLiteral("open"));
  m_window->Toolbar1_ButtonClick(&stray);
  Click("cmdAdd");
  TypeAndEnter("6628/1001");  // unsaved changes
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[5]), Qt::LeftButton);
  EXPECT_FALSE(m_window->isVisible());
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open Mark Details file");
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

// ---- Typing into cells ----

TEST_F(MainWindowTest, TypingAndEnterStoreByTheCommitRulesAndMoveRight) {
  Start();
  Click("cmdAdd");
  for (const char* text : {"66281001", "280000.5", "1e3", "abc", "2a", "54", "gda2020", "ok"})
    TypeAndEnter(text);
  EXPECT_EQ(m_window->Marks().Row(0),
            (modKestralMGA::MarkRow{"6628/1001", "280000.500", "1000.000", "0.000", "2A", "54",
                                    "GDA2020", "OK"}));
  EXPECT_EQ(State(), "6628/1001,, @2,0 h0.00");  // Enter in the last Status cell appends a row
  // Enter with no editor on an empty cell commits at once: Zone repeats the row above; an empty
  // PSM No. stores nothing and stays.
  ClickCell(2, 5);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 5), "54");
  EXPECT_EQ(State(), "6628/1001,, @2,6 h0.00");
  ClickCell(2, 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(State(), "6628/1001,, @2,0 h0.00");
  // Typed text is stored as Windows-1252 bytes (ö is 0xF6, upper-cased to 0xD6).
  ClickCell(1, 7);
  TypeAndEnter(QStringLiteral("gel\u00f6scht"));
  EXPECT_EQ(Cell(1, 7), "GEL\xD6SCHT");
  EXPECT_EQ(Grid()->model()->index(0, 7).data().toString(), QStringLiteral("GEL\u00d6SCHT"));
}

TEST_F(MainWindowTest, EditorLiesExactlyOverTheCurrentCellAndIsYellowWithoutFrame) {
  Start(WriteFile("three.dmp", ThreeMarks()));
  ClickCell(2, 3);
  Type("7");
  QLineEdit* editor = Editor();
  EXPECT_EQ(State(), "6628/1001,6628/1002,6628/1003, @2,3 [7] h0.000");
  EXPECT_TRUE(editor->hasFocus());
  const QRect cell = Grid()->visualRect(Grid()->model()->index(1, 3));
  EXPECT_EQ(editor->mapToGlobal(QPoint(0, 0)), Grid()->viewport()->mapToGlobal(cell.topLeft()));
  EXPECT_EQ(editor->size(), cell.size());
  EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_FALSE(editor->hasFrame());
}

TEST_F(MainWindowTest, NewRowsAreScrolledIntoView) {
  Lines lines;
  for (int i = 1; i <= 60; ++i)
    lines.push_back(MarkTestLine("6628", std::to_string(1000 + i), "1", "2"));
  Start(WriteFile("sixty.dmp", lines));
  auto visible = [&](int gridRow) {
    return Grid()->viewport()->rect().contains(
        Grid()->visualRect(Grid()->model()->index(gridRow - 1, 0)));
  };
  Grid()->scrollToBottom();
  ClickCell(60, 7);
  TypeAndEnter("ok");  // Enter at the end of the last row
  EXPECT_EQ(m_window->CurrentGridRow(), 61);
  EXPECT_TRUE(visible(61));
  // Add Line brings the new row to the top where the grid can scroll that far, else to its end.
  Click("cmdAdd");
  EXPECT_EQ(m_window->CurrentGridRow(), 62);
  QScrollBar* rows = Grid()->verticalScrollBar();
  EXPECT_GT(rows->maximum(), 0);
  EXPECT_EQ(rows->value(), rows->maximum());
  EXPECT_TRUE(visible(62));
}

TEST_F(MainWindowTest, EscapeArrowsAndAnotherCellAbandonAnEdit) {
  const std::pair<Qt::Key, const char*> cases[] = {
      {Qt::Key_Escape, "@2,1"}, {Qt::Key_Up, "@1,1"}, {Qt::Key_Down, "@3,1"}};
  for (const auto& [key, after] : cases) {
    Start(WriteFile("three.dmp", ThreeMarks()));
    ClickCell(2, 1);
    Type("9");  // typing over a filled cell starts the editor with that letter only
    EXPECT_EQ(State(), "6628/1001,6628/1002,6628/1003, @2,1 [9] h0.000");
    Type("99");
    Press(key);
    EXPECT_EQ(State(), std::string("6628/1001,6628/1002,6628/1003, ") + after + " h0.000");
    EXPECT_EQ(Cell(2, 1), "280000.000");
    EXPECT_TRUE(Grid()->hasFocus());
  }
  // A double click and Enter on a filled cell edit the cell's own text; another cell drops it.
  const QRect cell = Grid()->visualRect(Grid()->model()->index(0, 2));
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(State(), "6628/1001,6628/1002,6628/1003, @1,2 [2.000] h0.000");
  EXPECT_EQ(Editor()->cursorPosition(), 5);
  Type("5");
  ClickCell(1, 1);
  EXPECT_EQ(State(), "6628/1001,6628/1002,6628/1003, @1,1 h0.000");
  EXPECT_EQ(Cell(1, 2), "2.000");
  Press(Qt::Key_Return);
  EXPECT_EQ(State(), "6628/1001,6628/1002,6628/1003, @1,1 [1.000] h0.000");
}

// ---- Row commands, Clear and the bearing datum ----

TEST_F(MainWindowTest, RowCommandsAndTheirRefusals) {
  Start();
  Click("cmdInsert");  // with the title row only, Insert and Delete do nothing
  Click("cmdDelete");
  EXPECT_EQ(State(), " @0,0 h0.00");
  Click("cmdAdd");
  Type("6628");
  Click("cmdAdd");  // drops the edit in progress
  EXPECT_EQ(State(), ",, @2,0 h0.00");
  TypeAndEnter("B");
  ClickCell(1, 0);
  TypeAndEnter("A");
  ClickCell(2, 1);
  Click("cmdInsert");  // the new row is current
  EXPECT_EQ(State(), "A,,B, @2,1 h0.00");
  EXPECT_TRUE(Grid()->hasFocus());
  Click("cmdDelete");  // the row below becomes current
  EXPECT_EQ(State(), "A,B, @2,1 h0.00");
  Click("cmdDelete");  // the new last row becomes current
  EXPECT_EQ(State(), "A, @1,1 h0.00");
  Click("cmdDelete");  // the last mark row is never deleted
  EXPECT_EQ(State(), "A, @1,1 h0.00");
}

TEST_F(MainWindowTest, ClearEmptiesTheListAndTheDatumAndLeavesTheRest) {
  Start(WriteFile("three.dmp", ThreeMarks()));
  Click("optTwoPSMs");
  SetBox("txtDatum1", "6628/1001");
  SetBox("txtDatum2", "6628/1002");
  SetBox("txtPlan", "PLAN");
  SetBox("txtMaxOrder", "3");
  SetBox("txtAvHeight", "15");
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  Find<QComboBox>("cboAccuracyType")->setCurrentText("Rural Areas");
  auto options = [&] {
    QString seen;
    for (const char* box : {"txtPlan", "txtMaxOrder", "txtDatum1", "txtDatum2"})
      seen += Box(box)->text() + "|";
    for (const char* option : {"optTwoPSMs", "optNone", "chkFullDetails"})
      seen += Find<QAbstractButton>(option)->isChecked() ? "1" : "0";
    return (seen + Find<QComboBox>("cboAccuracyType")->currentText()).toStdString();
  };
  EXPECT_EQ(options(), "PLAN|3|6628/1001|6628/1002|101Rural Areas");
  Click("cmdClear");  // the grid, the average height, the option and the datum change, nothing else
  EXPECT_EQ(State(), ", @1,0 h0.000");
  EXPECT_EQ(options(), "PLAN|3|||011Rural Areas");
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(MainWindowTest, ClicksIntoPsmNumbersFillFromThenTo) {
  Start(WriteFile("three.dmp", ThreeMarks()));
  auto datum = [&] { return Box("txtDatum1")->text() + " to " + Box("txtDatum2")->text(); };
  ClickCell(1, 0);  // not while another option is chosen
  Click("optTwoPSMs");
  ClickCell(2, 1);  // another column changes nothing
  EXPECT_EQ(datum(), " to ");
  ClickCell(2, 0);
  EXPECT_EQ(datum(), "6628/1002 to ");
  ClickCell(1, 0);
  ClickCell(3, 0);  // both filled: nothing changes
  EXPECT_EQ(datum(), "6628/1002 to 6628/1001");
}

TEST_F(MainWindowTest, BrowsePutsThePlanPathWithoutExtensionInUpperCase) {
  Start();
  m_dialogs.Answer("/home/surveyor/plans/Abc123.lns");
  m_dialogs.Answer("");  // a cancel changes nothing
  Click("cmdBrowse");
  Click("cmdBrowse");
  EXPECT_EQ(m_dialogs.Prompts[0],
            (ScriptedDialogs::Prompt{false, "Open KESTRAL file", "",
                                     "KESTRAL Lines files (*.LNS)|*.lns", false}));
  EXPECT_EQ(Box("txtPlan")->text(), "/HOME/SURVEYOR/PLANS/ABC123");
}

// ---- Open, Save, Print and the start-up dump file ----

TEST_F(MainWindowTest, OpenFillsTheGridAndTheAverageHeight) {
  const std::string path =
      WriteFile("Marks.csv", {MarkDetailsTestLine({{1, "Map Sheet"}}),
                              MarkTestLine("6628", "1001", "2", "1", "10"),
                              MarkTestLine(" 6628 ", " 1002 ", "2", "1", "20"),
                              MarkTestLine("6628", "1001", "1.000", "2.000", "90")});
  Start();
  Click("cmdAdd");  // an empty first row goes
  m_dialogs.Answer(path);
  m_dialogs.Answer("");  // a cancel changes nothing
  Trigger("mnuFileOpen");
  Trigger("mnuFileOpen");
  EXPECT_EQ(
      m_dialogs.Prompts[0],
      (ScriptedDialogs::Prompt{false, "Open Mark Details file", "",
                               "CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp", false}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
  // (10 + 20 + 90) / 3: the average is taken before the repeated 6628/1001 goes.
  EXPECT_EQ(State(), "6628/1001,6628/1002, @1,0 h40.000");
  EXPECT_EQ(Cell(1, 1), "2");
}

// The reader's warning shows after the grid is filled; the edit in progress is dropped.
TEST_F(MainWindowTest, OpenShowsTheReadersMessagesAfterTheGridAndDropsAnEdit) {
  const std::string odd =
      WriteFile("Odd.csv", {MarkTestLine("6628", "1002", "1", "2", "10"), "6628,1003,,,,54"});
  Start(WriteFile("one.dmp", {MarkTestLine("6628", "1001", "1", "2")}));
  std::string shownWith;
  m_dialogs.OnMessage = [&] { shownWith = State(); };
  ClickCell(1, 3);
  Type("12");
  m_dialogs.Answer(odd);
  Trigger("mnuFileOpen");
  EXPECT_EQ(m_dialogs.Messages, Msgs({{"Lines with too few fields in " + Upper(odd) + ": 2",
                                       "Open CSV file error", MessageIcon::Exclamation}}));
  EXPECT_EQ(shownWith, "6628/1001,6628/1002, @1,0 h10.000");
  m_dialogs.OnMessage = nullptr;
}

TEST_F(MainWindowTest, SavePrintAndPreviewRefuseAnEmptyListBeforeAnyDialog) {
  Start();
  Click("cmdAdd");  // an empty row is still an empty list
  for (const char* command : {"mnuFileSave", "mnuFilePrint", "mnuFilePrintPreview"})
    Trigger(command);
  const Msg noPrint{"Nothing in list to print", "Print PSM list error", MessageIcon::Exclamation};
  EXPECT_EQ(m_dialogs.Messages,
            Msgs({{"Nothing in list to save", "Save PSM data error", MessageIcon::Exclamation},
                  noPrint,
                  noPrint}));
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  EXPECT_TRUE(m_dialogs.PrinterPrompts.empty());
  EXPECT_TRUE(m_dialogs.Previews.empty());
}

TEST_F(MainWindowTest, SaveWritesTheCompleteRows) {
  Start();
  Click("cmdAdd");
  for (const char* text : {"66281001", "280000", "6130000", "12.5", "2", "54", "gda2020", "ok"})
    TypeAndEnter(text);
  TypeAndEnter("6628/1002");  // incomplete: no East or North
  const std::string path = PathIn("saved.csv");
  m_dialogs.Answer(path);
  Trigger("mnuFileSave");
  EXPECT_EQ(m_dialogs.Prompts[0], (ScriptedDialogs::Prompt{true, "Save to CSV file", "",
                                                           "CSV files (*.CSV)|*.csv", true}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(ReadBytes(path),
            "6628,1001,,,,54,280000.000,6130000.000,,,,2,,GDA2020,,,,,,,,12.500,,,,,,,,,,,OK,,,,,,,"
            ",,,\r\n");
}

TEST_F(MainWindowTest, PrintSendsTheListAndThePreviewShowsTheSamePages) {
  Start(WriteFile("marks.dmp",
                  {MarkTestLine("6628", "1001", "280000.000", "6130000.000", "12.5", "2"),
                   MarkTestLine("6628", "1002", "281000.000", "6131000.000", "", "3")}));
  SetBox("txtPlan", QStringLiteral("D:\\PLANS\\DP1234"));
  modKestralMGA::RecordingColumnWriter expected;
  modKestralMGA::PrintPSMList(m_window->Marks(), "D:\\PLANS\\DP1234", expected);
  ExpectPrintAndPreview([&] { Trigger("mnuFilePrint"); }, [&] { Trigger("mnuFilePrintPreview"); },
                        PrintableLines(expected),
                        {"Printing completed", "Print PSM list", MessageIcon::Information});
}

TEST_F(MainWindowTest, PrintDialogCancelledOrPrinterFailing) {
  Start(WriteFile("marks.dmp", {MarkTestLine("6628", "1001", "280000.000", "6130000.000")}));
  ExpectPrintCancelAndFailure(
      *m_window, [&] { Trigger("mnuFilePrint"); }, "Print PSM list error");
  Click("cmdAdd");  // the window stays usable
  EXPECT_EQ(State(), "6628/1001,, @2,0 h0.000");
}

// The dump file named on the command line: read into the list, or its failure and the warning;
// a path with blanks in double quotes (as a desktop shortcut passes it) is read too.
TEST_F(MainWindowTest, StartUpReadsTheDumpFileOrWarns) {
  const std::string good = WriteFile("my list.dmp", {MarkTestLine("6628", "1001", "1", "2", "10"),
                                                     MarkTestLine("6628", "1002", "3", "4", ""),
                                                     MarkTestLine("6628", "1001", "9", "9", "20")});
  const Msg warning{"No mark details found in dump file", "Open Dump file error",
                    MessageIcon::Exclamation};
  const std::tuple<std::string, Msgs, std::string> cases[] = {
      {"\"" + good + "\"", {}, "6628/1001,6628/1002, @1,0 h15.000"},
      {WriteFile("ten.dmp", {"1,2,3,4,5,6,7,8,9,10,11"}), {warning}, " @0,0 h0.00"}};
  for (const auto& [argument, messages, state] : cases) {
    m_dialogs.Messages.clear();
    Start(DumpPathFromArguments({argument}));
    EXPECT_EQ(m_dialogs.Messages, messages);
    EXPECT_EQ(State(), state);
    EXPECT_TRUE(m_window->isVisible());
  }
}

TEST_F(MainWindowTest, SettingsReadTheLiveControls) {
  const modKestralMGA::CompareSettings& settings = Start();
  SetBox("txtMaxOrder", "3");
  SetBox("txtAvHeight", "123.456");
  SetBox("txtPlan", QStringLiteral("/PL\u00c4NE/ABC123"));
  Find<QComboBox>("cboAccuracyType")->setCurrentText(QStringLiteral("Eigene Genauigkeit \u00e4"));
  Click("optTwoPSMs");
  SetBox("txtDatum1", "6628/1001");
  SetBox("txtDatum2", QStringLiteral("6628/\u00e91"));
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  m_window->SetCalculationMode(modKestralMGA::DistanceCalculationMode::AMG84);
  // A path is the file system's UTF-8; the other texts are Windows-1252.
  EXPECT_EQ(settings.MaxOrderText() + "|" + settings.AverageHeightText() + "|" +
                settings.PlanIdentifier() + "|" + settings.AccuracyCriterionText() + "|" +
                settings.Datum1Text() + "|" + settings.Datum2Text(),
            "3|123.456|/PL\xC3\x84NE/ABC123|Eigene Genauigkeit \xE4|6628/1001|6628/\xE9"
            "1");
  EXPECT_TRUE(settings.TwoPsms() && settings.FullDetails());
  EXPECT_EQ(settings.CalculationMode(), modKestralMGA::DistanceCalculationMode::AMG84);
}
