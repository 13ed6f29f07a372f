#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "markjoins/JoinCalculation.h"

// The join calculation window's join list: one model row per join, the five columns "From",
// "To", "Bearing", "Distance" and "Combined S. F." titled in the horizontal header (the grid's
// fixed header row).
class JoinListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit JoinListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const std::vector<modKestralMGA::JoinListRow>& Rows() const { return m_rows; }
  // Adds a row at the end.
  void AppendRow(modKestralMGA::JoinListRow row);
  // Cuts the list back to its header.
  void Clear();

 private:
  std::vector<modKestralMGA::JoinListRow> m_rows;
};
