#include "reports/ui/ResultLinesModel.h"

#include <QColor>
#include <algorithm>
#include <climits>
#include <iterator>
#include <string_view>
#include <utility>

#include "app/QtDialogs.h"
#include "compare/ComparePSMJoins.h"

using modKestralMGA::IsNotAcceptableLine;

ResultLinesModel::ResultLinesModel(QObject* parent) : QAbstractListModel(parent) {}

int ResultLinesModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return m_lines.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                            : static_cast<int>(m_lines.size());
}

QVariant ResultLinesModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  // A line holds the plan identifier (the file system's UTF-8) or texts of the window's controls
  // (Windows-1252): read as a message is.
  const std::string& line = m_lines[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) return MessageText(line);
  // Joins not acceptable stand out from the rest: dark red on a pale red ground.
  if (role == Qt::ForegroundRole && IsNotAcceptableLine(line)) return QColor(150, 0, 0);
  if (role == Qt::BackgroundRole && IsNotAcceptableLine(line)) return QColor(255, 224, 224);
  return {};
}

Qt::ItemFlags ResultLinesModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ResultLinesModel::Clear() {
  beginResetModel();
  m_lines.clear();
  m_pending.clear();
  m_longest = 0;
  endResetModel();
}

void ResultLinesModel::Append(std::string line) {
  m_pending.push_back(std::move(line));
}

void ResultLinesModel::Flush() {
  if (m_pending.empty()) return;
  for (const std::string& line : m_pending) {
    m_longest = std::max(m_longest, static_cast<int>(std::min<std::size_t>(line.size(), INT_MAX)));
  }
  const int first = static_cast<int>(m_lines.size());
  beginInsertRows({}, first, first + static_cast<int>(m_pending.size()) - 1);
  m_lines.insert(m_lines.end(), std::make_move_iterator(m_pending.begin()),
                 std::make_move_iterator(m_pending.end()));
  m_pending.clear();
  endInsertRows();
}
