#pragma once

#include <cstdint>

#include "geodesy/JoinSettings.h"
#include "geodesy/Joins.h"

namespace modKestralMGA {

// The distance of a combined-scale-factor join refused because a mark's order is above
// "Compare up to Order".
inline constexpr double kJoinOrderAboveLimit = -9.0;

// The transverse Mercator scale factor of a whole line with end eastings E1, E2 (metres) and
// mid-point latitude phim (radians) on the ellipsoid of mode:
// K = k0 (1 + (E1'^2 + E1' E2' + E2'^2) / (6 rho nu k0^2)), E' = E - 500000, with rho and nu at
// phim (line scale factor from Redfearn's series, GDA technical manual). Never fails.
double LineScaleFactor(double E1, double E2, double phim, DistanceCalculationMode mode);

// The MGA join from the mark with key1 to the mark with key2: bearing, the grid bearing as a
// ddd.mmss number; distance, the grid distance reduced to ground, grid / csf (metres); csf, the
// combined scale factor = (1 - h 0.157e-6) K, with h the average height and K the line scale
// factor at the mid-point latitude on the ellipsoid of the calculation mode. distance = 0 when a
// mark is missing or lacks positive coordinates (a mark on no grid has none: MarkIndex), -9 when
// a mark's order is above "Compare up to Order" (kJoinNotFound, kJoinOrderAboveLimit); bearing
// and csf are then left as the caller had them. An average height beyond 100000 m
// (HeightWithinLimit), or a result that is not finite, also gives 0. The settings (order limit,
// average height, ellipsoid) are read at the call.
void CombinedScaleFactor(JoinContext& context, const std::int32_t& key1, const std::int32_t& key2,
                         double& bearing, double& distance, double& csf);

}  // namespace modKestralMGA
