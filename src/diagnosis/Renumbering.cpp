#include "diagnosis/Renumbering.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace modKestralMGA {

bool SwappedAdjacentDigits(std::int32_t a, std::int32_t b) {
  const std::string first = std::to_string(a);
  const std::string second = std::to_string(b);
  if (first.size() != second.size() || first == second) return false;
  std::size_t at = 0;
  while (first[at] == second[at]) ++at;
  if (at + 1 >= first.size()) return false;
  return first[at] == second[at + 1] && first[at + 1] == second[at] &&
         first.compare(at + 2, std::string::npos, second, at + 2, std::string::npos) == 0;
}

std::vector<Renumbering> FindRenumberings(const std::vector<MisplacedPoint>& points,
                                          const std::vector<ListedMark>& listed, double radius) {
  std::vector<Renumbering> found;
  for (const MisplacedPoint& point : points) {
    const std::size_t first = found.size();
    for (const ListedMark& mark : listed) {
      if (mark.Key == point.Key) continue;
      const double distance =
          std::hypot(mark.Mark.East - point.East, mark.Mark.North - point.North);
      if (distance <= radius) {
        found.push_back(
            {point.Key, mark.Key, distance, SwappedAdjacentDigits(point.Key, mark.Key)});
      }
    }
    std::stable_sort(
        found.begin() + static_cast<std::ptrdiff_t>(first), found.end(),
        [](const Renumbering& a, const Renumbering& b) { return a.Distance < b.Distance; });
  }
  return found;
}

}  // namespace modKestralMGA
