#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "marks/MarkList.h"

namespace modKestralMGA {

// What a join needs of a listed mark, read from its cells by the numeric value rule.
struct IndexedMark {
  double East = 0.0;
  double North = 0.0;
  double Order = 0.0;  // the Order cell's value rounded half to even (no 16-bit limit)
};

// Looks marks up by PSM key. Gives the same answers as scanning the list at every join (the last
// row with the key wins; the list as it is at the moment of the call) at hash-table cost: the
// index is rebuilt only when the list's revision has changed, and a row's cells are read at its
// first lookup after a rebuild and kept until the next. A row whose PSM number gives a key beyond
// 32 bits is never matched.
class MarkIndex {
 public:
  explicit MarkIndex(const MarkList& list) : m_list(&list) {}
  // The mark with that key, or nothing when no row has it.
  std::optional<IndexedMark> Find(std::int32_t key);
  // The mark with that key, or a mark with every value 0 when no row has it: the coordinates of
  // a missing mark count as 0.
  IndexedMark FindOrZero(std::int32_t key) { return Find(key).value_or(IndexedMark{}); }
  const MarkList& List() const { return *m_list; }

 private:
  // One place of the open-addressing table: a key and the row that holds it.
  struct Slot {
    std::int32_t Key = 0;
    std::uint32_t RowPlusOne = 0;   // 0: the place is free
    std::uint32_t ReadPlusOne = 0;  // the row's values in m_read; 0: not read since the rebuild
  };

  void Rebuild();
  // The place of key in the table: the one holding it, or the free one where it would go.
  std::size_t PlaceOf(std::int32_t key) const;

  const MarkList* m_list;
  std::vector<Slot> m_slots;        // a power of two places, at most half of them used
  std::vector<IndexedMark> m_read;  // the values of the rows looked up since the rebuild
  std::uint64_t m_revision = 0;
  bool m_built = false;
};

}  // namespace modKestralMGA
