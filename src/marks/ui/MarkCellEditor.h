#pragma once

#include <QList>
#include <QStyledItemDelegate>
#include <functional>
#include <utility>

class QLineEdit;
class QTableView;
class MarkTableModel;

// The mark grid's in-place editor: one yellow text box without a border (Text1) laid exactly over
// the grid's current cell, and the keys of grid and editor. The editor opens and closes by the
// list's own keys, not by the view's edit triggers: the view would store an edit when the current
// cell changes, which drops it here, and would close it when the list is replaced.
//
// - A double-click, or a key that types a character into the grid, starts an edit (AMGGridEdit):
//   a typed character replaces the cell's text, a blank (the double-click) or a control key
//   starts from the cell's own text; the caret stands at the end.
// - Enter stores the text by the cell rules (CommitCellText) and moves the current cell on: right
//   along the row, from Status to the PSM No. of the next row, appending a row after the last.
//   Enter on an empty cell of the grid commits at once, without opening the editor.
// - Tab and Shift+Tab store the text and move the focus on to the next or previous control, as
//   they do from the grid; a focus taken by another control stores it and leaves the focus there.
//   The current cell stays where it was.
// - F2 edits the cell's own text; Delete runs the window's command (OnDeleteKey).
// - Escape, the up and down arrows, a click in the grid, a change of the current cell, and the
//   window's commands (Abandon) drop the text: the cell keeps what it held.
// - The focus leaving with the window (another program, a message box) or for a menu keeps the
//   edit open.
//
// Grid rows are counted as the user sees them: row 0 is the title row, row r (from 1) is row
// r - 1 of the model.
class MarkCellEditor final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // Becomes grid's item delegate and watches its keys; grid shows model.
  MarkCellEditor(QTableView& grid, MarkTableModel& model);

  // The current cell: row 0 while the list has no mark row or no cell is current.
  int CurrentGridRow() const;
  int CurrentColumn() const;
  // The number of grid rows, the title row included.
  int GridRows() const;
  // Makes a cell current; a row outside the mark rows changes nothing.
  void SetCurrentCell(int gridRow, int column);

  // Starts an edit of the current cell (keyAscii: the character typed, 32 for a double-click).
  void AMGGridEdit(int keyAscii);
  // The editor's keys: Enter (13) stores, Escape (27) drops, up (38) and down (40) drop and move
  // the current row. Any other code does nothing.
  void AMGTextEdit(int keyCode);
  // A key typed into the grid: Enter on an empty cell commits at once, any other starts an edit.
  void Grid1_KeyPress(int keyAscii);
  // Drops an edit in progress: the editor is hidden, the cell keeps its text.
  void Abandon();
  // Controls whose commands drop an edit (the row commands): the focus they take from the editor
  // leaves the edit to their command instead of storing it.
  void DropWhenFocusGoesTo(QList<const QWidget*> controls) { m_dropOn = std::move(controls); }
  // What the Delete key does in the grid (empties the selected cells).
  void OnDeleteKey(std::function<void()> command) { m_onDelete = std::move(command); }
  // While locked (a comparison reads the list), keys and double-clicks start no edit.
  void SetLocked(bool locked) { m_locked = locked; }

  // Drops an edit and stops watching grid and editor: the window is being taken apart.
  void Detach();

  // The cell's own text, for an edit started by a double-click or a control key.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  // Stores the editor's text into the cell at index by the cell rules (CommitCellText).
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  // Exactly over the cell (option.rect).
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Editing() const;
  bool EditorKey(int keyCode, int key, Qt::KeyboardModifiers modifiers);
  bool GridKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
  void EditorFocusLost(Qt::FocusReason reason);
  // Stores the editor's text and closes it; true when the cell rules stored something.
  bool CommitEdit();
  // Stores text into the cell at index by the cell rules; true when something was stored.
  bool StoreText(const QModelIndex& index, const QString& text) const;
  void AdvanceAfterCommit(int gridRow, int column);
  bool RowFullyVisible(int gridRow) const;
  void PlaceEditor();

  QTableView& m_grid;
  MarkTableModel& m_model;
  QLineEdit* m_editor = nullptr;
  QList<const QWidget*> m_dropOn;
  mutable bool m_stored = false;
  bool m_locked = false;
  std::function<void()> m_onDelete;
};
