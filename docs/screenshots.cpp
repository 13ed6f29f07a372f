// Screenshots of the windows for the help book: builds each window on the platform given
// (xvfb-run or -platform offscreen), fills it, performs the scripted actions a user would, and
// saves QWidget::grab() pictures as PNG files. One run makes every picture the book shows:
//
//   kestral_screenshots FOLDER EXAMPLES_FOLDER HELP_FILE
//
// works in EXAMPLES_FOLDER (the example marks, plan and delimited text file, named there as the
// worked example names them) and writes into FOLDER:
//   main-window.png           the main window started with marks.dmp
//   main-window-editing.png   an edit in progress in the grid
//   file-menu.png             the File menu open, with Import marks from LandXML...
//   criterion-tooltip.png     the criterion box with its tool tip: the chosen criterion's
//                             formulas
//   import-window.png         the import window over psm-coordinates-semicolon.csv
//   main-window-compared.png  the main window after comparing "plan", the bearing datum from
//                             6628/1583 to 6628/1173
//   results-window.png        the results window of that comparison
//   results-diagram.png       its Diagram tab, the join not acceptable chosen in the list
//   report-preview.png        the print preview of its joins report (the Preview button)
//   join-window.png           the join calculation window after a walk over four marks
//   help-window.png           the help window on HELP_FILE, the book's default page
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/Dialogs.h"
#include "app/QtDialogs.h"
#include "app/frmKestralMGA.h"
#include "app/modHtmlHelp.h"
#include "joins/frmMGAJoins.h"
#include "marks/ui/frmImportText.h"
#include "reports/ui/JoinDiagramView.h"
#include "reports/ui/ReportFont.h"
#include "reports/ui/frmMGADisplay.h"

namespace {

// Messages go to standard error; an open prompt is answered with the path set beforehand; print
// dialogs are cancelled; a print preview is Qt's, saved to PreviewShot once its pages show and
// then closed.
class PrintedDialogs final : public Dialogs {
 public:
  void Message(const std::string& text, const std::string& title,
               modKestralMGA::MessageIcon) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  // The example's marks lie on one datum and in one zone: nothing to warn of.
  bool AskToContinue(const std::string&, const std::string&) override { return true; }
  // The pictures never ask to save: the program closes without keeping anything.
  SaveAnswer AskToSave(const std::string&, const std::string&) override {
    return SaveAnswer::Discard;
  }
  std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
    return std::exchange(NextOpen, {});
  }
  std::string SaveFileName(const std::string&, const std::string&, const std::string&,
                           bool) override {
    return {};
  }
  bool ChoosePrinter(const std::string&, QPrinter&) override { return false; }
  void ShowPrintPreview(const std::string& title,
                        const std::function<void(QPrinter&)>& paint) override {
    QTimer::singleShot(0, [this] {
      QWidget* preview = QApplication::activeModalWidget();
      if (preview == nullptr) return;
      preview->resize(760, 900);
      if (QTest::qWaitForWindowExposed(preview)) {
        QApplication::processEvents();
        PreviewSaved = preview->grab().save(PreviewShot);
      }
      preview->close();
    });
    m_qt.ShowPrintPreview(title, paint);
  }

  std::string NextOpen;
  QString PreviewShot;
  bool PreviewSaved = false;

 private:
  QtDialogs m_qt;
};

bool SavePixmap(const QPixmap& picture, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!picture.save(path)) {
    std::fprintf(stderr, "Cannot write %s\n", QFile::encodeName(path).constData());
    return false;
  }
  std::printf("%s\n", QFile::encodeName(path).constData());
  return true;
}

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  return SavePixmap(widget.grab(), folder, name);
}

// The criterion box of the main window with its tool tip shown under it, as resting the mouse on
// the box shows it: the tip (a window of its own) drawn over the window's picture where it lies.
bool SaveCriterionToolTip(QWidget& window, const QDir& folder) {
  auto* box = window.findChild<QComboBox*>(QStringLiteral("cboAccuracyType"));
  box->setCurrentText(QStringLiteral("URBAN SURVEY (prior Feb 2019)"));
  QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), box->toolTip(), box);
  QWidget* tip = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel") && top->isVisible()) tip = top;
  }
  if (tip == nullptr) {
    std::fprintf(stderr, "No tool tip shows over the criterion box\n");
    return false;
  }
  QPixmap picture = window.grab();
  QPainter painter(&picture);
  painter.drawPixmap(window.mapFromGlobal(tip->pos()), tip->grab());
  painter.end();
  QToolTip::hideText();
  box->setCurrentText(QStringLiteral("Urban Areas"));
  return SavePixmap(picture, folder, "criterion-tooltip.png");
}

// Clicks the rows of a list or grid whose first cells hold these texts, in the order given.
void ClickRows(QAbstractItemView& view, std::initializer_list<const char*> texts) {
  QAbstractItemModel& model = *view.model();
  for (const char* text : texts) {
    const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole,
                                              QString::fromLatin1(text), 1, Qt::MatchExactly);
    if (found.isEmpty()) {
      std::fprintf(stderr, "No row %s to click\n", text);
      continue;
    }
    view.scrollTo(found.first());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(found.first()).center());
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The pictures show the windows as a first run does: no remembered settings or recent files.
  const QTemporaryDir settings;
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  if (argc != 4) {
    std::fprintf(stderr, "usage: kestral_screenshots FOLDER EXAMPLES_FOLDER HELP_FILE\n");
    return 2;
  }
  const QDir folder(QDir().absoluteFilePath(QFile::decodeName(argv[1])));
  const QString helpFile = QDir().absoluteFilePath(QFile::decodeName(argv[3]));
  if (!folder.exists() && !QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "Cannot create %s\n", argv[1]);
    return 2;
  }
  if (!QDir::setCurrent(QFile::decodeName(argv[2]))) {
    std::fprintf(stderr, "Cannot work in %s\n", argv[2]);
    return 2;
  }

  try {
    modKestralMGA::RegisterReportFont();  // the report preview's font, as the program has it
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  PrintedDialogs dialogs;
  frmKestralMGA window(dialogs);
  window.Form_Load("marks.dmp");
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  bool ok = Save(window, folder, "main-window.png");
  ok = SaveCriterionToolTip(window, folder) && ok;

  // The File menu as a click on it opens it.
  auto* fileMenu = window.findChild<QMenu*>(QStringLiteral("mnuFile"));
  fileMenu->popup(window.mapToGlobal(window.rect().topLeft()));
  if (!QTest::qWaitForWindowExposed(fileMenu)) return 1;
  ok = Save(*fileMenu, folder, "file-menu.png") && ok;
  fileMenu->hide();

  // An edit in progress: a new mark's easting being typed into the grid.
  auto* grid = window.findChild<QTableView*>(QStringLiteral("Grid1"));
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdAdd")), Qt::LeftButton);
  // The first key typed on the grid opens the editor over the cell; the rest go to the editor.
  QTest::keyClicks(grid, QStringLiteral("6"));
  QTest::keyClicks(window.focusWidget(), QStringLiteral("6281099"));
  QTest::keyClick(window.focusWidget(), Qt::Key_Return);
  QTest::keyClicks(grid, QStringLiteral("2"));
  QTest::keyClicks(window.focusWidget(), QStringLiteral("84512.37"));
  QApplication::processEvents();
  ok = Save(window, folder, "main-window-editing.png") && ok;
  // The edit abandoned and its unfinished mark deleted: the list is the file's again.
  QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdDelete")), Qt::LeftButton);

  // The import window over the semicolon file, as the Import command shows it.
  dialogs.NextOpen = "psm-coordinates-semicolon.csv";
  window.mnuFileImport_Click();
  frmImportText& importer = window.ImportWindow();
  // The semicolon file's numbers have decimal commas; its fifth field is the zone.
  importer.SetColumnTexts({"1", "2", "3", "4", "5"});
  importer.SetDecimalComma(true);
  if (!QTest::qWaitForWindowExposed(&importer)) return 1;
  ok = Save(importer, folder, "import-window.png") && ok;
  importer.hide();

  // The worked example's comparison: the plan typed, "2 PSM's" with 6628/1583 and 6628/1173
  // clicked as From and To, then Compare from the toolbar.
  QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtPlan")), QStringLiteral("plan"));
  QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("optTwoPSMs")), Qt::LeftButton);
  ClickRows(*grid, {"6628/1583", "6628/1173"});
  window.findChild<QAction*>(QStringLiteral("Toolbar1_Compare"))->trigger();
  frmMGADisplay& results = window.ResultsWindow();
  if (!QTest::qWaitForWindowExposed(&results)) return 1;
  QApplication::processEvents();
  ok = Save(window, folder, "main-window-compared.png") && ok;
  ok = Save(results, folder, "results-window.png") && ok;
  // The Diagram tab, with the join not acceptable chosen in the list and so highlighted.
  auto* tabs = results.findChild<QTabWidget*>(QStringLiteral("tabResults"));
  ClickRows(*results.findChild<QListView*>(QStringLiteral("lstPSMJoins")),
            {"66281173       66281946       *** JOIN NOT ACCEPTABLE ***"});
  tabs->setCurrentIndex(1);
  const QSize listSize = results.size();
  results.resize(860, 1180);
  QApplication::processEvents();
  // Zoomed in twice on 6628/1173, where the plan's marks gather (6628/1926 lies 7 km off).
  auto* diagram = results.findChild<JoinDiagramView*>(QStringLiteral("picDiagram"));
  for (const modKestralMGA::DiagramMark& mark : diagram->Diagram().Marks) {
    if (mark.Label == "6628/1173") diagram->ZoomBy(6.0, diagram->View().Map(mark.At));
  }
  QApplication::processEvents();
  ok = Save(results, folder, "results-diagram.png") && ok;
  tabs->setCurrentIndex(0);
  results.resize(listSize);
  // The print preview of the joins report, from the results window's Preview button.
  dialogs.PreviewShot = folder.filePath(QStringLiteral("report-preview.png"));
  QTest::mouseClick(results.findChild<QPushButton*>(QStringLiteral("cmdPreview")), Qt::LeftButton);
  if (dialogs.PreviewSaved) {
    std::printf("%s\n", QFile::encodeName(dialogs.PreviewShot).constData());
  } else {
    std::fprintf(stderr, "Cannot write %s\n", QFile::encodeName(dialogs.PreviewShot).constData());
    ok = false;
  }

  // The join calculation window: a walk over four marks, the last of Order 6.
  window.mnuOptionsCalculateAMG_Click();
  frmMGAJoins& joins = window.JoinsWindow();
  if (!QTest::qWaitForWindowExposed(&joins)) return 1;
  ClickRows(*joins.findChild<QListView*>(QStringLiteral("lstMarks")),
            {"6628/1583", "6628/1173", "6628/1946", "6628/1926"});
  QApplication::processEvents();
  ok = Save(joins, folder, "join-window.png") && ok;

  // The help window on the book's default page, at a size that fits the book's own pages.
  modHtmlHelp::ShowHelp(window, helpFile);
  QWidget* help = modHtmlHelp::HelpWindowOf(window);
  help->resize(760, 560);
  if (!QTest::qWaitForWindowExposed(help)) return 1;
  QApplication::processEvents();
  ok = Save(*help, folder, "help-window.png") && ok;
  return ok ? 0 : 1;
}
