#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace modKestralMGA {

// The columns of the mark list, in order.
enum MarkColumn : int {
  kColPsmNo = 0,
  kColEast = 1,
  kColNorth = 2,
  kColHeight = 3,
  kColOrder = 4,
  kColZone = 5,
  kColDatum = 6,
  kColStatus = 7,
};
inline constexpr int kMarkColumnCount = 8;

// The column titles of the mark list's title row.
inline constexpr std::array<const char*, kMarkColumnCount> kMarkColumnTitles = {
    "PSM No.", "East", "North", "Height", "Order", "Zone", "Datum", "Status"};

// One mark: eight texts, in column order. Nothing is stored as a number.
using MarkRow = std::array<std::string, kMarkColumnCount>;

// The program's one store of Permanent Survey Marks: the rows of the mark list below its title
// row. Row r of this list (from 0) is grid row r + 1 of the window. Every change increments the
// revision, so that indexes built from the list know when to rebuild.
class MarkList {
 public:
  MarkList() = default;
  MarkList(const MarkList&) = default;
  MarkList(MarkList&&) = default;
  // Assigning gives the list a revision newer than both its old one and the other's, so that an
  // index built on this list before the assignment rebuilds.
  MarkList& operator=(const MarkList& other);
  MarkList& operator=(MarkList&& other) noexcept;
  ~MarkList() = default;

  std::size_t RowCount() const { return m_rows.size(); }
  bool Empty() const { return m_rows.empty(); }
  const MarkRow& Row(std::size_t row) const { return m_rows[row]; }
  const std::string& Cell(std::size_t row, int column) const {
    return m_rows[row][static_cast<std::size_t>(column)];
  }
  const std::vector<MarkRow>& Rows() const { return m_rows; }
  std::uint64_t Revision() const { return m_revision; }

  void SetCell(std::size_t row, int column, std::string text);
  void AppendRow(MarkRow row = {});
  void InsertRow(std::size_t position, MarkRow row = {});
  void RemoveRow(std::size_t row);
  // Keeps only the rows for which keep[row] is true, in order (one pass).
  void KeepRows(const std::vector<bool>& keep);
  // Makes the list hold count rows: rows are cut from the end or empty rows appended.
  void Resize(std::size_t count);
  void Clear();
  // Reserves room for count rows (no change of content, no new revision).
  void Reserve(std::size_t count) { m_rows.reserve(count); }

 private:
  void Touch() { ++m_revision; }

  std::vector<MarkRow> m_rows;
  std::uint64_t m_revision = 0;
};

}  // namespace modKestralMGA
