#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace modKestralMGA {

// A mark taken as a likely culprit: its position among the marks, and the failed joins that
// go with it.
struct Culprit {
  std::size_t Mark = 0;
  int Explains = 0;
};

// Failed joins smaller than this in number do not make a mark a culprit.
inline constexpr int kLeastExplained = 2;

// One step of the greedy search for culprits among marks (given by their keys), from the failed
// joins between the marks not yet taken (pairs of positions in keys): the mark whose removal
// leaves the fewest failed joins among the rest, that is the one in the most of them (ties: more
// failed joins of its own as the comparison judged them, ownFailures, then the lower key), when
// it takes at least kLeastExplained failed joins away; nothing otherwise. Counts are tallies per
// mark over the failed joins.
std::optional<Culprit> NextCulprit(const std::vector<std::int32_t>& keys,
                                   const std::vector<int>& ownFailures,
                                   const std::vector<std::pair<std::size_t, std::size_t>>& failed,
                                   const std::vector<bool>& taken);

}  // namespace modKestralMGA
