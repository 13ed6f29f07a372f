#include "joins/PsmNumberListModel.h"

#include <climits>
#include <utility>

#include "common/Cp1252.h"

PsmNumberListModel::PsmNumberListModel(QObject* parent) : QAbstractListModel(parent) {}

int PsmNumberListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return m_numbers.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                              : static_cast<int>(m_numbers.size());
}

QVariant PsmNumberListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole ||
      !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  const std::string utf8 = modKestralMGA::Cp1252ToUtf8(Number(index.row()));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Qt::ItemFlags PsmNumberListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void PsmNumberListModel::SetNumbers(std::vector<std::string> numbers) {
  beginResetModel();
  m_numbers = std::move(numbers);
  endResetModel();
}
