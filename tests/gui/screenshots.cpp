// Screenshots of the windows for the documentation: builds each window on the platform given
// (xvfb-run or -platform offscreen), fills it, performs the scripted actions a user would, and
// saves QWidget::grab() pictures as PNG files.
//
//   kestral_screenshots FOLDER MARK_DETAILS_FILE [DELIMITED_TEXT_FILE [PLAN]]
//
// writes FOLDER/main-window.png (the marks loaded), FOLDER/main-window-editing.png (an edit
// in progress in the grid) and FOLDER/join-window.png (the join calculation window after a walk
// over a few marks); with a delimited text file, also FOLDER/import-window.png (the import
// window showing that file's sample line and its numbered fields); with a plan identifier
// (examples/plan), also FOLDER/main-window-compared.png (the main window after comparing that
// plan, the bearing datum taken from the first two marks), FOLDER/results-window.png (the
// results window with its list) and FOLDER/report-preview.png (the print preview of the joins
// report, as its Preview button shows it).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>
#include <utility>

#include "app/Dialogs.h"
#include "app/QtDialogs.h"
#include "app/frmKestralMGA.h"
#include "joins/frmMGAJoins.h"
#include "marks/ui/frmImportText.h"
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

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "Cannot write %s\n", QFile::encodeName(path).constData());
    return false;
  }
  std::printf("%s\n", QFile::encodeName(path).constData());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3 || argc > 5) {
    std::fprintf(
        stderr,
        "usage: kestral_screenshots FOLDER MARK_DETAILS_FILE [DELIMITED_TEXT_FILE [PLAN]]\n");
    return 2;
  }
  const QDir folder(QFile::decodeName(argv[1]));
  if (!folder.exists() && !QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "Cannot create %s\n", argv[1]);
    return 2;
  }

  PrintedDialogs dialogs;
  frmKestralMGA window(dialogs);
  window.Form_Load(argv[2]);
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  bool ok = Save(window, folder, "main-window.png");

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

  // The join calculation window: a walk over four marks of the list.
  window.mnuOptionsCalculateAMG_Click();
  frmMGAJoins& joins = window.JoinsWindow();
  if (!QTest::qWaitForWindowExposed(&joins)) return 1;
  auto* list = joins.findChild<QListView*>(QStringLiteral("lstMarks"));
  for (const int row : {0, 3, 5, 2}) {
    const QModelIndex entry = list->model()->index(row, 0);
    list->scrollTo(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
  }
  QApplication::processEvents();
  ok = Save(joins, folder, "join-window.png") && ok;

  if (argc >= 4) {
    // The import window over the chosen file, as the Import command shows it.
    dialogs.NextOpen = argv[3];
    window.mnuFileImport_Click();
    QWidget& importer = window.ImportWindow();
    if (!QTest::qWaitForWindowExposed(&importer)) return 1;
    ok = Save(importer, folder, "import-window.png") && ok;
    importer.hide();
  }

  if (argc == 5) {
    // A comparison: the plan typed, "2 PSM's" with the first two marks clicked as From and To,
    // then Compare from the toolbar.
    QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtPlan")),
                     QFile::decodeName(argv[4]));
    QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("optTwoPSMs")),
                      Qt::LeftButton);
    for (int row = 0; row < 2; ++row) {
      const QModelIndex psmNumber = grid->model()->index(row, 0);
      grid->scrollTo(psmNumber);
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(psmNumber).center());
    }
    window.findChild<QAction*>(QStringLiteral("Toolbar1_Compare"))->trigger();
    frmMGADisplay& results = window.ResultsWindow();
    if (!QTest::qWaitForWindowExposed(&results)) return 1;
    QApplication::processEvents();
    ok = Save(window, folder, "main-window-compared.png") && ok;
    ok = Save(results, folder, "results-window.png") && ok;

    dialogs.PreviewShot = folder.filePath(QStringLiteral("report-preview.png"));
    QTest::mouseClick(results.findChild<QPushButton*>(QStringLiteral("cmdPreview")),
                      Qt::LeftButton);
    if (dialogs.PreviewSaved) {
      std::printf("%s\n", QFile::encodeName(dialogs.PreviewShot).constData());
    } else {
      std::fprintf(stderr, "Cannot write %s\n", QFile::encodeName(dialogs.PreviewShot).constData());
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
