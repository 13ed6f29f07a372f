#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>

#include "marks/MarkList.h"

// The mark grid's model: a table over the core MarkList, one model row per mark (model row r is
// list row r, the grid's row r + 1 below its title row), eight columns titled "PSM No." to
// "Status" in the horizontal header. Cells are Windows-1252 bytes in the list and Unicode on the
// screen. The view asks only for the rows it shows, so a list of 200,000 marks opens and
// scrolls as quickly as a short one. Every change goes through the operations below so that the
// view hears of it.
class MarkTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit MarkTableModel(modKestralMGA::MarkList& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  const modKestralMGA::MarkList& List() const { return m_list; }

  // The cell's text as the user reads it.
  QString CellText(int row, int column) const;
  // Replaces a cell's bytes.
  void SetCell(int row, int column, std::string bytes);
  // Appends one empty row at the end.
  void AppendRow();
  // Inserts one empty row before row (row == rowCount() appends).
  void InsertRow(int row);
  void RemoveRow(int row);
  // Appends copies of the rows of added at the end, as one insertion: the view keeps its current
  // cell and scroll position.
  void AppendRows(const modKestralMGA::MarkList& added);
  // Runs a bulk change of the core list (open, duplicate removal, clear) as one model reset. The
  // reset ends even when the change throws.
  void Reset(const std::function<void(modKestralMGA::MarkList&)>& change);

 private:
  modKestralMGA::MarkList& m_list;
};
