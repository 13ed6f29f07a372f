#include "geodesy/Ellipsoid.h"

#include <cmath>

namespace modKestralMGA {

namespace {

// The first eccentricity squared, e^2 = 2f - f^2, of an ellipsoid.
double EccentricitySquared(const Ellipsoid& ellipsoid) {
  const double f = 1.0 / ellipsoid.InverseFlattening;
  return f + f - f * f;
}

// The semi-minor axis in the foot-point iteration's starting value 2m / (a + b): (a + b) / 2 is
// close to the mean meridian radius. The same value serves both ellipsoids.
constexpr double kFootPointSemiMinorAxis = 6356774.719;

// The iteration's correction: 0.0324 seconds of arc of latitude per metre of meridian distance,
// times the radians in one second of arc.
constexpr double kArcSecondsPerMetre = 0.0324;
constexpr double kRadiansPerArcSecond = 4.848136811095e-06;

// The meridian distance is matched to within this many metres.
constexpr double kMeridianTolerance = 0.0001;

// The iteration gives up at this pass, after ten tests have failed.
constexpr int kGiveUpPass = 11;

}  // namespace

Ellipsoid EllipsoidOf(DistanceCalculationMode mode) {
  if (mode == DistanceCalculationMode::AMG84) return {6378160.0, 298.25};
  return {6378137.0, 298.257222101};
}

void EllipsoidParams(double phi, DistanceCalculationMode mode, double& t, double& rho, double& nu,
                     double& psi) {
  const Ellipsoid ellipsoid = EllipsoidOf(mode);
  const double a = ellipsoid.SemiMajorAxis;
  const double e2 = EccentricitySquared(ellipsoid);
  const double sinPhi = std::sin(phi);
  t = sinPhi / std::cos(phi);
  const double w = std::sqrt(1.0 - e2 * (sinPhi * sinPhi));
  rho = a * (1.0 - e2) / (w * w * w);
  nu = a / w;
  psi = nu / rho;
}

double LatitudeFromFootPoint(double footPoint, double eastPrime, DistanceCalculationMode mode) {
  const double k0 = kCentralScaleFactor;
  const double phi = footPoint;
  // The radii of curvature at the foot-point latitude, computed once (the iteration that finds
  // it does not use them).
  double t = 0.0;
  double rho = 0.0;
  double nu = 0.0;
  double psi = 0.0;
  EllipsoidParams(phi, mode, t, rho, nu, psi);

  // Redfearn's latitude series from the foot-point latitude phi, in nested form.
  const double t2 = t * t;
  const double t4 = t2 * t2;
  const double t6 = t4 * t2;
  const double psi2 = psi * psi;
  const double psi3 = psi2 * psi;
  const double psi4 = psi2 * psi2;
  const double x2 = eastPrime * eastPrime / (k0 * k0 * (nu * nu));
  const double term2 = -4.0 * psi2 + 9.0 * psi * (1.0 - t2) + 12.0 * t2;
  const double term3 = 8.0 * psi4 * (11.0 - 24.0 * t2) - 12.0 * psi3 * (21.0 - 71.0 * t2) +
                       15.0 * psi2 * (15.0 - 98.0 * t2 + 15.0 * t4) +
                       180.0 * psi * (5.0 * t2 - 3.0 * t4) + 360.0 * t4;
  const double term4 = 1385.0 + 3633.0 * t2 + 4095.0 * t4 + 1575.0 * t6;
  return phi + (t / (k0 * rho)) * (k0 * nu) * x2 *
                   (-0.5 + x2 * (term2 / 24.0 - x2 * (term3 / 720.0 - x2 * term4 / 40320.0)));
}

double GridToLatitude(double E, double N, DistanceCalculationMode mode, int* tests) {
  const double k0 = kCentralScaleFactor;
  const Ellipsoid ellipsoid = EllipsoidOf(mode);
  const double a = ellipsoid.SemiMajorAxis;
  const double e2 = EccentricitySquared(ellipsoid);
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;

  const double eastPrime = E - kFalseEasting;
  const double northPrime = N - kFalseNorthing;
  const double m = northPrime / k0;  // the meridian distance to match, negative in the south

  // Coefficients of the meridian distance series (GDA technical manual).
  const double a0 = 1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0;
  const double a2 = (3.0 / 8.0) * (e2 + e4 / 4.0 + 15.0 * e6 / 128.0);
  const double a4 = (15.0 / 256.0) * (e4 + 3.0 * e6 / 4.0);
  const double a6 = 35.0 * e6 / 3072.0;

  double phi = 2.0 * m / (a + kFootPointSemiMinorAxis);
  for (int pass = 1;; ++pass) {
    const double mPhi = a * (a0 * phi - a2 * std::sin(2.0 * phi) + a4 * std::sin(4.0 * phi) -
                             a6 * std::sin(6.0 * phi));
    if (pass == kGiveUpPass) {
      if (tests != nullptr) *tests = pass;
      return 0.0;
    }
    const double d = mPhi - m;
    if (-kMeridianTolerance <= d && d <= kMeridianTolerance) {
      if (tests != nullptr) *tests = pass;
      break;
    }
    phi = phi - d * kArcSecondsPerMetre * kRadiansPerArcSecond;
  }
  return LatitudeFromFootPoint(phi, eastPrime, mode);
}

}  // namespace modKestralMGA
