#include "diagnosis/LikelyCulprits.h"

namespace modKestralMGA {

std::optional<Culprit> NextCulprit(const std::vector<std::int32_t>& keys,
                                   const std::vector<int>& ownFailures,
                                   const std::vector<std::pair<std::size_t, std::size_t>>& failed,
                                   const std::vector<bool>& taken) {
  std::vector<int> tally(keys.size(), 0);
  for (const auto& [from, to] : failed) {
    ++tally[from];
    ++tally[to];
  }
  const auto better = [&](std::size_t a, std::size_t b) {
    if (tally[a] != tally[b]) return tally[a] > tally[b];
    if (ownFailures[a] != ownFailures[b]) return ownFailures[a] > ownFailures[b];
    return keys[a] < keys[b];
  };
  std::optional<std::size_t> best;
  for (std::size_t m = 0; m < keys.size(); ++m) {
    if (!taken[m] && (!best || better(m, *best))) best = m;
  }
  if (!best || tally[*best] < kLeastExplained) return std::nullopt;
  return Culprit{*best, tally[*best]};
}

}  // namespace modKestralMGA
