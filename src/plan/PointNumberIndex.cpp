#include "plan/PointNumberIndex.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kFewestPlaces = 16;

}  // namespace

void PointNumberIndex::Clear() {
  m_slots.clear();
  m_size = 0;
}

void PointNumberIndex::Reserve(std::size_t count) {
  std::size_t places = kFewestPlaces;
  while (places < 2 * count) places *= 2;
  if (places > m_slots.size()) Rehash(places);
}

bool PointNumberIndex::Insert(std::int32_t pointNo, std::int64_t entry) {
  if (2 * (m_size + 1) > m_slots.size()) {
    Rehash(m_slots.empty() ? kFewestPlaces : 2 * m_slots.size());
  }
  Slot& slot = m_slots[PlaceOf(pointNo)];
  if (slot.Entry >= 0) return false;
  slot = {pointNo, static_cast<std::int32_t>(entry)};
  ++m_size;
  return true;
}

std::int64_t PointNumberIndex::Find(std::int32_t pointNo) const {
  if (m_slots.empty()) return -1;
  return m_slots[PlaceOf(pointNo)].Entry;
}

std::size_t PointNumberIndex::PlaceOf(std::int32_t pointNo) const {
  // Fibonacci hashing of the number's bits, then linear probing.
  const std::size_t mask = m_slots.size() - 1;
  std::size_t place =
      static_cast<std::size_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(pointNo)) *
                                0x9E3779B97F4A7C15ULL) >>
                               32) &
      mask;
  while (m_slots[place].Entry >= 0 && m_slots[place].PointNo != pointNo) place = (place + 1) & mask;
  return place;
}

void PointNumberIndex::Rehash(std::size_t places) {
  std::vector<Slot> old(places);
  old.swap(m_slots);
  for (const Slot& slot : old) {
    if (slot.Entry >= 0) m_slots[PlaceOf(slot.PointNo)] = slot;
  }
}

}  // namespace modKestralMGA
