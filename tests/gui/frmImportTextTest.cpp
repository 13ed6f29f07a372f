// The delimited text import: the Import command of the main window and the import window
// frmImportText with its sample line, field list, column numbers, OK and Cancel.
#include "GuiTestSupport.h"
#include "common/ValueList.h"
#include "marks/ui/frmImportText.h"

namespace {

class ImportTextTest : public MainWindowTest {
 protected:
  frmImportText& Importer() { return m_window->ImportWindow(); }
  template <typename Widget>
  Widget* InImporter(const char* name) {
    return FindIn<Widget>(Importer(), name);
  }
  void Import(const std::string& path) {
    m_dialogs.Answer(path);
    Trigger("mnuFileImport");
  }
  void ClickIn(const char* button) { MainWindowTest::ClickIn(Importer(), button); }
};

}  // namespace

TEST_F(ImportTextTest, ImportShowsTheSampleLineAndItsFieldsWithoutBlocking) {
  Start();
  const std::string path = WriteFile("points.txt", {"ab", "", "6628/1001;280000,123;6130000,456"});
  Import(path);
  EXPECT_EQ(m_dialogs.Prompts[0], (ScriptedDialogs::Prompt{false, "Open file of coordinates", "",
                                                           "All files (*.*)|*.*", false}));
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_TRUE(Importer().isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(InImporter<QLineEdit>("txtSampleLine")->text(), "6628/1001;280000,123;6130000,456");
  EXPECT_EQ(InImporter<QLabel>("lblSampleLine")->text().toStdString(),
            "Sample line from " + Upper(path));
  EXPECT_EQ(InImporter<QLabel>("lblSampleFields")->text(),
            QString::fromUtf8("1:\u00A06628/1001   2:\u00A0280000   3:\u00A0123   "
                              "4:\u00A06130000   5:\u00A0456"));
  // The list follows the sample when the user changes it.
  InImporter<QLineEdit>("txtSampleLine")->setText(QStringLiteral("PSM 17 E 5"));
  EXPECT_EQ(InImporter<QLabel>("lblSampleFields")->text(),
            QString::fromUtf8("1:\u00A017   2:\u00A05"));
}

TEST_F(ImportTextTest, OKReadsTheColumnNumbersAndTwoMarksCloseTheWindow) {
  Start();
  Import(WriteFile("one.txt", {"Point East North", "6628/1001, 280000.123, 6130000.456, "}));
  ClickIn("cmdOK");
  EXPECT_EQ(m_window->Marks().Row(0),
            (modKestralMGA::MarkRow{"6628/1001", "280000.123", "6130000.456", "", "", "", "", ""}));
  EXPECT_TRUE(Importer().isVisible());  // one mark is not enough to compare
  EXPECT_TRUE(InImporter<QPushButton>("cmdOK")->isEnabled());
  EXPECT_EQ(Importer().cursor().shape(), Qt::ArrowCursor);  // the busy pointer is gone

  const std::string path =
      WriteFile("pts.txt", {"E 280000.5 N 6130000.25 H 45.6m Z 54 P 7", "E 1 N 2 H -3 Z 54 P 8"});
  Import(path);
  const char* numbers[] = {"5", "1", " 2", "3", "4abc"};
  const char* boxes[] = {"txtPoint", "txtEast", "txtNorth", "txtHeight", "txtZone"};
  for (int i = 0; i < 5; ++i) InImporter<QLineEdit>(boxes[i])->setText(numbers[i]);
  ClickIn("cmdOK");
  EXPECT_FALSE(Importer().isVisible());
  EXPECT_EQ(m_window->Marks().Row(1),
            (modKestralMGA::MarkRow{"7", "280000.5", "6130000.25", "45.6", "", "54", "", ""}));
  EXPECT_EQ(Cell(3, 3), "3");  // the minus sign separates: the sign is lost
  // The window was only hidden: the next import finds the numbers as the user left them.
  Import(path);
  ClickIn("cmdOK");
  EXPECT_EQ(State(), "6628/1001,7,8,7,8, @3,0 h0.00");
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(ImportTextTest, FileWithoutASampleLineIsRefusedWithItsMessages) {
  Start();
  const std::string missing = PathIn("missing.txt");
  Import(missing);
  EXPECT_EQ(m_dialogs.Messages,
            Msgs({{"Cannot open " + Upper(missing) + ": No such file or directory",
                   "Import file error", MessageIcon::Critical},
                  {"Nothing found in file", "Import error", MessageIcon::Exclamation}}));
  EXPECT_FALSE(Importer().isVisible());
}

TEST_F(ImportTextTest, FailureDuringOKKeepsTheRowsReadAndTheWindowOpen) {
  Start();
  const std::string path =
      WriteFile("long.txt", {"1 280000 6130000", "2 281000 6131000",
                             "3 " + std::string(modKestralMGA::kMaxValueLength + 1, '4')});
  Import(path);
  ClickIn("cmdOK");
  EXPECT_EQ(m_dialogs.Messages, Msgs({{"Value too long at line 3 of " + Upper(path),
                                       "Import file error", MessageIcon::Critical}}));
  EXPECT_TRUE(State().starts_with("1,2, @")) << State();
  EXPECT_TRUE(Importer().isVisible());  // two marks, but the import failed
  EXPECT_TRUE(InImporter<QPushButton>("cmdOK")->isEnabled());
}

TEST_F(ImportTextTest, AnIncompleteLastRowAndAnEditGoBeforeTheSample) {
  Start();
  Click("cmdAdd");
  Type(QStringLiteral("66"));
  m_dialogs.Answer("");  // cancelled: before the incomplete row is looked at
  Trigger("mnuFileImport");
  EXPECT_EQ(State(), ", @1,0 h0.00");
  EXPECT_FALSE(Importer().isVisible());
  Import(WriteFile("p.txt", {"1 280000 6130000"}));
  EXPECT_EQ(Grid()->model()->rowCount(), 0);
  ClickIn("cmdCancel");
  EXPECT_FALSE(Importer().isVisible());
  EXPECT_EQ(Grid()->model()->rowCount(), 0);
  EXPECT_TRUE(m_dialogs.Messages.empty());
}
