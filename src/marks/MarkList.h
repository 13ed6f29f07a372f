#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/BigBlocks.h"
#include "common/ByteBuffer.h"

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

// One mark owned on its own: eight texts, in column order. Nothing is stored as a number. What
// rows are added from, and what the undo history keeps of a row.
using MarkRow = std::array<std::string, kMarkColumnCount>;

// The eight cells of a mark as views, in column order.
using MarkCellViews = std::array<std::string_view, kMarkColumnCount>;

class MarkList;

// A row of a MarkList seen in place; its cells stay valid until the list next changes.
class MarkRowView {
 public:
  MarkRowView(const MarkList& list, std::size_t row) : m_list(&list), m_row(row) {}
  std::string_view operator[](std::size_t column) const;
  MarkCellViews Cells() const;
  MarkRow Owned() const;

 private:
  const MarkList* m_list;
  std::size_t m_row;
};

// The program's one store of Permanent Survey Marks: the rows of the mark list below its title
// row. Row r of this list (from 0) is grid row r + 1 of the window. Every change increments the
// revision, so that indexes built from the list know when to rebuild.
//
// The cells of every row are held in one run of bytes, each row giving where its cells lie. A
// file read whole can be handed to the list (AdoptBytes), and rows whose cells lie in those bytes
// are kept in place rather than copied. A changed cell is written at the end of the bytes; the
// bytes are tidied up when more than half of them are no longer used by any cell. The PSM key of
// every row's PSM No. is kept with the row.
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
  std::string_view Cell(std::size_t row, int column) const;
  MarkRowView Row(std::size_t row) const { return {*this, row}; }
  // Copies of every row, in order.
  std::vector<MarkRow> OwnedRows() const;
  // The PSM key of the row's PSM No. (TryPsmKey), nothing when it does not fit 32 bits.
  std::optional<std::int32_t> PsmKey(std::size_t row) const;
  std::uint64_t Revision() const { return m_revision; }

  void SetCell(std::size_t row, int column, std::string_view text);
  void AppendRow(const MarkRow& row = {});
  // Appends a row of cells that may lie in the bytes handed over by AdoptBytes (kept in place)
  // or anywhere else (copied), with the PSM key of its PSM No. already made.
  void AppendRow(const MarkCellViews& cells, std::optional<std::int32_t> key);
  void InsertRow(std::size_t position, const MarkRow& row = {});
  void RemoveRow(std::size_t row);
  // Keeps only the rows for which keep[row] is true, in order (one pass).
  void KeepRows(const std::vector<bool>& keep);
  // Makes the list hold count rows: rows are cut from the end or empty rows appended.
  void Resize(std::size_t count);
  void Clear();
  // Reserves room for count rows (no change of content, no new revision).
  void Reserve(std::size_t count) { m_rows.reserve(count); }

  // Takes bytes into the list's own (without a copy when the list holds no cell text) with room
  // for extra bytes more, and gives them back where they now lie: a reader may rewrite them and
  // append rows whose cells lie in them, which are then kept in place. They stay where they are
  // as long as the only changes are appended rows adding no more than extra bytes of cells that
  // do not lie in them. No change of content, no new revision.
  std::span<char> AdoptBytes(ByteBuffer bytes, std::size_t extra);

  // The sum of the heights the average height is taken of (see AverageHeight), as the one who
  // made the list summed them in row order; known only as long as the list does not change.
  struct HeightSum {
    double Sum = 0.0;
    std::size_t Count = 0;
    bool AnyBeyondLimit = false;  // a Height cell was left out as beyond the limit
  };
  void NoteHeightSum(const HeightSum& sum);
  const HeightSum* KnownHeightSum() const;

 private:
  friend class MarkRowView;
  // Where a row's cells lie: each at Base + Start, unless the row is wide (its cells did not fit
  // one span of 64 KiB), when Base is its place in m_wide.
  struct RowCells {
    std::uint32_t Base = 0;
    std::int32_t Key = 0;
    std::array<std::uint16_t, kMarkColumnCount> Start{};
    std::array<std::uint16_t, kMarkColumnCount> Size{};
    std::uint8_t Flags = 0;
  };
  struct Span {
    std::uint32_t Start = 0;
    std::uint32_t Size = 0;
  };
  using RowSpans = std::array<Span, kMarkColumnCount>;
  static constexpr std::uint8_t kWide = 1;
  static constexpr std::uint8_t kHasKey = 2;

  void Touch() { ++m_revision; }
  std::string_view Text(const Span& span) const { return {m_bytes.data() + span.Start, span.Size}; }
  RowSpans SpansOf(const RowCells& row) const;
  RowCells Encode(const RowSpans& spans, std::optional<std::int32_t> key);
  // Writes the cells one after another at the end of the bytes; a cell may lie in them.
  RowCells StoreRow(const MarkCellViews& cells, std::optional<std::int32_t> key);
  RowCells StoreOwned(const MarkRow& row);
  static std::size_t LiveBytes(const MarkCellViews& cells);
  std::size_t LiveBytes(const RowCells& row) const;
  void Dropped(const RowCells& row) { m_live -= LiveBytes(row); }
  // Rewrites the rows' cells into fresh bytes when most of the bytes are no longer used.
  void CompactIfWasteful();

  std::vector<RowCells, BigBlockAllocator<RowCells>> m_rows;
  std::vector<RowSpans> m_wide;
  ByteBuffer m_bytes;
  std::size_t m_live = 0;  // the bytes of every row's cells
  std::uint64_t m_revision = 0;
  HeightSum m_heightSum;
  std::optional<std::uint64_t> m_heightSumRevision;
};

}  // namespace modKestralMGA
