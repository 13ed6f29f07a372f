#pragma once

#include "geodesy/JoinSettings.h"

namespace modKestralMGA {

// The transverse Mercator scale factor of a whole line with end eastings E1, E2 (metres) and
// mid-point latitude phim (radians) on the ellipsoid of mode:
// K = k0 (1 + (E1'^2 + E1' E2' + E2'^2) / (6 rho nu k0^2)), E' = E - 500000, with rho and nu at
// phim (line scale factor from Redfearn's series, GDA technical manual). Never fails.
double LineScaleFactor(double E1, double E2, double phim, DistanceCalculationMode mode);

// The combined scale factor of the grid line from (E1, N1) to (E2, N2) (metres) at average height
// h (metres): (1 - h 0.157e-6) K, with K the line scale factor (LineScaleFactor) at the latitude
// of the line's mid-point (GridToLatitude) on the ellipsoid of mode. Not finite only for
// coordinates or heights far beyond any grid.
double LineCombinedScaleFactor(double E1, double N1, double E2, double N2, double h,
                               DistanceCalculationMode mode);

}  // namespace modKestralMGA
