// The delimited text import: the Import command of the main window and the import window
// frmImportText with its sample line, field list, column numbers, OK and Cancel.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "common/ValueList.h"
#include "marks/ui/MarkTableModel.h"
#include "marks/ui/frmImportText.h"

using modKestralMGA::MessageIcon;

namespace {

constexpr const char* kNothingFound = "Nothing found in file";

// The path as the program shows it: upper case.
std::string Upper(const std::string& path) {
  return QFile::encodeName(QFile::decodeName(QByteArray::fromStdString(path)).toUpper())
      .toStdString();
}

class ImportTextTest : public MainWindowTest {
 protected:
  frmImportText& Importer() { return m_window->ImportWindow(); }

  template <typename Widget>
  Widget* InImporter(const char* name) {
    return FindIn<Widget>(Importer(), name);
  }

  QLineEdit* Box(const char* name) { return InImporter<QLineEdit>(name); }

  // Writes bytes unchanged to a file of the temporary folder; returns its path.
  std::string WriteBytes(const std::string& name, const QByteArray& bytes) {
    const std::string path = PathIn(name);
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  // Runs the Import command on path.
  void Import(const std::string& path) {
    m_dialogs.Answer(path);
    m_window->mnuFileImport_Click();
  }

  void ClickOK() { QTest::mouseClick(InImporter<QPushButton>("cmdOK"), Qt::LeftButton); }

  // The grid as the view shows it: the model's rows.
  int ModelRows() { return Grid()->model()->rowCount(); }
};

}  // namespace

TEST_F(ImportTextTest, WindowIsCreatedHiddenWithItsControlsAndInitialColumnNumbers) {
  Start();
  frmImportText& importer = Importer();
  EXPECT_FALSE(importer.isVisible());
  EXPECT_EQ(importer.windowTitle(), "Import delimited text file form");
  EXPECT_EQ(InImporter<QGroupBox>("Frame1")->title(),
            "Enter column number from left for each field");
  EXPECT_EQ(InImporter<QLabel>("lblSampleLine")->text(), "Sample Line");
  EXPECT_EQ(Box("txtSampleLine")->text(), "");

  const std::vector<std::tuple<const char*, const char*, const char*, const char*>> boxes = {
      {"txtPoint", "1", "lblPoint", "Point"},
      {"txtEast", "2", "lblEast", "East"},
      {"txtNorth", "3", "lblNorth", "North"},
      {"txtHeight", "0", "lblHeight", "Height"},
      {"txtZone", "0", "lblZone", "Zone"}};
  for (const auto& [box, initial, label, caption] : boxes) {
    EXPECT_EQ(Box(box)->text(), initial) << box;
    EXPECT_EQ(InImporter<QLabel>(label)->text(), caption) << label;
    EXPECT_EQ(InImporter<QLabel>(label)->buddy(), Box(box)) << label;
  }
  auto* ok = InImporter<QPushButton>("cmdOK");
  auto* cancel = InImporter<QPushButton>("cmdCancel");
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_EQ(ok->toolTip(), "Click here to load coordinates");
  EXPECT_EQ(cancel->text(), "Cancel");
  EXPECT_EQ(cancel->toolTip(), "Click here to cancel the form");
}

TEST_F(ImportTextTest, ImportShowsTheFirstLongLineAndThePathInUpperCaseWithoutBlocking) {
  Start();
  const std::string path =
      WriteFile("points.txt", {"ab", "", "xyz", "6628/1001, 280000.123, 6130000.456", "9 9 9"});
  Import(path);
  ASSERT_EQ(m_dialogs.Prompts.size(), 1u);
  EXPECT_FALSE(m_dialogs.Prompts[0].Save);
  EXPECT_EQ(m_dialogs.Prompts[0].Title, "Open file of coordinates");
  EXPECT_EQ(m_dialogs.Prompts[0].Filter, "All files (*.*)|*.*");
  EXPECT_TRUE(m_dialogs.Messages.empty());

  EXPECT_TRUE(Importer().isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Box("txtSampleLine")->text(), "6628/1001, 280000.123, 6130000.456");
  EXPECT_EQ(InImporter<QLabel>("lblSampleLine")->text().toStdString(),
            "Sample line from " + Upper(path));
  EXPECT_EQ(InImporter<QLabel>("lblSampleFields")->text(),
            QString::fromUtf8("1:\u00A06628/1001   2:\u00A0280000.123   3:\u00A06130000.456"));
}

TEST_F(ImportTextTest, FieldListShowsADecimalCommaSplittingANumber) {
  Start();
  Import(WriteFile("semicolon.csv", {"6628/1001;280000,123;6130000,456;45,6"}));
  EXPECT_EQ(InImporter<QLabel>("lblSampleFields")->text(),
            QString::fromUtf8("1:\u00A06628/1001   2:\u00A0280000   3:\u00A0123   "
                              "4:\u00A06130000   5:\u00A0456   6:\u00A045   7:\u00A06"));
  // The list follows the sample when the user changes it.
  Box("txtSampleLine")->setText(QStringLiteral("PSM 17 E 5"));
  EXPECT_EQ(InImporter<QLabel>("lblSampleFields")->text(),
            QString::fromUtf8("1:\u00A017   2:\u00A05"));
}

TEST_F(ImportTextTest, OnePointLeavesTheWindowOpenTwoCloseIt) {
  Start();
  Import(WriteFile("one.txt", {"Point East North", "6628/1001, 280000.123, 6130000.456, "}));
  ClickOK();
  ASSERT_EQ(ModelRows(), 1);
  EXPECT_EQ(m_window->Marks().Row(0),
            (modKestralMGA::MarkRow{"6628/1001", "280000.123", "6130000.456", "", "", "", "", ""}));
  EXPECT_TRUE(Importer().isVisible());  // one mark is not enough to compare
  EXPECT_TRUE(InImporter<QPushButton>("cmdOK")->isEnabled());
  EXPECT_EQ(Importer().cursor().shape(), Qt::ArrowCursor);  // the busy pointer is gone

  // A second file adds one more: two marks close the window.
  Import(WriteFile("two.txt", {"6628/1002 281000 6131000"}));
  ClickOK();
  EXPECT_EQ(PsmNumbers(), (std::vector<std::string>{"6628/1001", "6628/1002"}));
  EXPECT_FALSE(Importer().isVisible());
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(ImportTextTest, ColumnNumbersPersistBetweenImportsAndDuplicatesAreKept) {
  Start();
  const std::string path = WriteFile(
      "pts.txt", {"E 280000.5 N 6130000.25 H 45.6m Z 54 P 7", "E 281000 N 6131000 H -3 Z 54 P 8"});
  Import(path);
  Box("txtPoint")->setText(QStringLiteral("5"));
  Box("txtEast")->setText(QStringLiteral("1"));
  Box("txtNorth")->setText(QStringLiteral(" 2"));
  Box("txtHeight")->setText(QStringLiteral("3"));
  Box("txtZone")->setText(QStringLiteral("4abc"));
  ClickOK();
  ASSERT_FALSE(Importer().isVisible());
  ASSERT_EQ(ModelRows(), 2);
  EXPECT_EQ(m_window->Marks().Row(0),
            (modKestralMGA::MarkRow{"7", "280000.5", "6130000.25", "45.6", "", "54", "", ""}));
  EXPECT_EQ(Cell(2, 3), "3");  // the minus sign separates: the sign is lost

  // The window was only hidden: the next import finds the numbers as the user left them, and
  // the same points are listed again.
  Import(path);
  EXPECT_EQ(Box("txtPoint")->text(), "5");
  EXPECT_EQ(Box("txtZone")->text(), "4abc");
  ClickOK();
  EXPECT_EQ(PsmNumbers(), (std::vector<std::string>{"7", "8", "7", "8"}));
}

TEST_F(ImportTextTest, FileWithoutASampleLineIsRefusedWithItsMessages) {
  Start();
  const std::string binary = WriteBytes("utf16.txt", QByteArray("\xFF\xFE"
                                                                "6\0"
                                                                "6\0",
                                                                6));
  const std::string missing = PathIn("missing.txt");
  using Shown = struct ScriptedDialogs::Message;
  const Shown nothing{kNothingFound, "Import error", MessageIcon::Exclamation};
  auto fileError = [](const std::string& text) {
    return Shown{text, "Import file error", MessageIcon::Critical};
  };
  const std::vector<std::pair<std::string, std::vector<Shown>>> cases = {
      {WriteFile("short.txt", {"ab", "1 2", ""}), {nothing}},
      {binary,
       {fileError(Upper(binary) +
                  " is not a plain text file (UTF-16 or binary); save it as plain text"),
        nothing}},
      {missing,
       {fileError("Cannot open " + Upper(missing) + ": No such file or directory"), nothing}}};
  for (const auto& [path, messages] : cases) {
    m_dialogs.Messages.clear();
    Import(path);
    ASSERT_EQ(m_dialogs.Messages.size(), messages.size()) << path;
    for (std::size_t i = 0; i < messages.size(); ++i) {
      EXPECT_EQ(m_dialogs.Messages[i].Text, messages[i].Text);
      EXPECT_EQ(m_dialogs.Messages[i].Title, messages[i].Title);
      EXPECT_EQ(m_dialogs.Messages[i].Icon, messages[i].Icon);
    }
    EXPECT_FALSE(Importer().isVisible());
  }
}

TEST_F(ImportTextTest, FailureDuringOKKeepsTheRowsReadAndTheWindowOpen) {
  Start();
  const std::string path =
      WriteFile("long.txt", {"1 280000 6130000", "2 281000 6131000",
                             "3 " + std::string(modKestralMGA::kMaxValueLength + 1, '4'), "4 1 2"});
  Import(path);
  ClickOK();
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text, "Value too long at line 3 of " + Upper(path));
  EXPECT_EQ(m_dialogs.Messages[0].Title, "Import file error");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Critical);
  EXPECT_EQ(PsmNumbers(), (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(Importer().isVisible());  // two marks, but the import failed
  EXPECT_TRUE(InImporter<QPushButton>("cmdOK")->isEnabled());

  // A file gone between the sample and OK: its message, nothing added.
  const std::string gone = WriteFile("gone.txt", {"5 6 7 8"});
  Import(gone);
  QFile::remove(QFile::decodeName(QByteArray::fromStdString(gone)));
  m_dialogs.Messages.clear();
  ClickOK();
  ASSERT_EQ(m_dialogs.Messages.size(), 1u);
  EXPECT_EQ(m_dialogs.Messages[0].Text,
            "Cannot open " + Upper(gone) + ": No such file or directory");
  EXPECT_EQ(ModelRows(), 2);
  EXPECT_TRUE(Importer().isVisible());
}

TEST_F(ImportTextTest, IncompleteLastRowGoesBeforeTheSampleAndCancelKeepsItGone) {
  Start();
  QTest::mouseClick(Find<QPushButton>("cmdClear"), Qt::LeftButton);  // one empty mark row
  ASSERT_EQ(ModelRows(), 1);
  Import(WriteFile("p.txt", {"1 280000 6130000"}));
  EXPECT_EQ(ModelRows(), 0);
  QTest::mouseClick(InImporter<QPushButton>("cmdCancel"), Qt::LeftButton);
  EXPECT_FALSE(Importer().isVisible());
  EXPECT_EQ(ModelRows(), 0);

  // A complete last row stays, and an incomplete row above it is not looked at.
  m_window->cmdAdd_Click();
  m_window->cmdAdd_Click();
  MarkTableModel& marks = m_window->MarkModel();
  for (int column = 0; column < 3; ++column) marks.SetCell(1, column, "9");
  Import(WriteFile("q.txt", {"2 281000 6131000"}));
  ClickOK();
  EXPECT_EQ(PsmNumbers(), (std::vector<std::string>{"", "9", "2"}));
}

TEST_F(ImportTextTest, ImportDropsAnEditInProgressAndCancelledDialogChangesNothing) {
  Start();
  m_window->cmdAdd_Click();
  Type(QStringLiteral("66"));
  ASSERT_TRUE(Editor()->isVisible());
  m_dialogs.Answer("");
  m_window->mnuFileImport_Click();
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_EQ(ModelRows(), 1);  // the cancel came before the incomplete row was looked at
  EXPECT_FALSE(Importer().isVisible());
  EXPECT_TRUE(m_dialogs.Messages.empty());
}
