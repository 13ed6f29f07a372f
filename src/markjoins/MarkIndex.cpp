#include "markjoins/MarkIndex.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {

std::optional<IndexedMark> MarkIndex::Find(std::int32_t key) {
  if (!m_built || m_revision != m_list->Revision()) Rebuild();
  const std::uint32_t* row = m_rows.Find(key);
  if (row == nullptr) return std::nullopt;
  // The cells are read at the first lookup after a rebuild: the revision check guarantees that
  // the row still holds what it held when the index was built, so later lookups may reuse the
  // values. A key looked up before is only read here, never added.
  const std::uint32_t* at = m_readAt.Find(key);
  if (at == nullptr) {
    m_read.push_back(ReadRow(*row));
    at = m_readAt.TryEmplace(key, static_cast<std::uint32_t>(m_read.size() - 1)).first;
  }
  const ReadMark& read = m_read[*at];
  if (read.Where != OffGrid::No && m_notices != nullptr) {
    m_notices->Tell(key, m_list->Cell(*row, kColPsmNo), read.Where);
  }
  return read.Mark;
}

std::optional<std::size_t> MarkIndex::FindRow(std::int32_t key) {
  if (!m_built || m_revision != m_list->Revision()) Rebuild();
  const std::uint32_t* row = m_rows.Find(key);
  if (row == nullptr) return std::nullopt;
  return *row;
}

void MarkIndex::ReadEveryRow() {
  if (!m_built || m_revision != m_list->Revision()) Rebuild();
  for (std::size_t row = 0; row < m_list->RowCount(); ++row) {
    if (const std::optional<std::int32_t> key = KeyOfRow(row)) {
      Find(*key);
    }
  }
}

MarkIndex::ReadMark MarkIndex::ReadRow(std::size_t rowNumber) const {
  const MarkRowView row = m_list->Row(rowNumber);
  ReadMark read;
  read.Mark.East = NumericValue(row[kColEast]);
  read.Mark.North = NumericValue(row[kColNorth]);
  read.Mark.Order = RoundHalfEven(NumericValue(row[kColOrder]));
  // Coordinates beyond every grid would turn the latitude series into infinities; such a mark
  // counts as one without coordinates.
  if (read.Mark.East > kGridEastLimit) {
    read.Where = OffGrid::East;
  } else if (read.Mark.North > kGridNorthLimit) {
    read.Where = OffGrid::North;
  }
  if (read.Where != OffGrid::No) {
    read.Mark.East = 0.0;
    read.Mark.North = 0.0;
  }
  return read;
}

void MarkIndex::UseNames(const MarkNameTable& names) {
  if (names == m_names) return;
  m_names = names;
  m_built = false;
}

std::optional<std::int32_t> MarkIndex::KeyOfRow(std::size_t row) const {
  if (m_names.Empty()) return m_list->PsmKey(row);
  const std::string_view psmNumber = m_list->Cell(row, kColPsmNo);
  if (!HasNumericKey(psmNumber)) {
    const auto named = m_names.KeyOfMatchText.find(MarkNameMatchText(psmNumber));
    if (named != m_names.KeyOfMatchText.end()) return named->second;
  }
  const std::optional<std::int32_t> key = m_list->PsmKey(row);
  // A plan's named marks own their keys.
  if (key && m_names.WrittenName.count(*key) != 0) return std::nullopt;
  return key;
}

void MarkIndex::Rebuild() {
  const std::size_t rows = m_list->RowCount();
  m_rows.ClearAndReserve(rows);
  m_readAt.Clear();
  m_read.clear();
  for (std::size_t r = 0; r < rows; ++r) {
    // A PSM number whose key does not fit 32 bits names no plan point and no typed key can
    // equal it: the row is left out rather than failing every join.
    const std::optional<std::int32_t> key = KeyOfRow(r);
    if (!key) continue;
    const auto row = static_cast<std::uint32_t>(r);
    const auto [held, added] = m_rows.TryEmplace(*key, row);
    if (!added) *held = row;  // a later row with the key wins
  }
  m_revision = m_list->Revision();
  m_built = true;
}

OffGridNotices::OffGridNotices(MarkIndex& index, MessageSink& sink, std::string title)
    : m_index(index), m_outer(index.m_notices), m_sink(sink), m_title(std::move(title)) {
  m_index.m_notices = this;
}

OffGridNotices::~OffGridNotices() {
  m_index.m_notices = m_outer;
}

void OffGridNotices::Tell(std::int32_t key, std::string_view psmNumber, MarkIndex::OffGrid where) {
  if (!m_told.insert(key).second) return;
  const char* const limit =
      where == MarkIndex::OffGrid::East ? "East above 10000000 m" : "North above 20000000 m";
  m_sink.Message(std::string(psmNumber) + " lies outside every MGA zone (" + limit +
                     "): taken as without coordinates",
                 m_title, MessageIcon::Exclamation);
}

std::vector<ListedMark> MarksNear(MarkIndex& index, const std::vector<GridPlace>& places,
                                  double radius) {
  const MarkList& list = index.List();
  const auto near = [&](double east, double north) {
    for (const GridPlace& place : places) {
      if (std::abs(east - place.East) <= radius && std::abs(north - place.North) <= radius &&
          std::hypot(east - place.East, north - place.North) <= radius) {
        return true;
      }
    }
    return false;
  };
  std::vector<ListedMark> marks;
  std::unordered_set<std::int32_t> seen;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    const double east = NumericValue(list.Cell(row, kColEast));
    const bool eastNear = std::any_of(places.begin(), places.end(), [&](const GridPlace& place) {
      return std::abs(east - place.East) <= radius;
    });
    if (!eastNear || !near(east, NumericValue(list.Cell(row, kColNorth)))) continue;
    const std::optional<std::int32_t> key = list.PsmKey(row);
    if (!key || !seen.insert(*key).second) continue;
    // The key's last row gives its coordinates, which may lie elsewhere.
    const std::optional<IndexedMark> mark = index.Find(*key);
    if (mark && mark->East > 0.0 && mark->North > 0.0 && near(mark->East, mark->North)) {
      marks.push_back({*key, *mark});
    }
  }
  return marks;
}

}  // namespace modKestralMGA
