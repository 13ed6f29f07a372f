#include "marks/ui/MarkTableModel.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <climits>
#include <utility>

#include "common/Cp1252.h"

using modKestralMGA::kMarkColumnCount;
using modKestralMGA::kMarkColumnTitles;
using modKestralMGA::MarkList;
using modKestralMGA::MarkRow;
using modKestralMGA::RemovedRow;

// A step of the history. A change made before its step was pushed (a bulk change, the tidy-up)
// is not made again by the push.
class MarkTableModel::Step : public QUndoCommand {
 public:
  Step(MarkTableModel& model, const QString& name, bool alreadyApplied = false)
      : QUndoCommand(name), m_model(model), m_skipRedo(alreadyApplied) {}

  // The push runs redo once: the command that made the change places the current cell itself.
  void redo() final {
    if (!std::exchange(m_skipRedo, false)) Redo();
    if (std::exchange(m_pushed, true)) Focus();
  }
  void undo() final {
    Undo();
    Focus();
  }

 protected:
  virtual void Redo() = 0;
  virtual void Undo() = 0;
  // The cell the window makes current after the step runs either way.
  void SetFocus(int row, int column) {
    m_focusRow = row;
    m_focusColumn = column;
  }
  MarkTableModel& Model() { return m_model; }

 private:
  void Focus() {
    const int rows = m_model.rowCount();
    if (rows > 0) emit m_model.StepApplied(std::clamp(m_focusRow, 0, rows - 1), m_focusColumn);
  }
  MarkTableModel& m_model;
  bool m_skipRedo;
  bool m_pushed = false;
  int m_focusRow = 0;
  int m_focusColumn = 0;
};

class MarkTableModel::CellsStep final : public Step {
 public:
  struct Cell {
    int Row;
    int Column;
    std::string Old;
    std::string New;
  };
  CellsStep(MarkTableModel& model, const QString& name, std::vector<Cell> cells, int appended)
      : Step(model, name), m_cells(std::move(cells)), m_appended(appended) {
    SetFocus(m_cells.front().Row, m_cells.front().Column);
  }

 private:
  void Redo() override {
    Model().ApplyAppend(std::vector<MarkRow>(static_cast<std::size_t>(m_appended)));
    for (const Cell& cell : m_cells) Model().ApplyCell(cell.Row, cell.Column, cell.New);
  }
  void Undo() override {
    for (const Cell& cell : m_cells) Model().ApplyCell(cell.Row, cell.Column, cell.Old);
    Model().ApplyTruncate(Model().m_list.RowCount() - static_cast<std::size_t>(m_appended));
  }
  std::vector<Cell> m_cells;
  int m_appended;
};

// An empty row inserted, or a row removed (its values kept to put back).
class MarkTableModel::RowStep final : public Step {
 public:
  RowStep(MarkTableModel& model, const QString& name, int row, bool insert, MarkRow values)
      : Step(model, name), m_row(row), m_insert(insert), m_values(std::move(values)) {
    SetFocus(row, 0);
  }

 private:
  void Redo() override {
    m_insert ? Model().ApplyInsert(m_row, m_values) : Model().ApplyRemove(m_row);
  }
  void Undo() override {
    m_insert ? Model().ApplyRemove(m_row) : Model().ApplyInsert(m_row, m_values);
  }
  int m_row;
  bool m_insert;
  MarkRow m_values;
};

class MarkTableModel::AppendStep final : public Step {
 public:
  AppendStep(MarkTableModel& model, const QString& name, MarkList rows)
      : Step(model, name), m_rows(std::move(rows)), m_before(model.m_list.RowCount()) {
    SetFocus(static_cast<int>(std::min<std::size_t>(m_before, INT_MAX)), 0);
  }

 private:
  void Redo() override { Model().ApplyAppend(m_rows); }
  void Undo() override { Model().ApplyTruncate(m_before); }
  MarkList m_rows;
  std::size_t m_before;
};

// A bulk change: the list before and after it.
class MarkTableModel::ReplaceStep final : public Step {
 public:
  ReplaceStep(MarkTableModel& model, const QString& name, MarkList before, MarkList after)
      : Step(model, name, /*alreadyApplied=*/true),
        m_before(std::move(before)),
        m_after(std::move(after)) {}

 private:
  void Redo() override { Model().ApplyReplace(m_after); }
  void Undo() override { Model().ApplyReplace(m_before); }
  MarkList m_before;
  MarkList m_after;
};

// The repeats Open left out: undo puts each back at its place, in order; redo takes them out again.
class MarkTableModel::TidyUpStep final : public Step {
 public:
  TidyUpStep(MarkTableModel& model, std::vector<RemovedRow> removed)
      : Step(model, QStringLiteral("Remove Repeated Marks"), /*alreadyApplied=*/true),
        m_removed(std::move(removed)) {
    SetFocus(static_cast<int>(std::min<std::size_t>(m_removed.front().Position, INT_MAX)), 0);
  }

 private:
  void Redo() override {
    MarkList list = Model().m_list;
    std::vector<bool> keep(list.RowCount(), true);
    for (const RemovedRow& removed : m_removed) keep[removed.Position] = false;
    list.KeepRows(keep);
    Model().ApplyReplace(list);
  }
  void Undo() override {
    // One pass: the kept rows in order, each repeat put in at its place.
    const MarkList& kept = Model().m_list;
    MarkList list;
    list.Reserve(kept.RowCount() + m_removed.size());
    std::size_t next = 0;
    for (const RemovedRow& removed : m_removed) {
      while (list.RowCount() < removed.Position && next < kept.RowCount()) {
        list.AppendRow(kept.Row(next).Cells(), kept.PsmKey(next));
        ++next;
      }
      list.AppendRow(removed.Row);
    }
    for (; next < kept.RowCount(); ++next)
      list.AppendRow(kept.Row(next).Cells(), kept.PsmKey(next));
    Model().ApplyReplace(list);
  }
  std::vector<RemovedRow> m_removed;
};

MarkTableModel::MarkTableModel(MarkList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_undo(new QUndoStack(this)) {}

bool MarkTableModel::Changed() const {
  return !m_undo->isClean();
}

int MarkTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  const std::size_t rows = m_list.RowCount();
  return rows > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(rows);
}

int MarkTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMarkColumnCount;
}

QString MarkTableModel::CellText(int row, int column) const {
  const std::string_view bytes = m_list.Cell(static_cast<std::size_t>(row), column);
  // Plain ASCII reads the same in Windows-1252 and in Unicode.
  if (std::all_of(bytes.begin(), bytes.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  const std::string utf8 = modKestralMGA::Cp1252ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QVariant MarkTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole) return CellText(index.row(), index.column());
  // Coordinates and heights stand right-aligned, as numbers do.
  if (role == Qt::TextAlignmentRole && index.column() >= modKestralMGA::kColEast &&
      index.column() <= modKestralMGA::kColHeight) {
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  }
  return {};
}

QVariant MarkTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= kMarkColumnCount) return {};
    return QString::fromLatin1(kMarkColumnTitles[static_cast<std::size_t>(section)]);
  }
  return section + 1;  // the grid's row number
}

Qt::ItemFlags MarkTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Cells are edited through the window's own editor (Text1), never through the view's.
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void MarkTableModel::SetCell(int row, int column, std::string bytes) {
  if (m_list.Cell(static_cast<std::size_t>(row), column) == bytes) {
    ApplyCell(row, column, bytes);  // the view repaints; nothing changed to undo
    return;
  }
  SetCells({{row, column, std::move(bytes)}}, QStringLiteral("Edit Cell"));
}

void MarkTableModel::SetCells(std::vector<CellChange> changes, const QString& stepName) {
  if (changes.empty()) return;
  int appended = 0;
  std::vector<CellsStep::Cell> cells;
  cells.reserve(changes.size());
  for (CellChange& change : changes) {
    appended = std::max(appended, change.Row + 1 - rowCount());
    const auto row = static_cast<std::size_t>(change.Row);
    std::string old(row < m_list.RowCount() ? m_list.Cell(row, change.Column) : std::string_view());
    cells.push_back({change.Row, change.Column, std::move(old), std::move(change.Bytes)});
  }
  m_undo->push(new CellsStep(*this, stepName, std::move(cells), appended));
}

void MarkTableModel::AppendRow() {
  InsertRow(rowCount());
}

void MarkTableModel::InsertRow(int row) {
  m_undo->push(new RowStep(*this, QStringLiteral("Add Line"), row, /*insert=*/true, {}));
}

void MarkTableModel::RemoveRow(int row) {
  m_undo->push(new RowStep(*this, QStringLiteral("Delete Line"), row, /*insert=*/false,
                           m_list.Row(static_cast<std::size_t>(row)).Owned()));
}

void MarkTableModel::AppendRows(const MarkList& added, const QString& stepName) {
  if (added.Empty()) return;
  m_undo->push(new AppendStep(*this, stepName, added));
}

void MarkTableModel::Reset(const std::function<void(MarkList&)>& change, const QString& stepName) {
  MarkList before = m_list;
  ResetModel(change);
  m_undo->push(new ReplaceStep(*this, stepName, std::move(before), m_list));
}

void MarkTableModel::Load(const std::function<void(MarkList&)>& change) {
  // A history that no longer fits the list goes, even when the change throws.
  struct EndHistory {
    MarkTableModel* model;
    std::uint64_t revision;
    ~EndHistory() {
      if (model->m_list.Revision() != revision) model->m_undo->clear();
    }
  };
  const EndHistory end{this, m_list.Revision()};
  ResetModel(change);
}

void MarkTableModel::ResetModel(const std::function<void(MarkList&)>& change) {
  // The reset ends even when the change throws.
  struct EndReset {
    MarkTableModel* model;
    ~EndReset() { model->endResetModel(); }
  };
  beginResetModel();
  const EndReset end{this};
  change(m_list);
}

void MarkTableModel::AddTidyUpStep(std::vector<RemovedRow> removed) {
  if (!removed.empty()) m_undo->push(new TidyUpStep(*this, std::move(removed)));
}

void MarkTableModel::SetUnchanged() {
  m_undo->setClean();
}

void MarkTableModel::ApplyCell(int row, int column, const std::string& bytes) {
  m_list.SetCell(static_cast<std::size_t>(row), column, bytes);
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void MarkTableModel::ApplyInsert(int row, const MarkRow& values) {
  beginInsertRows(QModelIndex(), row, row);
  m_list.InsertRow(static_cast<std::size_t>(row), values);
  endInsertRows();
}

void MarkTableModel::ApplyRemove(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  m_list.RemoveRow(static_cast<std::size_t>(row));
  endRemoveRows();
}

void MarkTableModel::ApplyAppend(const std::vector<MarkRow>& rows) {
  if (rows.empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
  m_list.Reserve(m_list.RowCount() + rows.size());
  for (const MarkRow& row : rows) m_list.AppendRow(row);
  endInsertRows();
}

void MarkTableModel::ApplyAppend(const MarkList& rows) {
  if (rows.Empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.RowCount()) - 1);
  m_list.Reserve(m_list.RowCount() + rows.RowCount());
  for (std::size_t row = 0; row < rows.RowCount(); ++row) {
    m_list.AppendRow(rows.Row(row).Cells(), rows.PsmKey(row));
  }
  endInsertRows();
}

void MarkTableModel::ApplyTruncate(std::size_t rows) {
  if (rows >= m_list.RowCount()) return;
  beginRemoveRows(QModelIndex(), static_cast<int>(rows), rowCount() - 1);
  m_list.Resize(rows);
  endRemoveRows();
}

void MarkTableModel::ApplyReplace(const MarkList& list) {
  beginResetModel();
  m_list = list;
  endResetModel();
}
