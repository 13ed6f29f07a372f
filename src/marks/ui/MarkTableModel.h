#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

class QUndoStack;

// The mark grid's model: a table over the core MarkList, one model row per mark (model row r is
// list row r, the grid's row r + 1 below its title row), eight columns titled "PSM No." to
// "Status" in the horizontal header. Cells are Windows-1252 bytes in the list and Unicode on the
// screen. The view asks only for the rows it shows, so a list of 200,000 marks opens and
// scrolls as quickly as a short one. Every change goes through the operations below so that the
// view hears of it.
//
// Every change but Load is one step of the undo history (UndoStack): a cell, a row added,
// inserted or removed, the rows of an import, a bulk change such as Clear, and the tidy-up after
// an Open. A step keeps only what it needs to go back (a cell's old text, a removed row); a bulk
// change keeps the list as it was. The history's clean state is the list as last opened or saved.
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
  QUndoStack& UndoStack() { return *m_undo; }
  // True when the list differs from the one last opened or saved (by the undo history).
  bool Changed() const;

  // The cell's text as the user reads it.
  QString CellText(int row, int column) const;
  // Replaces a cell's bytes (no step when they are the same).
  void SetCell(int row, int column, std::string bytes);
  // Replaces several cells as one step (a paste, Delete over a selection); rows beyond the last
  // are appended first. Each change is row, column and the new bytes.
  struct CellChange {
    int Row;
    int Column;
    std::string Bytes;
  };
  void SetCells(std::vector<CellChange> changes, const QString& stepName);
  // Appends one empty row at the end.
  void AppendRow();
  // Inserts one empty row before row (row == rowCount() appends).
  void InsertRow(int row);
  void RemoveRow(int row);
  // Appends copies of the rows of added at the end, as one insertion: the view keeps its current
  // cell and scroll position.
  void AppendRows(const modKestralMGA::MarkList& added, const QString& stepName);
  // Runs a bulk change of the core list (clear, a tidy-up) as one model reset and one step named
  // stepName. The reset ends even when the change throws; a change that throws makes no step.
  void Reset(const std::function<void(modKestralMGA::MarkList&)>& change, const QString& stepName);
  // A bulk change that starts a new history (Open, the start-up read, the grid's set-up): no step,
  // and the history before it is gone once the change touched the list (a refused Open keeps it).
  void Load(const std::function<void(modKestralMGA::MarkList&)>& change);
  // The tidy-up Open made (the repeats it left out, already out of the list) as a step of its own,
  // so that undo puts the repeats back.
  void AddTidyUpStep(std::vector<modKestralMGA::RemovedRow> removed);
  // Marks the list as it stands as the one last opened or saved.
  void SetUnchanged();

 signals:
  // An undo or redo changed the list around this cell (grid row counted from 0 here, as the model
  // counts): the window makes it current.
  void StepApplied(int row, int column);

 private:
  class Step;
  class CellsStep;
  class RowStep;
  class AppendStep;
  class ReplaceStep;
  class TidyUpStep;

  // The changes themselves, told to the view; the steps run them.
  void ApplyCell(int row, int column, const std::string& bytes);
  void ApplyInsert(int row, const modKestralMGA::MarkRow& values);
  void ApplyRemove(int row);
  void ApplyAppend(const std::vector<modKestralMGA::MarkRow>& rows);
  void ApplyAppend(const modKestralMGA::MarkList& rows);
  void ApplyTruncate(std::size_t rows);
  void ApplyReplace(const modKestralMGA::MarkList& list);
  // A bulk change of the list as one model reset.
  void ResetModel(const std::function<void(modKestralMGA::MarkList&)>& change);

  modKestralMGA::MarkList& m_list;
  QUndoStack* m_undo = nullptr;
};
