#include "marks/ui/MarkTableModel.h"

#include <climits>
#include <utility>

#include "common/Cp1252.h"

using modKestralMGA::kMarkColumnCount;
using modKestralMGA::kMarkColumnTitles;
using modKestralMGA::MarkList;

MarkTableModel::MarkTableModel(MarkList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

int MarkTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  const std::size_t rows = m_list.RowCount();
  return rows > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(rows);
}

int MarkTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMarkColumnCount;
}

QString MarkTableModel::CellText(int row, int column) const {
  const std::string utf8 =
      modKestralMGA::Cp1252ToUtf8(m_list.Cell(static_cast<std::size_t>(row), column));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QVariant MarkTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::EditRole) return CellText(index.row(), index.column());
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
  m_list.SetCell(static_cast<std::size_t>(row), column, std::move(bytes));
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void MarkTableModel::AppendRow() {
  InsertRow(rowCount());
}

void MarkTableModel::InsertRow(int row) {
  beginInsertRows(QModelIndex(), row, row);
  m_list.InsertRow(static_cast<std::size_t>(row));
  endInsertRows();
}

void MarkTableModel::RemoveRow(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  m_list.RemoveRow(static_cast<std::size_t>(row));
  endRemoveRows();
}

void MarkTableModel::AppendRows(const MarkList& added) {
  if (added.Empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(added.RowCount()) - 1);
  m_list.Reserve(m_list.RowCount() + added.RowCount());
  for (const auto& row : added.Rows()) m_list.AppendRow(row);
  endInsertRows();
}

void MarkTableModel::Reset(const std::function<void(MarkList&)>& change) {
  struct EndReset {
    MarkTableModel* model;
    ~EndReset() { model->endResetModel(); }
  };
  beginResetModel();
  const EndReset end{this};
  change(m_list);
}
