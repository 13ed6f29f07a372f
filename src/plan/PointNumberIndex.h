#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace modKestralMGA {

// The entries of point numbers: a hash table of (point number, entry) pairs held in one array
// (open addressing with linear probing, at most half full), so that a plan of 100,000 points is
// indexed without an allocation per point.
class PointNumberIndex {
 public:
  void Clear();
  // Room for count numbers without growing.
  void Reserve(std::size_t count);
  // Adds pointNo with its entry (0 up to 2^31 - 1) when absent and returns true; returns false,
  // the entry held unchanged, when pointNo is present.
  bool Insert(std::int32_t pointNo, std::int64_t entry);
  // The entry of pointNo, or -1 when absent.
  std::int64_t Find(std::int32_t pointNo) const;
  std::size_t Size() const { return m_size; }

 private:
  struct Slot {
    std::int32_t PointNo = 0;
    std::int32_t Entry = -1;  // -1: the place is free
  };
  // The place of pointNo: the one holding it, or the free one where it would go.
  std::size_t PlaceOf(std::int32_t pointNo) const;
  void Rehash(std::size_t places);

  std::vector<Slot> m_slots;  // a power of two places, or none
  std::size_t m_size = 0;
};

}  // namespace modKestralMGA
