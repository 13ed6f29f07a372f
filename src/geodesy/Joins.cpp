#include "geodesy/Joins.h"

#include <cmath>

#include "geodesy/Angles.h"

namespace modKestralMGA {

std::optional<JoinEnds> FindJoinEnds(JoinContext& context, std::int32_t key1, std::int32_t key2) {
  const JoinEnds ends{context.Marks.FindOrZero(key1), context.Marks.FindOrZero(key2)};
  if (ends.From.East > 0.0 && ends.From.North > 0.0 && ends.To.East > 0.0 && ends.To.North > 0.0) {
    return ends;
  }
  return std::nullopt;
}

double PlaneDistance(double dE, double dN) {
  const double distance = std::sqrt(dE * dE + dN * dN);
  return std::isinf(distance) ? std::hypot(dE, dN) : distance;
}

void GridLine(const JoinEnds& ends, double& bearing, double& gridDistance) {
  const double dE = ends.To.East - ends.From.East;
  const double dN = ends.To.North - ends.From.North;
  bearing = RadiansToDMS(GridBearing(dE, dN));
  gridDistance = PlaneDistance(dE, dN);
}

void GridJoin(JoinContext& context, const std::int32_t& key1, const std::int32_t& key2,
              double& bearing, double& distance, double& csf) {
  const std::optional<JoinEnds> ends = FindJoinEnds(context, key1, key2);
  if (!ends) {
    distance = kJoinNotFound;
    return;
  }
  double lineBearing = 0.0;
  double gridDistance = 0.0;
  GridLine(*ends, lineBearing, gridDistance);
  // Within the grid limits the line is finite; should it not be, no join rather than a NaN.
  if (!std::isfinite(lineBearing) || !std::isfinite(gridDistance)) {
    distance = kJoinNotFound;
    return;
  }
  bearing = lineBearing;
  distance = gridDistance;
  csf = 1.0;
}

}  // namespace modKestralMGA
