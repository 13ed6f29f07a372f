#pragma once

#include <cstdint>
#include <vector>

#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

// A plan PSM to look for elsewhere in the list: its key and its plan position carried into MGA
// by the fit of the other marks.
struct MisplacedPoint {
  std::int32_t Key = 0;
  double East = 0.0;
  double North = 0.0;
};

// For each point, in order, the listed marks (other than the point's own key) within radius
// metres of it, nearest first.
std::vector<Renumbering> FindRenumberings(const std::vector<MisplacedPoint>& points,
                                          const std::vector<ListedMark>& listed, double radius);

// Whether the keys' decimal digits differ only by two neighbouring digits swapped
// (66281243 and 66281234).
bool SwappedAdjacentDigits(std::int32_t a, std::int32_t b);

}  // namespace modKestralMGA
