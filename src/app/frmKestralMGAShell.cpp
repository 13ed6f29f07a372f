// The main window's desktop side: the Edit commands (copy, paste, Delete over cells), files
// dropped on the window, the settings kept between runs, the recent files and the title bar.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTableView>
#include <QUrl>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/WindowPlaces.h"
#include "app/WindowText.h"
#include "app/frmKestralMGA.h"
#include "joins/frmMGAJoins.h"
#include "marks/MarkListRules.h"
#include "marks/ui/MarkTableModel.h"
#include "marks/ui/frmImportText.h"
#include "reports/ui/frmMGADisplay.h"

namespace {

constexpr const char* kWindowTitle = "Map Grid of Australia Coordinates - KESTRAL";
// Each kind of recent file keeps this many, the latest first.
constexpr int kRecentFiles = 8;

}  // namespace

// ---- Edit commands ----

void frmKestralMGA::mnuEditCopy_Click() {
  std::vector<int> rows;
  for (const QModelIndex& index : Grid1->selectionModel()->selectedIndexes()) {
    rows.push_back(index.row());
  }
  if (rows.empty() && CurrentGridRow() >= 1) rows.push_back(CurrentGridRow() - 1);
  if (rows.empty()) return;
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QStringList lines;
  QStringList titles;
  for (const char* title : modKestralMGA::kMarkColumnTitles) titles << QString::fromLatin1(title);
  lines << titles.join(u'\t');
  for (const int row : rows) {
    QStringList cells;
    for (int column = 0; column < modKestralMGA::kMarkColumnCount; ++column) {
      cells << m_model->CellText(row, column);
    }
    lines << cells.join(u'\t');
  }
  QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

void frmKestralMGA::mnuEditPaste_Click() {
  HideEditor();
  if (m_comparing) return;
  const QString text = QGuiApplication::clipboard()->text();
  const int firstRow = std::max(CurrentGridRow(), 1) - 1;
  const int firstColumn = std::max(CurrentColumn(), 0);
  std::vector<MarkTableModel::CellChange> changes;
  int row = firstRow;
  for (QString line : text.split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    // The column titles of a copied list are not a mark.
    if (line.startsWith(QString::fromLatin1(modKestralMGA::kMarkColumnTitles[0]) + u'\t')) continue;
    if (line.trimmed().isEmpty()) continue;
    const QStringList values = line.split(u'\t');
    for (qsizetype i = 0; i < values.size(); ++i) {
      const int column = firstColumn + static_cast<int>(i);
      if (column >= modKestralMGA::kMarkColumnCount) break;
      std::string bytes = ToBytes(values[i].trimmed());
      // Each value is stored as typed and committed would store it; an empty value empties.
      if (!bytes.empty() && static_cast<std::size_t>(row) < m_marks.RowCount()) {
        bytes = modKestralMGA::CommitCellText(m_marks, std::size_t(row), column, bytes).Text;
      } else if (!bytes.empty()) {
        modKestralMGA::MarkList lone;
        lone.AppendRow();
        bytes = modKestralMGA::CommitCellText(lone, 0, column, bytes).Text;
      }
      changes.push_back({row, column, std::move(bytes)});
    }
    ++row;
  }
  if (changes.empty()) return;
  m_model->SetCells(std::move(changes), QStringLiteral("Paste"));
  SetCurrentCell(firstRow + 1, firstColumn);
}

void frmKestralMGA::DeleteSelectedCells() {
  if (m_comparing || CurrentGridRow() < 1) return;
  std::vector<MarkTableModel::CellChange> changes;
  QModelIndexList cells = Grid1->selectionModel()->selectedIndexes();
  if (cells.isEmpty()) cells << m_model->index(CurrentGridRow() - 1, CurrentColumn());
  for (const QModelIndex& index : cells) {
    if (!m_marks.Cell(std::size_t(index.row()), index.column()).empty()) {
      changes.push_back({index.row(), index.column(), {}});
    }
  }
  m_model->SetCells(std::move(changes), QStringLiteral("Delete"));
}

// ---- Drag and drop ----

void frmKestralMGA::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!m_comparing && !urls.isEmpty() && urls.first().isLocalFile()) event->acceptProposedAction();
}

void frmKestralMGA::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  const QString path = urls.first().toLocalFile();
  // A lines file names the plan, and so does a LandXML plan (by its whole path); anything else
  // is opened as a Mark Details or dump file.
  if (path.endsWith(QStringLiteral(".lns"), Qt::CaseInsensitive)) {
    txtPlan->setText(path.chopped(4));
    AddRecentFile("plans", path.chopped(4));
    return;
  }
  if (path.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)) {
    txtPlan->setText(path);
    AddRecentFile("plans", path);
    return;
  }
  if (!MaySetListAside()) return;
  OpenMarkDetails(QFile::encodeName(path).toStdString());
}

// ---- Settings, recent files and the title ----

void frmKestralMGA::RestoreSettings() {
  QSettings settings;
  restoreGeometry(settings.value(QStringLiteral("main/geometry")).toByteArray());
  const QString criterion = settings.value(QStringLiteral("main/criterion")).toString();
  if (!criterion.isEmpty()) cboAccuracyType->setCurrentText(criterion);
  txtMaxOrder->setText(
      settings.value(QStringLiteral("main/order"), txtMaxOrder->text()).toString());
  txtPlan->setText(settings.value(QStringLiteral("main/plan")).toString());
  const int mode = settings.value(QStringLiteral("joins/ellipsoid"), -1).toInt();
  if (mode >= 0 && mode <= 2) {
    SetCalculationMode(static_cast<modKestralMGA::DistanceCalculationMode>(mode));
  }
  const QStringList columns = settings.value(QStringLiteral("import/columns")).toStringList();
  if (columns.size() == 5) m_frmImportText->SetColumnTexts(columns);
  m_frmImportText->SetDecimalComma(settings.value(QStringLiteral("import/decimalComma")).toBool());
  for (auto [key, window] :
       {std::pair{"results/geometry", static_cast<QWidget*>(m_display.get())},
        std::pair{"joins/geometry", static_cast<QWidget*>(m_joins.get())},
        std::pair{"import/geometry", static_cast<QWidget*>(m_frmImportText)}}) {
    const QByteArray geometry = settings.value(QString::fromLatin1(key)).toByteArray();
    if (!geometry.isEmpty() && window->restoreGeometry(geometry)) {
      MarkPlaced(*window);
    }
  }
  FillRecentMenu();
}

void frmKestralMGA::SaveSettings() const {
  QSettings settings;
  settings.setValue(QStringLiteral("main/geometry"), saveGeometry());
  settings.setValue(QStringLiteral("main/criterion"), cboAccuracyType->currentText());
  settings.setValue(QStringLiteral("main/order"), txtMaxOrder->text());
  settings.setValue(QStringLiteral("main/plan"), txtPlan->text());
  settings.setValue(QStringLiteral("joins/ellipsoid"), static_cast<int>(m_calculationMode));
  settings.setValue(QStringLiteral("import/columns"), m_frmImportText->ColumnTexts());
  settings.setValue(QStringLiteral("import/decimalComma"), m_frmImportText->DecimalComma());
  settings.setValue(QStringLiteral("results/geometry"), m_display->saveGeometry());
  settings.setValue(QStringLiteral("joins/geometry"), m_joins->saveGeometry());
  settings.setValue(QStringLiteral("import/geometry"), m_frmImportText->saveGeometry());
}

void frmKestralMGA::AddRecentFile(const char* kind, const QString& path) {
  if (path.isEmpty()) return;
  QSettings settings;
  const QString key = QStringLiteral("recent/") + QString::fromLatin1(kind);
  QStringList files = settings.value(key).toStringList();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kRecentFiles) files.removeLast();
  settings.setValue(key, files);
  FillRecentMenu();
}

void frmKestralMGA::FillRecentMenu() {
  mnuFileRecent->clear();
  QSettings settings;
  const QStringList marks = settings.value(QStringLiteral("recent/marks")).toStringList();
  const QStringList plans = settings.value(QStringLiteral("recent/plans")).toStringList();
  for (const QString& path : marks) {
    connect(mnuFileRecent->addAction(path), &QAction::triggered, this, [this, path] {
      if (m_comparing || !MaySetListAside()) return;
      OpenMarkDetails(QFile::encodeName(path).toStdString());
    });
  }
  if (!marks.isEmpty() && !plans.isEmpty()) mnuFileRecent->addSeparator();
  for (const QString& plan : plans) {
    connect(mnuFileRecent->addAction(QStringLiteral("Plan ") + plan), &QAction::triggered, this,
            [this, plan] { txtPlan->setText(plan); });
  }
  mnuFileRecent->setEnabled(!marks.isEmpty() || !plans.isEmpty());
}

void frmKestralMGA::SetCurrentFile(const std::string& path) {
  m_currentFile = QFile::decodeName(QByteArray::fromStdString(path));
  ShowTitle();
}

void frmKestralMGA::ShowTitle() {
  const QString title = QString::fromLatin1(kWindowTitle);
  setWindowTitle(m_currentFile.isEmpty()
                     ? title + QStringLiteral("[*]")
                     : QFileInfo(m_currentFile).fileName() + QStringLiteral("[*] - ") + title);
}
