// Latitude from MGA grid coordinates and the radii of curvature.
#include <gtest/gtest.h>

#include <limits>

#include "GeodesyFixtures.h"
#include "geodesy/Ellipsoid.h"

namespace modKestralMGA {
namespace {

TEST(Latitude, ReferencePointsConvergeWithTheirNumberOfTests) {
  struct Case {
    double east, north;
    DistanceCalculationMode mode;
    double latitude;  // radians
    int tests;
    const char* source;
  };
  // Latitudes computed independently from Redfearn's series with the foot-point iteration;
  // the GeographicLib check confirms them against the exact projection.
  const Case cases[] = {
      {500000, 10000000, kGrs80, 0.0, 1, "origin of the grid: equator on the central meridian"},
      {280000, 6130000, kGrs80, -0.6099691628, 4, "worked example, GRS80"},
      {280000, 6130000, kPlane, -0.6099691628, 4, "Plane computes on GRS80"},
      {280000, 6130000, kAns, -0.6099670534, 4, "worked example, ANS"},
      {750000, 8800000, kGrs80, -0.1893156363068, 5, "northern Australia needs a fifth test"},
      {750000, 8800000, kAns, -0.1893149851342, 5, "the same on ANS"},
  };
  for (const Case& c : cases) {
    int tests = 0;
    EXPECT_NEAR(GridToLatitude(c.east, c.north, c.mode, &tests), c.latitude, 1e-10) << c.source;
    EXPECT_EQ(tests, c.tests) << c.source;
  }
}

TEST(Latitude, GivesZeroWhenTenTestsFail) {
  // So far from the equator that the meridian distance cannot be matched to 0.1 mm in double
  // precision (found by a search over northings), and a northing that is not finite.
  const double northings[] = {1731161487105.5298, -922351476959.62988,
                              std::numeric_limits<double>::infinity()};
  for (const double north : northings) {
    int tests = 0;
    EXPECT_EQ(GridToLatitude(500000.0, north, kGrs80, &tests), 0.0);
    EXPECT_EQ(tests, 11);
  }
}

TEST(Latitude, RadiiOfCurvatureAtTheEquator) {
  struct Case {
    DistanceCalculationMode mode;
    double a, inverseFlattening;
  };
  // GRS80 and the Australian National Spheroid (GDA technical manual).
  const Case cases[] = {{kGrs80, 6378137.0, 298.257222101},
                        {kPlane, 6378137.0, 298.257222101},
                        {kAns, 6378160.0, 298.25}};
  for (const Case& c : cases) {
    const double f = 1.0 / c.inverseFlattening;
    const double e2 = 2.0 * f - f * f;
    double t = 1.0, rho = 0.0, nu = 0.0, psi = 0.0;
    EllipsoidParams(0.0, c.mode, t, rho, nu, psi);
    EXPECT_EQ(t, 0.0);
    EXPECT_NEAR(nu, c.a, 1e-9);
    EXPECT_NEAR(rho, c.a * (1.0 - e2), 1e-9);
    EXPECT_NEAR(psi, 1.0 / (1.0 - e2), 1e-15);
  }
}

}  // namespace
}  // namespace modKestralMGA
