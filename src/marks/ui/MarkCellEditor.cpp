#include "marks/ui/MarkCellEditor.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <cstddef>

#include "app/WindowText.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "marks/ui/MarkTableModel.h"

namespace {

// The key codes the editor acts on.
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;
constexpr int kKeyBlank = 32;

constexpr int kLastColumn = modKestralMGA::kColStatus;

// The key code of the editor's keys, or Qt's code of any other key.
int EditorKeyCode(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Down:
      return kKeyDown;
    default:
      return key;
  }
}

bool IsTab(int key, Qt::KeyboardModifiers modifiers) {
  return (key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
         !(modifiers & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

MarkCellEditor::MarkCellEditor(QTableView& grid, MarkTableModel& model)
    : QStyledItemDelegate(&grid), m_grid(grid), m_model(model) {
  // The editor lies on the grid's viewport; the grid opens it over the current cell and hides it
  // again when the edit ends, and it lives as long as the grid.
  m_editor = new QLineEdit(grid.viewport());
  m_editor->setObjectName(QStringLiteral("Text1"));
  m_editor->setFrame(false);
  QPalette yellow = m_editor->palette();
  yellow.setColor(QPalette::Base, Qt::yellow);
  yellow.setColor(QPalette::Text, Qt::black);
  m_editor->setPalette(yellow);
  m_editor->hide();

  grid.setItemDelegate(this);
  grid.installEventFilter(this);
  m_editor->installEventFilter(this);
  connect(&grid, &QAbstractItemView::doubleClicked, this, [this] { AMGGridEdit(kKeyBlank); });
  // A change of the current cell drops an edit: what was typed is lost.
  connect(grid.selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MarkCellEditor::Abandon);
  // The editor follows its cell when the grid scrolls or a column is resized.
  connect(grid.verticalScrollBar(), &QScrollBar::valueChanged, this, &MarkCellEditor::PlaceEditor);
  connect(grid.horizontalScrollBar(), &QScrollBar::valueChanged, this,
          &MarkCellEditor::PlaceEditor);
  connect(grid.horizontalHeader(), &QHeaderView::sectionResized, this,
          &MarkCellEditor::PlaceEditor);
}

// ---- The current cell ----

int MarkCellEditor::CurrentGridRow() const {
  const QModelIndex current = m_grid.currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

int MarkCellEditor::CurrentColumn() const {
  const QModelIndex current = m_grid.currentIndex();
  return current.isValid() ? current.column() : 0;
}

int MarkCellEditor::GridRows() const {
  return m_model.rowCount() + 1;
}

void MarkCellEditor::SetCurrentCell(int gridRow, int column) {
  if (gridRow < 1 || gridRow >= GridRows()) return;
  m_grid.setCurrentIndex(m_model.index(gridRow - 1, column));
}

bool MarkCellEditor::RowFullyVisible(int gridRow) const {
  const QRect cell = m_grid.visualRect(m_model.index(gridRow - 1, 0));
  const QRect shown = m_grid.viewport()->rect();
  return cell.top() >= shown.top() && cell.bottom() <= shown.bottom();
}

// ---- Editing ----

bool MarkCellEditor::Editing() const {
  return m_editor->isVisible();
}

void MarkCellEditor::AMGGridEdit(int keyAscii) {
  if (m_locked) return;  // the list stays as the comparison reads it
  const QModelIndex current = m_grid.currentIndex();
  if (!current.isValid()) return;  // the title row is never edited
  if (keyAscii < 0 || keyAscii > kKeyBlank) {
    const char32_t typed = static_cast<char32_t>(keyAscii);
    m_editor->setText(QString::fromUcs4(&typed, 1));  // typing over a cell replaces its content
  } else {
    setEditorData(m_editor, current);
  }
  m_editor->setCursorPosition(static_cast<int>(m_editor->text().size()));
  QStyleOptionViewItem option;
  option.rect = m_grid.visualRect(current);
  updateEditorGeometry(m_editor, option, current);
  m_editor->show();
  m_editor->raise();
  m_editor->setFocus();
}

void MarkCellEditor::AMGTextEdit(int keyCode) {
  const int row = CurrentGridRow();
  const int column = CurrentColumn();
  switch (keyCode) {
    case kKeyEnter: {
      if (row < 1) return;
      const bool stored = Editing() ? CommitEdit() : StoreText(m_grid.currentIndex(), QString());
      m_grid.setFocus();
      if (stored) AdvanceAfterCommit(row, column);
      break;
    }
    case kKeyEscape:
      Abandon();
      m_grid.setFocus();
      break;
    case kKeyUp:  // the grid takes the focus, which drops the edit
      m_grid.setFocus();
      if (row >= 2) SetCurrentCell(row - 1, column);
      break;
    case kKeyDown:
      m_grid.setFocus();
      if (row >= 1 && row < GridRows() - 1) SetCurrentCell(row + 1, column);
      break;
    default:
      break;
  }
}

void MarkCellEditor::Grid1_KeyPress(int keyAscii) {
  if (m_locked) return;  // the list stays as the comparison reads it
  const int row = CurrentGridRow();
  if (keyAscii == kKeyEnter && row >= 1 &&
      m_model.List().Cell(std::size_t(row - 1), CurrentColumn()).empty()) {
    // Enter on an empty cell commits at once: the rules for an empty text apply (the value above
    // repeated in Order to Status) and the current cell advances.
    AMGTextEdit(kKeyEnter);
    return;
  }
  AMGGridEdit(keyAscii);
}

void MarkCellEditor::Abandon() {
  m_editor->hide();
  m_editor->clear();
}

void MarkCellEditor::Detach() {
  Abandon();
  m_grid.removeEventFilter(this);
  m_editor->removeEventFilter(this);
}

bool MarkCellEditor::CommitEdit() {
  m_stored = false;
  setModelData(m_editor, &m_model, m_grid.currentIndex());
  Abandon();
  return m_stored;
}

bool MarkCellEditor::StoreText(const QModelIndex& index, const QString& text) const {
  if (!index.isValid()) return false;
  const modKestralMGA::CellCommit commit = modKestralMGA::CommitCellText(
      m_model.List(), std::size_t(index.row()), index.column(), ToBytes(text));
  if (commit.Stores) m_model.SetCell(index.row(), index.column(), commit.Text);
  return commit.Stores;
}

void MarkCellEditor::AdvanceAfterCommit(int gridRow, int column) {
  if (column < kLastColumn) {
    SetCurrentCell(gridRow, column + 1);
    return;
  }
  if (gridRow == GridRows() - 1) m_model.AppendRow();
  SetCurrentCell(gridRow + 1, 0);
  if (!RowFullyVisible(gridRow + 1)) {
    QScrollBar* rows = m_grid.verticalScrollBar();
    rows->setValue(rows->value() + 1);
  }
}

void MarkCellEditor::PlaceEditor() {
  if (!m_editor->isVisible()) return;
  m_editor->setGeometry(m_grid.visualRect(m_grid.currentIndex()));
}

// ---- The delegate's part: filling, placing and committing the editor ----

void MarkCellEditor::setEditorData(QWidget* editor, const QModelIndex& index) const {
  static_cast<QLineEdit*>(editor)->setText(m_model.CellText(index.row(), index.column()));
}

void MarkCellEditor::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                  const QModelIndex& index) const {
  m_stored = StoreText(index, static_cast<QLineEdit*>(editor)->text());
}

void MarkCellEditor::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                          const QModelIndex& /*index*/) const {
  editor->setGeometry(option.rect);  // exactly over the cell
}

// ---- Keys and focus ----

bool MarkCellEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (watched == m_editor) return EditorKey(EditorKeyCode(key.key()), key.key(), key.modifiers());
    if (watched == &m_grid) return GridKey(key.key(), key.modifiers(), key.text());
  } else if (event->type() == QEvent::FocusOut && watched == m_editor) {
    EditorFocusLost(static_cast<const QFocusEvent&>(*event).reason());
  }
  return false;
}

bool MarkCellEditor::EditorKey(int keyCode, int key, Qt::KeyboardModifiers modifiers) {
  if (IsTab(key, modifiers)) {
    // The text is stored, then the focus moves on from the grid as Tab moves it there.
    CommitEdit();
    m_grid.setFocus();
    QKeyEvent tab(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&m_grid, &tab);
    return true;
  }
  if (keyCode != kKeyEnter && keyCode != kKeyEscape && keyCode != kKeyUp && keyCode != kKeyDown) {
    return false;  // every other key edits the text
  }
  AMGTextEdit(keyCode);
  return true;  // Enter types nothing; the arrows do not reach the grid
}

bool MarkCellEditor::GridKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  // F2 edits the cell's own text; Delete empties the selected cells (the window's command).
  if (key == Qt::Key_F2 && !m_locked) {
    AMGGridEdit(kKeyBlank);
    return true;
  }
  if (key == Qt::Key_Delete && m_onDelete) {
    m_onDelete();
    return true;
  }
  int code = 0;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    code = kKeyEnter;
  } else {
    if (IsTab(key, modifiers)) return false;  // Tab moves on to the next control
    const QList<uint> characters = text.toUcs4();
    if (characters.size() != 1) return false;  // arrows and paging move the current cell
    code = static_cast<int>(characters.front());
    if (code > kKeyBlank && !QChar::isPrint(characters.front())) return false;
  }
  Grid1_KeyPress(code);
  return true;
}

void MarkCellEditor::EditorFocusLost(Qt::FocusReason reason) {
  // Leaving with the window or for a menu, the edit stays open and gets the focus back.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (!Editing()) return;
  const QWidget* taker = QApplication::focusWidget();
  if (taker == &m_grid || m_dropOn.contains(taker)) {
    Abandon();  // a click in the grid, or on a command that drops an edit
  } else {
    CommitEdit();
  }
}
