// The main window: its controls, the mark grid and its in-place editor, the row commands, the
// bearing datum options, Browse, Open, Save, Print and its preview, the start-up dump file, the
// toolbar and Exit.
#include <QCheckBox>
#include <QFontMetrics>
#include <QRadioButton>
#include <QScrollBar>

#include "GuiTestSupport.h"
#include "PrintTestSupport.h"
#include "app/CommandLine.h"
#include "joins/frmMGAJoins.h"
#include "reports/PsmListReport.h"

using At = std::pair<int, int>;

TEST_F(MainWindowTest, ControlsCarryTheirNamesCaptionsAndInitialValues) {
  Start();
  // The main window (with the import window it owns), the results and the join calculation window.
  EXPECT_EQ(DescribeControls(*m_window) + DescribeControls(m_window->ResultsWindow()) +
                DescribeControls(m_window->JoinsWindow()),
            Golden("windows.txt"));
  EXPECT_FALSE(Editor()->isVisible());
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

TEST_F(MainWindowTest, ToolbarButtonRunsTheCommandOfItsKeyExactly) {
  Start();
  QToolBar* toolbar = Find<QToolBar>("Toolbar1");
  m_dialogs.Answer("");
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[0]), Qt::LeftButton);
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open Mark Details file");
  QAction stray(QStringLiteral("stray"));  // a key in another letter case matches nothing
  stray.setData(QStringLiteral("open"));
  m_window->Toolbar1_ButtonClick(&stray);
  EXPECT_EQ(m_dialogs.Prompts.size(), 1u);
  // Exit closes the window without a question, unsaved changes or not.
  Click("cmdAdd");
  TypeAndEnter("6628/1001");
  QTest::mouseClick(toolbar->widgetForAction(toolbar->actions()[5]), Qt::LeftButton);
  EXPECT_FALSE(m_window->isVisible());
  EXPECT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

// ---- Typing into cells ----

TEST_F(MainWindowTest, TypingAndEnterStoreByTheCommitRulesAndMoveRight) {
  Start();
  Click("cmdAdd");
  const std::pair<QString, std::string> steps[] = {{"66281001", "6628/1001"},
                                                   {"280000.5", "280000.500"},
                                                   {"1e3", "1000.000"},
                                                   {"abc", "0.000"},
                                                   {"2a", "2A"},
                                                   {"54", "54"},
                                                   {"gda2020", "GDA2020"},
                                                   {"found", "FOUND"}};
  for (int column = 0; column < 8; ++column) {
    ASSERT_EQ(CurrentCell(), At(1, column));
    TypeAndEnter(steps[column].first);
    EXPECT_EQ(Cell(1, column), steps[column].second) << column;
    EXPECT_FALSE(Editor()->isVisible());
  }
  // Enter in the Status cell of the last row appends a row and moves to its PSM No.
  EXPECT_EQ(m_window->GridRows(), 3);
  EXPECT_EQ(CurrentCell(), At(2, 0));
  // Enter with no editor on an empty cell commits at once: Zone repeats the row above; an empty
  // PSM No. stores nothing and stays.
  ClickCell(2, 5);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 5), "54");
  EXPECT_EQ(CurrentCell(), At(2, 6));
  ClickCell(2, 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 0), "");
  EXPECT_EQ(CurrentCell(), At(2, 0));
  // Typed text is stored as Windows-1252 bytes (ö is 0xF6, upper-cased to 0xD6).
  ClickCell(1, 7);
  TypeAndEnter(QStringLiteral("gel\u00f6scht"));
  EXPECT_EQ(Cell(1, 7), "GEL\xD6SCHT");
  EXPECT_EQ(Grid()->model()->index(0, 7).data().toString(), QStringLiteral("GEL\u00d6SCHT"));
}

TEST_F(MainWindowTest, EditorLiesExactlyOverTheCurrentCellAndIsYellowWithoutFrame) {
  Start();
  Click("cmdAdd");
  Click("cmdAdd");
  ClickCell(2, 3);
  Type("7");
  QLineEdit* editor = Editor();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "7");
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
  EXPECT_EQ(CurrentCell(), At(61, 0));
  EXPECT_TRUE(visible(61));
  // Add Line brings the new row to the top where the grid can scroll that far, else to its end.
  Click("cmdAdd");
  EXPECT_EQ(CurrentCell(), At(62, 0));
  QScrollBar* rows = Grid()->verticalScrollBar();
  EXPECT_GT(rows->maximum(), 0);
  EXPECT_EQ(rows->value(), rows->maximum());
  EXPECT_TRUE(visible(62));
}

TEST_F(MainWindowTest, EscapeArrowsAndAnotherCellAbandonAnEdit) {
  const std::pair<Qt::Key, At> cases[] = {
      {Qt::Key_Escape, {2, 1}}, {Qt::Key_Up, {1, 1}}, {Qt::Key_Down, {3, 1}}};
  for (const auto& [key, after] : cases) {
    SCOPED_TRACE(key);
    Start(WriteFile("three.dmp", {MarkTestLine("6628", "1001", "1.000", "2.000"),
                                  MarkTestLine("6628", "1002", "280000.000", "2.000"),
                                  MarkTestLine("6628", "1003", "3.000", "2.000")}));
    ClickCell(2, 1);
    Type("9");  // typing over a filled cell starts the editor with that letter only
    ASSERT_TRUE(Editor()->isVisible());
    EXPECT_EQ(Editor()->text(), "9");
    Type("99");
    Press(key);
    EXPECT_EQ(Cell(2, 1), "280000.000");
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(CurrentCell(), after);
    EXPECT_TRUE(Grid()->hasFocus());
  }
  // A double click and Enter on a filled cell edit the cell's own text; another cell drops it.
  const QRect cell = Grid()->visualRect(Grid()->model()->index(0, 2));
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_TRUE(Editor()->isVisible());
  EXPECT_EQ(Editor()->text(), "2.000");
  EXPECT_EQ(Editor()->cursorPosition(), 5);
  Type("5");
  ClickCell(1, 1);
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(Cell(1, 2), "2.000");
  Press(Qt::Key_Return);
  EXPECT_EQ(Editor()->text(), "1.000");
}

// ---- Row commands, Clear and the bearing datum ----

TEST_F(MainWindowTest, RowCommandsAndTheirRefusals) {
  Start();
  Click("cmdInsert");  // with the title row only, Insert and Delete do nothing
  Click("cmdDelete");
  EXPECT_EQ(m_window->GridRows(), 1);
  Click("cmdAdd");
  Type("6628");
  Click("cmdAdd");  // drops the edit in progress
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(PsmNumbers(), Lines({"", ""}));
  TypeAndEnter("B");
  ClickCell(1, 0);
  TypeAndEnter("A");
  ClickCell(2, 1);
  Click("cmdInsert");  // at row 2: B moves down, the new row is current
  EXPECT_EQ(PsmNumbers(), Lines({"A", "", "B"}));
  EXPECT_EQ(CurrentCell(), At(2, 1));
  EXPECT_TRUE(Grid()->hasFocus());
  Click("cmdDelete");  // the row below becomes current
  EXPECT_EQ(PsmNumbers(), Lines({"A", "B"}));
  EXPECT_EQ(CurrentCell(), At(2, 1));
  Click("cmdDelete");  // the new last row becomes current
  EXPECT_EQ(CurrentCell(), At(1, 1));
  Click("cmdDelete");  // the last mark row is never deleted
  EXPECT_EQ(PsmNumbers(), Lines({"A"}));
}

TEST_F(MainWindowTest, ClearEmptiesTheListAndTheDatumAndLeavesTheRest) {
  Start(WriteFile("two.dmp", {MarkTestLine("6628", "1001", "1", "2", "10"),
                              MarkTestLine("6628", "1002", "1", "2", "20")}));
  Click("optTwoPSMs");
  SetBox("txtDatum1", "6628/1001");
  SetBox("txtDatum2", "6628/1002");
  SetBox("txtPlan", "PLAN");
  SetBox("txtMaxOrder", "3");
  Find<QCheckBox>("chkFullDetails")->setChecked(true);
  Find<QComboBox>("cboAccuracyType")->setCurrentText("Rural Areas");
  const std::string before = DescribeControls(*m_window);
  Click("cmdClear");
  EXPECT_EQ(m_window->Marks().Rows(), std::vector<modKestralMGA::MarkRow>(1));
  EXPECT_EQ(CurrentCell(), At(1, 0));
  EXPECT_TRUE(Grid()->hasFocus());
  EXPECT_TRUE(m_dialogs.Messages.empty());
  // Exactly these controls change: the average height, the options and the two datum boxes.
  std::string expected = before;
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"Frame1 | 15.000", "Frame1 | 0.000"},
           {"Frame1 | 2 | PSM", "Frame1 | 1 | PSM"},
           {"2 PSM's | ticked", "2 PSM's | "},
           {"None of the above | ", "None of the above | ticked"},
           {"Frame3 | 6628/1001", "Frame3 | "},
           {"Frame3 | 6628/1002", "Frame3 | "}}) {
    ASSERT_NE(expected.find(from), std::string::npos) << from;
    expected.replace(expected.find(from), from.size(), to);
  }
  EXPECT_EQ(DescribeControls(*m_window), expected);
}

TEST_F(MainWindowTest, ClicksIntoPsmNumbersFillFromThenTo) {
  Start(WriteFile("three.dmp",
                  {MarkTestLine("6628", "1001", "1", "2"), MarkTestLine("6628", "1002", "1", "2"),
                   MarkTestLine("6628", "1003", "1", "2")}));
  ClickCell(1, 0);  // not while another option is chosen
  EXPECT_EQ(Box("txtDatum1")->text(), "");
  Click("optTwoPSMs");
  ClickCell(2, 1);  // another column changes nothing
  EXPECT_EQ(Box("txtDatum1")->text(), "");
  ClickCell(2, 0);
  EXPECT_EQ(Box("txtDatum2")->text(), "");
  ClickCell(1, 0);
  ClickCell(3, 0);  // both filled: nothing changes
  EXPECT_EQ(Box("txtDatum1")->text(), "6628/1002");
  EXPECT_EQ(Box("txtDatum2")->text(), "6628/1001");
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
                              MarkTestLine("6628", "1001", "280000.000", "6130000.000", "10"),
                              MarkTestLine(" 6628 ", " 1002 ", "281000.000", "6131000.000", "20"),
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
  EXPECT_EQ(PsmNumbers(), Lines({"6628/1001", "6628/1002"}));
  EXPECT_EQ(Cell(1, 1), "280000.000");
  EXPECT_EQ(Box("txtAvHeight")->text(), "40.000");  // (10 + 20 + 90) / 3, before 1001 repeated goes
  EXPECT_EQ(CurrentCell(), At(1, 0));
}

TEST_F(MainWindowTest, OpenShowsTheReadersMessagesAndDropsAnEdit) {
  const std::string refused = WriteFile("short.csv", {"a,b,c,d,e,f,g,h,i,j,k"});  // 10 commas
  const std::string missing = PathIn("Gone.csv");
  const std::string odd =
      WriteFile("Odd.csv", {MarkTestLine("6628", "1002", "1", "2", "10"), "6628,1003,,,,54"});
  const Msg notMarkDetails{"This is not a Mark Details file", "Open CSV file error",
                           MessageIcon::Critical};
  const struct {
    std::string path;
    Msgs messages;
    Lines psms;
  } cases[] = {{refused, {notMarkDetails}, {"6628/1001"}},
               {missing,
                {{"Cannot open " + Upper(missing) + ": No such file or directory",
                  "Open CSV file error", MessageIcon::Critical},
                 notMarkDetails},
                {"6628/1001"}},
               // The line messages come after the marks are in the grid.
               {odd,
                {{"Lines with too few fields in " + Upper(odd) + ": 2", "Open CSV file error",
                  MessageIcon::Exclamation}},
                {"6628/1001", "6628/1002"}}};
  for (const auto& c : cases) {
    m_dialogs.Messages.clear();
    Start(WriteFile("one.dmp", {MarkTestLine("6628", "1001", "1", "2")}));
    Lines inGrid;
    m_dialogs.OnMessage = [&] { inGrid = PsmNumbers(); };
    ClickCell(1, 3);
    Type("12");
    m_dialogs.Answer(c.path);
    Trigger("mnuFileOpen");
    EXPECT_EQ(m_dialogs.Messages, c.messages);
    EXPECT_EQ(inGrid, c.psms);
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(Cell(1, 3), "");
    m_dialogs.OnMessage = nullptr;
  }
}

TEST_F(MainWindowTest, SavePrintAndPreviewRefuseAnEmptyListBeforeAnyDialog) {
  Start();
  Click("cmdAdd");  // an empty row is still an empty list
  for (const char* command : {"mnuFileSave", "mnuFilePrint", "mnuFilePrintPreview"})
    Trigger(command);
  EXPECT_EQ(m_dialogs.Messages,
            Msgs({{"Nothing in list to save", "Save PSM data error", MessageIcon::Exclamation},
                  {"Nothing in list to print", "Print PSM list error", MessageIcon::Exclamation},
                  {"Nothing in list to print", "Print PSM list error", MessageIcon::Exclamation}}));
  EXPECT_TRUE(m_dialogs.Prompts.empty());
  EXPECT_TRUE(m_dialogs.PrinterPrompts.empty());
  EXPECT_TRUE(m_dialogs.Previews.empty());
}

TEST_F(MainWindowTest, SaveWritesTheCompleteRows) {
  Start();
  Click("cmdAdd");
  for (const char* text : {"66281001", "280000", "6130000", "12.5", "2", "54", "gda2020", "ok"}) {
    TypeAndEnter(QString::fromLatin1(text));
  }
  TypeAndEnter("6628/1002");  // incomplete: no East or North
  const std::string path = PathIn("saved.csv");
  m_dialogs.Answer(path);
  Trigger("mnuFileSave");
  EXPECT_EQ(m_dialogs.Prompts,
            std::vector<ScriptedDialogs::Prompt>(
                {{true, "Save to CSV file", "", "CSV files (*.CSV)|*.csv", true}}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_EQ(ReadWholeFile(path),
            "6628,1001,,,,54,280000.000,6130000.000,,,,2,,GDA2020,,,,,,,,"
            "12.500,,,,,,,,,,,OK,,,,,,,,,,\r\n");
}

TEST_F(MainWindowTest, PrintSendsTheListAndThePreviewShowsTheSamePages) {
  Start(WriteFile("marks.dmp",
                  {MarkTestLine("6628", "1001", "280000.000", "6130000.000", "12.5", "2"),
                   MarkTestLine("6628", "1002", "281000.000", "6131000.000", "", "3")}));
  SetBox("txtPlan", QStringLiteral("D:\\PLANS\\DP1234"));
  const std::string pdf = PathIn("list.pdf");
  m_dialogs.AnswerPrinter(pdf);
  Trigger("mnuFilePrint");
  EXPECT_EQ(m_dialogs.Messages,
            Msgs({{"Printing completed", "Print PSM list", MessageIcon::Information}}));
  modKestralMGA::RecordingColumnWriter expected;
  modKestralMGA::PrintPSMList(m_window->Marks(), "D:\\PLANS\\DP1234", expected);
  const auto pages = PrintedPages(pdf);
  EXPECT_EQ(pages, std::vector<Lines>({PrintableLines(expected)}));
  m_dialogs.PreviewPdf = PathIn("preview.pdf");
  Trigger("mnuFilePrintPreview");
  EXPECT_EQ(m_dialogs.Previews.size(), 1u);
  EXPECT_EQ(PrintedPages(m_dialogs.PreviewPdf), pages);
  EXPECT_EQ(m_dialogs.Messages.size(), 1u);
}

TEST_F(MainWindowTest, PrintDialogCancelledOrPrinterFailing) {
  const std::pair<const char*, Lines> cases[] = {
      {"", {}}, {"no-such-folder/list.pdf", {"The printer could not be started"}}};
  for (const auto& [answer, texts] : cases) {
    m_dialogs.Messages.clear();
    Start(WriteFile("marks.dmp", {MarkTestLine("6628", "1001", "280000.000", "6130000.000")}));
    m_dialogs.AnswerPrinter(*answer == '\0' ? std::string() : PathIn(answer));
    Trigger("mnuFilePrint");
    Lines shown;
    for (const auto& message : m_dialogs.Messages) {
      shown.push_back(message.Text);
      EXPECT_EQ(message.Title, "Print PSM list error");
    }
    EXPECT_EQ(shown, texts);
    Click("cmdAdd");  // the window stays usable
    EXPECT_EQ(PsmNumbers(), Lines({"6628/1001", ""}));
  }
}

// The dump file named on the command line: read into the list, or its failure and the warning;
// a path with blanks in double quotes (as a desktop shortcut passes it) is read too.
TEST_F(MainWindowTest, StartUpReadsTheDumpFileOrWarns) {
  const std::string good =
      WriteFile("my list.dmp", {MarkTestLine("6628", "1001", "280000", "6130000", "10"),
                                MarkTestLine("6628", "1002", "281000", "6131000", ""),
                                MarkTestLine("6628", "1001", "9", "9", "20")});
  const std::string folder = PathIn("");
  const Msg warning{"No mark details found in dump file", "Open Dump file error",
                    MessageIcon::Exclamation};
  const struct {
    std::string argument;
    Msgs messages;
    Lines psms;
    const char* height;
  } cases[] = {{"\"" + good + "\"", {}, {"6628/1001", "6628/1002"}, "15.000"},
               {WriteFile("ten.dmp", {"1,2,3,4,5,6,7,8,9,10,11"}), {warning}, {}, "0.00"},
               {folder,
                {{"Cannot open " + folder + ": Is a directory", "Open CSV file error",
                  MessageIcon::Critical},
                 warning},
                {},
                "0.00"}};
  for (const auto& c : cases) {
    m_dialogs.Messages.clear();
    Start(DumpPathFromArguments({c.argument}));
    EXPECT_EQ(m_dialogs.Messages, c.messages);
    EXPECT_EQ(PsmNumbers(), c.psms);
    EXPECT_EQ(Box("txtAvHeight")->text(), c.height);
    EXPECT_TRUE(m_window->isVisible());
  }
}

TEST_F(MainWindowTest, SettingsReadTheLiveControls) {
  frmKestralMGA& window = Start();
  const modKestralMGA::CompareSettings& settings = window;
  SetBox("txtMaxOrder", "3");
  SetBox("txtAvHeight", "123.456");
  SetBox("txtPlan", QStringLiteral("/PL\u00c4NE/ABC123"));
  Find<QComboBox>("cboAccuracyType")->setCurrentText(QStringLiteral("Eigene Genauigkeit \u00e4"));
  Click("optTwoPSMs");
  SetBox("txtDatum1", "6628/1001");
  SetBox("txtDatum2", QStringLiteral("6628/\u00e91"));
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
