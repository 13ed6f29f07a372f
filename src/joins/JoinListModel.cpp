#include "joins/JoinListModel.h"

#include <climits>
#include <utility>

using modKestralMGA::JoinListRow;
using modKestralMGA::kJoinListColumns;
using modKestralMGA::kJoinListHeaders;

JoinListModel::JoinListModel(QObject* parent) : QAbstractTableModel(parent) {}

int JoinListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return m_rows.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                           : static_cast<int>(m_rows.size());
}

int JoinListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kJoinListColumns;
}

QVariant JoinListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  // Bearing, distance and scale factor stand right-aligned, as numbers do.
  if (role == Qt::TextAlignmentRole && index.column() >= 2) {
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  }
  if (role != Qt::DisplayRole) return {};
  // The cells are numbers written by the program's formats: plain ASCII.
  const std::string& text =
      m_rows[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant JoinListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kJoinListColumns) {
    return {};
  }
  return QString::fromLatin1(kJoinListHeaders[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags JoinListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void JoinListModel::AppendRow(JoinListRow row) {
  const int at = rowCount();
  beginInsertRows(QModelIndex(), at, at);
  m_rows.push_back(std::move(row));
  endInsertRows();
}

void JoinListModel::Clear() {
  if (m_rows.empty()) return;
  beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
  m_rows.clear();
  endRemoveRows();
}
