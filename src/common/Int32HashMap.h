#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/BigBlocks.h"

namespace modKestralMGA {

// A hash map from 32-bit keys (PSM keys, point numbers) to small values, held in one array: open
// addressing with linear probing after Fibonacci hashing of the key's bits, at most half full.
// Indexing 200,000 marks or plan points makes no allocation per key, which keeps a rebuild about
// three times faster than std::unordered_map. Entries are never removed one by one.
template <typename Value>
class Int32HashMap {
 public:
  void Clear() {
    m_slots.clear();
    m_size = 0;
  }
  // Empties the map and makes room for count keys without growing.
  void ClearAndReserve(std::size_t count) {
    m_slots.assign(PlacesFor(count), Slot{});
    m_size = 0;
  }
  // Room for count keys without growing.
  void Reserve(std::size_t count) {
    const std::size_t places = PlacesFor(count);
    if (places > m_slots.size()) Rehash(places);
  }
  // The value held for key and true after adding key with value when it was absent; the value
  // held and false, the value unchanged, when key was present.
  std::pair<Value*, bool> TryEmplace(std::int32_t key, Value value) {
    if (2 * (m_size + 1) > m_slots.size()) Rehash(PlacesFor(m_size + 1));
    Slot& slot = m_slots[PlaceOf(key)];
    if (slot.Used) return {&slot.Held, false};
    slot = Slot{key, true, std::move(value)};
    ++m_size;
    return {&slot.Held, true};
  }
  // The value held for key, or nullptr when key is absent.
  Value* Find(std::int32_t key) {
    if (m_slots.empty()) return nullptr;
    Slot& slot = m_slots[PlaceOf(key)];
    return slot.Used ? &slot.Held : nullptr;
  }
  const Value* Find(std::int32_t key) const { return const_cast<Int32HashMap*>(this)->Find(key); }
  std::size_t Size() const { return m_size; }

 private:
  struct Slot {
    std::int32_t Key = 0;
    bool Used = false;
    Value Held{};
  };

  static std::size_t PlacesFor(std::size_t count) {
    std::size_t places = 16;
    while (places < 2 * count) places *= 2;
    return places;
  }
  // The place of key: the one holding it, or the free one where it would go.
  std::size_t PlaceOf(std::int32_t key) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t place =
        static_cast<std::size_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) * 0x9E3779B97F4A7C15ULL) >>
            32) &
        mask;
    while (m_slots[place].Used && m_slots[place].Key != key) place = (place + 1) & mask;
    return place;
  }
  void Rehash(std::size_t places) {
    std::vector<Slot, BigBlockAllocator<Slot>> old(places);
    old.swap(m_slots);
    for (Slot& slot : old) {
      if (slot.Used) m_slots[PlaceOf(slot.Key)] = std::move(slot);
    }
  }

  std::vector<Slot, BigBlockAllocator<Slot>> m_slots;  // a power of two places, or none
  std::size_t m_size = 0;
};

}  // namespace modKestralMGA
