#include "marks/MarkList.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "geodesy/Keys.h"

namespace modKestralMGA {

namespace {

// The widest span of a row whose cells are placed by 16-bit offsets.
constexpr std::size_t kNarrowSpan = 0xFFFF;
// Waste tolerated besides the bytes in use before the bytes are tidied up.
constexpr std::size_t kWasteSlack = std::size_t{64} << 10;

bool Inside(std::string_view text, const ByteBuffer& bytes) {
  return !text.empty() && text.data() >= bytes.begin() && text.data() < bytes.end();
}

}  // namespace

std::string_view MarkRowView::operator[](std::size_t column) const {
  return m_list->Cell(m_row, static_cast<int>(column));
}

MarkCellViews MarkRowView::Cells() const {
  MarkCellViews cells;
  for (std::size_t column = 0; column < cells.size(); ++column) cells[column] = (*this)[column];
  return cells;
}

MarkRow MarkRowView::Owned() const {
  MarkRow row;
  for (std::size_t column = 0; column < row.size(); ++column) row[column] = (*this)[column];
  return row;
}

MarkList& MarkList::operator=(const MarkList& other) {
  if (this != &other) {
    const std::uint64_t newer = std::max(m_revision, other.m_revision) + 1;
    MarkList copy(other);
    *this = std::move(copy);
    m_revision = newer;
  }
  return *this;
}

MarkList& MarkList::operator=(MarkList&& other) noexcept {
  if (this != &other) {
    const std::uint64_t newer = std::max(m_revision, other.m_revision) + 1;
    m_rows = std::move(other.m_rows);
    m_wide = std::move(other.m_wide);
    m_bytes = std::move(other.m_bytes);
    m_live = other.m_live;
    m_heightSum = other.m_heightSum;
    m_revision = newer;
    // A sum noted for the other list's revision says nothing of this one's.
    m_heightSumRevision.reset();
  }
  return *this;
}

std::string_view MarkList::Cell(std::size_t row, int column) const {
  const RowCells& cells = m_rows[row];
  const auto c = static_cast<std::size_t>(column);
  if ((cells.Flags & kWide) != 0) return Text(m_wide[cells.Base][c]);
  return {m_bytes.data() + cells.Base + cells.Start[c], cells.Size[c]};
}

std::vector<MarkRow> MarkList::OwnedRows() const {
  std::vector<MarkRow> rows;
  rows.reserve(RowCount());
  for (std::size_t row = 0; row < RowCount(); ++row) rows.push_back(Row(row).Owned());
  return rows;
}

std::optional<std::int32_t> MarkList::PsmKey(std::size_t row) const {
  if ((m_rows[row].Flags & kHasKey) == 0) return std::nullopt;
  return m_rows[row].Key;
}

MarkList::RowSpans MarkList::SpansOf(const RowCells& row) const {
  if ((row.Flags & kWide) != 0) return m_wide[row.Base];
  RowSpans spans;
  for (std::size_t c = 0; c < spans.size(); ++c) {
    spans[c] = {row.Base + row.Start[c], row.Size[c]};
  }
  return spans;
}

MarkList::RowCells MarkList::Encode(const RowSpans& spans, std::optional<std::int32_t> key) {
  RowCells row;
  row.Key = key.value_or(0);
  row.Flags = key ? kHasKey : 0;
  std::uint32_t first = std::numeric_limits<std::uint32_t>::max();
  std::size_t last = 0;
  for (const Span& span : spans) {
    if (span.Size == 0) continue;
    first = std::min(first, span.Start);
    last = std::max<std::size_t>(last, std::size_t{span.Start} + span.Size);
  }
  if (last == 0) return row;  // every cell empty
  if (last - first < kNarrowSpan) {
    row.Base = first;
    for (std::size_t c = 0; c < spans.size(); ++c) {
      if (spans[c].Size == 0) continue;
      row.Start[c] = static_cast<std::uint16_t>(spans[c].Start - first);
      row.Size[c] = static_cast<std::uint16_t>(spans[c].Size);
    }
    return row;
  }
  row.Flags |= kWide;
  row.Base = static_cast<std::uint32_t>(m_wide.size());
  m_wide.push_back(spans);
  return row;
}

MarkList::RowCells MarkList::StoreRow(const MarkCellViews& cells, std::optional<std::int32_t> key) {
  // Cells that lie in the bytes are found again by their place once the bytes have grown.
  std::array<std::size_t, kMarkColumnCount> inside{};
  std::size_t total = 0;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    inside[c] = Inside(cells[c], m_bytes)
                    ? static_cast<std::size_t>(cells[c].data() - m_bytes.data())
                    : std::string_view::npos;
    total += cells[c].size();
  }
  const std::size_t start = m_bytes.size();
  if (start + total > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("mark list too large");
  }
  if (start + total > m_bytes.capacity()) {
    m_bytes.reserve(std::max(start + total, m_bytes.capacity() + m_bytes.capacity() / 2 + 256));
  }
  RowSpans spans;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const std::size_t size = cells[c].size();
    if (size == 0) continue;
    spans[c] = {static_cast<std::uint32_t>(m_bytes.size()), static_cast<std::uint32_t>(size)};
    const char* from =
        inside[c] != std::string_view::npos ? m_bytes.data() + inside[c] : cells[c].data();
    m_bytes.append(std::string_view(from, size));
  }
  m_live += total;
  return Encode(spans, key);
}

MarkList::RowCells MarkList::StoreOwned(const MarkRow& row) {
  MarkCellViews cells;
  std::copy(row.begin(), row.end(), cells.begin());
  return StoreRow(cells, TryPsmKey(row[kColPsmNo]));
}

std::size_t MarkList::LiveBytes(const MarkCellViews& cells) {
  std::size_t total = 0;
  for (const std::string_view cell : cells) total += cell.size();
  return total;
}

std::size_t MarkList::LiveBytes(const RowCells& row) const {
  std::size_t total = 0;
  for (const Span& span : SpansOf(row)) total += span.Size;
  return total;
}

void MarkList::SetCell(std::size_t row, int column, std::string_view text) {
  MarkCellViews cells = Row(row).Cells();
  cells[static_cast<std::size_t>(column)] = text;
  const std::optional<std::int32_t> key = column == kColPsmNo ? TryPsmKey(text) : PsmKey(row);
  Dropped(m_rows[row]);
  m_rows[row] = StoreRow(cells, key);
  Touch();
  CompactIfWasteful();
}

void MarkList::AppendRow(const MarkRow& row) {
  m_rows.push_back(StoreOwned(row));
  Touch();
}

void MarkList::AppendRow(const MarkCellViews& cells, std::optional<std::int32_t> key) {
  RowSpans spans;
  bool inPlace = true;
  for (std::size_t c = 0; c < cells.size() && inPlace; ++c) {
    if (cells[c].empty()) continue;
    inPlace = Inside(cells[c], m_bytes) && cells[c].data() + cells[c].size() <= m_bytes.end();
    spans[c] = {static_cast<std::uint32_t>(cells[c].data() - m_bytes.data()),
                static_cast<std::uint32_t>(cells[c].size())};
  }
  if (inPlace) {
    m_rows.push_back(Encode(spans, key));
    m_live += LiveBytes(cells);
  } else {
    m_rows.push_back(StoreRow(cells, key));
  }
  Touch();
}

void MarkList::InsertRow(std::size_t position, const MarkRow& row) {
  const RowCells cells = StoreOwned(row);
  m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(position), cells);
  Touch();
}

void MarkList::RemoveRow(std::size_t row) {
  Dropped(m_rows[row]);
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
  Touch();
  CompactIfWasteful();
}

void MarkList::KeepRows(const std::vector<bool>& keep) {
  std::size_t out = 0;
  for (std::size_t in = 0; in < m_rows.size(); ++in) {
    if (in < keep.size() && keep[in]) {
      m_rows[out++] = m_rows[in];
    } else {
      Dropped(m_rows[in]);
    }
  }
  m_rows.resize(out);
  Touch();
  CompactIfWasteful();
}

void MarkList::Resize(std::size_t count) {
  for (std::size_t row = count; row < m_rows.size(); ++row) Dropped(m_rows[row]);
  m_rows.resize(count, Encode(RowSpans{}, TryPsmKey("")));
  Touch();
  CompactIfWasteful();
}

void MarkList::Clear() {
  m_rows.clear();
  m_wide.clear();
  m_bytes.clear();
  m_live = 0;
  Touch();
}

std::span<char> MarkList::AdoptBytes(ByteBuffer bytes, std::size_t extra) {
  std::size_t at = 0;
  if (m_live == 0) {
    // No cell lies in the bytes held (every row is empty): the new ones take their place,
    // uncopied.
    m_bytes.swap(bytes);
    m_wide.clear();
  } else {
    at = m_bytes.size();
    m_bytes.reserve(at + bytes.size() + extra);
    m_bytes.append(bytes.view());
  }
  if (m_bytes.size() + extra > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("mark list too large");
  }
  m_bytes.reserve(m_bytes.size() + extra);
  return {m_bytes.data() + at, m_bytes.size() - at};
}

void MarkList::NoteHeightSum(const HeightSum& sum) {
  m_heightSum = sum;
  m_heightSumRevision = m_revision;
}

const MarkList::HeightSum* MarkList::KnownHeightSum() const {
  return m_heightSumRevision == m_revision ? &m_heightSum : nullptr;
}

void MarkList::CompactIfWasteful() {
  if (m_bytes.size() <= 2 * m_live + kWasteSlack) return;
  MarkList tidy;
  tidy.m_bytes.reserve(m_live);
  tidy.m_rows.reserve(m_rows.size());
  for (std::size_t row = 0; row < m_rows.size(); ++row) {
    tidy.m_rows.push_back(tidy.StoreRow(Row(row).Cells(), PsmKey(row)));
  }
  m_rows.swap(tidy.m_rows);
  m_wide.swap(tidy.m_wide);
  m_bytes.swap(tidy.m_bytes);
}

}  // namespace modKestralMGA
