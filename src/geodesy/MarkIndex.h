#pragma once

#include <cstdint>
#include <unordered_map>

#include "marks/MarkList.h"

namespace modKestralMGA {

// What a join needs of a listed mark, read from its cells by the numeric value rule.
struct IndexedMark {
  double East = 0.0;
  double North = 0.0;
  double Order = 0.0;  // the Order cell's value rounded half to even (no 16-bit limit)
};

// Looks marks up by PSM key. Gives the same answers as scanning the list at every join (the last
// row with the key wins; the list as it is at the moment of the call) at hash-map cost: the index
// is rebuilt only when the list's revision has changed. A row whose PSM number gives a key beyond
// 32 bits is never matched.
class MarkIndex {
 public:
  explicit MarkIndex(const MarkList& list) : m_list(&list) {}
  // The mark with that key, or nullptr when no row has it.
  const IndexedMark* Find(std::int32_t key);
  const MarkList& List() const { return *m_list; }

 private:
  void Rebuild();

  const MarkList* m_list;
  std::unordered_map<std::int32_t, IndexedMark> m_marks;
  std::uint64_t m_revision = 0;
  bool m_built = false;
};

}  // namespace modKestralMGA
