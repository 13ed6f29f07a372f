#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

// The lines of the results list: one row per line, held as the bytes the comparison wrote and
// shown as text. Lines arrive one by one but reach the view in batches: Append keeps them aside
// and Flush inserts all kept lines as one block of rows, so that 44,850 result lines cost the
// view a handful of insertions rather than one per line.
class ResultLinesModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit ResultLinesModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Removes every line, shown or kept aside.
  void Clear();
  // Keeps a line aside for the next Flush.
  void Append(std::string line);
  // Inserts the lines kept aside after the shown ones, as one block of rows.
  void Flush();

  // The lines the view shows, as bytes.
  const std::vector<std::string>& Lines() const { return m_lines; }
  // The lines shown and kept aside: the row the next line appended will take.
  std::size_t Count() const { return m_lines.size() + m_pending.size(); }
  // The length of the longest line the view shows, in bytes (a character each, but for the
  // letters a UTF-8 path spells in two or more).
  int LongestLine() const { return m_longest; }

 private:
  std::vector<std::string> m_lines;
  std::vector<std::string> m_pending;
  int m_longest = 0;
};
