#include "geodesy/ScaleFactor.h"

#include "geodesy/Ellipsoid.h"

namespace modKestralMGA {

namespace {

// The height factor's coefficient: 0.157 parts per million per metre of height above the
// ellipsoid, about 1 / (the earth's mean radius).
constexpr double kHeightCoefficient = 0.157;
constexpr double kPartsPerMillion = 1e-06;

}  // namespace

double LineScaleFactor(double E1, double E2, double phim, DistanceCalculationMode mode) {
  const double k0 = kCentralScaleFactor;
  double t = 0.0;
  double rho = 0.0;
  double nu = 0.0;
  double psi = 0.0;
  EllipsoidParams(phim, mode, t, rho, nu, psi);
  const double q = 1.0 / (6.0 * rho * nu * (k0 * k0));
  const double e1 = E1 - kFalseEasting;
  const double e2 = E2 - kFalseEasting;
  return k0 * (1.0 + (e1 * e1 + e1 * e2 + e2 * e2) * q);
}

double LineCombinedScaleFactor(double E1, double N1, double E2, double N2, double h,
                               DistanceCalculationMode mode) {
  const double midLatitude = GridToLatitude((E1 + E2) / 2.0, (N1 + N2) / 2.0, mode);
  const double lineScaleFactor = LineScaleFactor(E1, E2, midLatitude, mode);
  const double heightFactor = 1.0 - h * kHeightCoefficient * kPartsPerMillion;
  return heightFactor * lineScaleFactor;
}

}  // namespace modKestralMGA
