#include "markjoins/MarkIndex.h"

#include <utility>

#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {

std::optional<IndexedMark> MarkIndex::Find(std::int32_t key) {
  if (!m_built || m_revision != m_list->Revision()) Rebuild();
  Slot& slot = m_slots[PlaceOf(key)];
  if (slot.RowPlusOne == 0) return std::nullopt;
  if (slot.ReadPlusOne == 0) ReadRow(slot);
  const ReadMark& read = m_read[slot.ReadPlusOne - 1];
  if (read.Where != OffGrid::No && m_notices != nullptr) {
    m_notices->Tell(key, m_list->Cell(slot.RowPlusOne - 1, kColPsmNo), read.Where);
  }
  return read.Mark;
}

void MarkIndex::ReadRow(Slot& slot) {
  // The cells are read at the first lookup after a rebuild: the revision check guarantees that
  // the row still holds what it held when the index was built, so later lookups may reuse the
  // values.
  const MarkRow& row = m_list->Row(slot.RowPlusOne - 1);
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
  m_read.push_back(read);
  slot.ReadPlusOne = static_cast<std::uint32_t>(m_read.size());
}

std::size_t MarkIndex::PlaceOf(std::int32_t key) const {
  // Fibonacci hashing of the key's bits, then linear probing.
  const std::size_t mask = m_slots.size() - 1;
  std::size_t place =
      static_cast<std::size_t>(
          (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) * 0x9E3779B97F4A7C15ULL) >>
          32) &
      mask;
  while (m_slots[place].RowPlusOne != 0 && m_slots[place].Key != key) place = (place + 1) & mask;
  return place;
}

void MarkIndex::Rebuild() {
  const std::size_t rows = m_list->RowCount();
  std::size_t capacity = 16;
  while (capacity < 2 * rows) capacity *= 2;
  m_slots.assign(capacity, Slot{});
  m_read.clear();
  for (std::size_t r = 0; r < rows; ++r) {
    // A PSM number whose key does not fit 32 bits names no plan point and no typed key can
    // equal it: the row is left out rather than failing every join.
    const std::optional<std::int32_t> key = TryPsmKey(m_list->Cell(r, kColPsmNo));
    if (!key) continue;
    Slot& slot = m_slots[PlaceOf(*key)];
    slot.Key = *key;
    slot.RowPlusOne = static_cast<std::uint32_t>(r + 1);  // a later row with the key wins
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

void OffGridNotices::Tell(std::int32_t key, const std::string& psmNumber,
                          MarkIndex::OffGrid where) {
  if (!m_told.insert(key).second) return;
  const char* const limit =
      where == MarkIndex::OffGrid::East ? "East above 10000000 m" : "North above 20000000 m";
  m_sink.Message(
      psmNumber + " lies outside every MGA zone (" + limit + "): taken as without coordinates",
      m_title, MessageIcon::Exclamation);
}

}  // namespace modKestralMGA
