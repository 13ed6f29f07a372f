#pragma once

#include "geodesy/JoinSettings.h"

namespace modKestralMGA {

// The transverse Mercator constants of MGA and AMG.
inline constexpr double kCentralScaleFactor = 0.9996;
inline constexpr double kFalseEasting = 500000.0;
inline constexpr double kFalseNorthing = 10000000.0;

// Semi-major axis (m) and inverse flattening of an ellipsoid.
struct Ellipsoid {
  double SemiMajorAxis;
  double InverseFlattening;
};

// GRS80 (MGA94/2020 and Plane): 6378137, 298.257222101 (GDA technical manual).
// Australian National Spheroid (AMG84): 6378160, 298.25.
Ellipsoid EllipsoidOf(DistanceCalculationMode mode);

// The radii of curvature at latitude phi (radians) on the ellipsoid of mode: t = tan phi (as
// sin/cos), rho the meridian radius a(1 - e^2)/W^3 and nu the prime-vertical radius a/W (metres),
// psi = nu/rho, with W = sqrt(1 - e^2 sin^2 phi) and e^2 = 2f - f^2.
void EllipsoidParams(double phi, DistanceCalculationMode mode, double& t, double& rho, double& nu,
                     double& psi);

// The latitude (radians, negative south of the equator) of a point with MGA or AMG easting E and
// northing N (metres) on the ellipsoid of mode: the foot-point latitude, found by iterating the
// meridian distance until it matches N' / k0 within 0.1 mm, corrected by Redfearn's latitude
// series (GDA technical manual). Gives 0 when ten tests fail to converge. tests, when given,
// receives the number of tests made (1 to 10; 11 when the iteration gave up).
double GridToLatitude(double E, double N, DistanceCalculationMode mode, int* tests = nullptr);

// Redfearn's latitude series: the latitude (radians) of the point eastPrime metres east of the
// central meridian (E minus the false easting) whose foot-point latitude is footPoint, on the
// ellipsoid of mode. GridToLatitude's last step.
double LatitudeFromFootPoint(double footPoint, double eastPrime, DistanceCalculationMode mode);

}  // namespace modKestralMGA
