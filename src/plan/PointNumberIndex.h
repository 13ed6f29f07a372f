#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Int32HashMap.h"

namespace modKestralMGA {

// The entries of point numbers, so that a plan of 100,000 points is indexed without an allocation
// per point.
class PointNumberIndex {
 public:
  void Clear() { m_entries.Clear(); }
  // Room for count numbers without growing.
  void Reserve(std::size_t count) { m_entries.Reserve(count); }
  // Adds pointNo with its entry when absent and returns true; returns false, the entry held
  // unchanged, when pointNo is present.
  bool Insert(std::int32_t pointNo, std::int64_t entry) {
    return m_entries.TryEmplace(pointNo, entry).second;
  }
  // The entry of pointNo, or -1 when absent.
  std::int64_t Find(std::int32_t pointNo) const {
    const std::int64_t* found = m_entries.Find(pointNo);
    return found == nullptr ? -1 : *found;
  }
  std::size_t Size() const { return m_entries.Size(); }

 private:
  Int32HashMap<std::int64_t> m_entries;
};

}  // namespace modKestralMGA
