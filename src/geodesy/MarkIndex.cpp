#include "geodesy/MarkIndex.h"

#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {

std::optional<IndexedMark> MarkIndex::Find(std::int32_t key) {
  if (!m_built || m_revision != m_list->Revision()) Rebuild();
  Slot& slot = m_slots[PlaceOf(key)];
  if (slot.RowPlusOne == 0) return std::nullopt;
  if (slot.ReadPlusOne != 0) return m_read[slot.ReadPlusOne - 1];
  // The cells are read at the first lookup after a rebuild: the revision check guarantees that
  // the row still holds what it held when the index was built, so later lookups may reuse the
  // values.
  const MarkRow& row = m_list->Row(slot.RowPlusOne - 1);
  IndexedMark mark;
  mark.East = NumericValue(row[kColEast]);
  mark.North = NumericValue(row[kColNorth]);
  mark.Order = RoundHalfEven(NumericValue(row[kColOrder]));
  m_read.push_back(mark);
  slot.ReadPlusOne = static_cast<std::uint32_t>(m_read.size());
  return mark;
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

}  // namespace modKestralMGA
