#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

// The join calculation window's list of PSM numbers: a snapshot of the complete rows of the mark
// list, taken when the window opens. Numbers are kept as the list holds them (Windows-1252 bytes)
// and shown as Unicode; the view asks only for the rows it shows, so 200,000 numbers open at
// once.
class PsmNumberListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit PsmNumberListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Replaces the whole list.
  void SetNumbers(std::vector<std::string> numbers);
  // The number of row as the mark list holds it.
  const std::string& Number(int row) const { return m_numbers[static_cast<std::size_t>(row)]; }

 private:
  std::vector<std::string> m_numbers;
};
