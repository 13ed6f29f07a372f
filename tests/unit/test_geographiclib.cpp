// Checks the latitude and line scale factor series against GeographicLib's exact transverse
// Mercator projection and geodesics over a sweep of MGA coordinates. Redfearn's series must
// stay close to the exact values, but not be "corrected" towards them: the line scale factor's
// dropped term makes it slightly small, and that is what surveyors' reports reproduce.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/TransverseMercatorExact.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "GeodesyFixtures.h"
#include "common/NumberFormat.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Latitude and longitude in degrees.
struct GeographicPoint {
  double latitude;
  double longitude;
};

// The exact transverse Mercator projection of MGA and geodesics on the ellipsoid of a mode.
class ExactProjection {
 public:
  explicit ExactProjection(DistanceCalculationMode mode)
      : m_projection(EllipsoidOf(mode).SemiMajorAxis, 1.0 / EllipsoidOf(mode).InverseFlattening,
                     kCentralScaleFactor),
        m_geodesic(EllipsoidOf(mode).SemiMajorAxis, 1.0 / EllipsoidOf(mode).InverseFlattening) {}

  // The point with those grid coordinates, its longitude from the central meridian.
  GeographicPoint Reverse(double east, double north) const {
    GeographicPoint point{};
    m_projection.Reverse(0.0, east - kFalseEasting, north - kFalseNorthing, point.latitude,
                         point.longitude);
    return point;
  }
  // The grid length of a line divided by its geodesic length on the ellipsoid.
  double LineScaleFactor(double e1, double n1, double e2, double n2) const {
    const GeographicPoint p1 = Reverse(e1, n1);
    const GeographicPoint p2 = Reverse(e2, n2);
    double s12 = 0.0;
    m_geodesic.Inverse(p1.latitude, p1.longitude, p2.latitude, p2.longitude, s12);
    return std::hypot(e2 - e1, n2 - n1) / s12;
  }

 private:
  GeographicLib::TransverseMercatorExact m_projection;
  GeographicLib::Geodesic m_geodesic;
};

// Writes a measured figure to the test log and to the test's XML properties.
void Report(const char* name, double value, const char* pattern, const char* unit) {
  const std::string text = FormatNumber(value, pattern) + " " + unit;
  testing::Test::RecordProperty(name, text);
  std::fputs((std::string(name) + ": " + text + "\n").c_str(), stdout);
}

const DistanceCalculationMode kEllipsoids[] = {kGrs80, kAns};

TEST(GeographicLib, LatitudeAgreesWithTheExactInverseWithin1e10Radians) {
  double worst = 0.0;
  for (const DistanceCalculationMode mode : kEllipsoids) {
    const ExactProjection exact(mode);
    for (double east = 200000.0; east <= 800000.0; east += 12500.0) {
      for (double north = 5500000.0; north <= 8900000.0; north += 50000.0) {
        const double difference =
            GridToLatitude(east, north, mode) - exact.Reverse(east, north).latitude * kDegree;
        worst = std::max(worst, std::abs(difference));
        ASSERT_LE(std::abs(difference), 1e-10)
            << FormatNumber(east, "0") << " " << FormatNumber(north, "0");
      }
    }
  }
  Report("worst latitude difference", worst * 1e12, "0.0", "e-12 rad");
}

TEST(GeographicLib, LineScaleFactorAgreesWithTheExactOneAndNeverExceedsIt) {
  // Worst |K - exact| in ppm by the larger distance of the ends from the central meridian:
  // within 100 km, within 200 km, beyond; and the largest K - exact.
  double worst[3] = {0.0, 0.0, 0.0};
  const double limits[3] = {0.005, 0.05, 0.4};
  double largestExcess = -1.0;
  const double lengths[] = {1000.0, 6000.0, 20000.0};
  // Start points across the zone, and in the zone overlaps up to 320 km from the central
  // meridian, so that lines of up to 20 km reach 340 km.
  std::vector<double> eastings = {180000.0, 820000.0};
  for (double east = 200000.0; east <= 800000.0; east += 25000.0) eastings.push_back(east);
  for (const DistanceCalculationMode mode : kEllipsoids) {
    const ExactProjection exact(mode);
    for (const double east : eastings) {
      for (double north = 5500000.0; north <= 8900000.0; north += 100000.0) {
        for (int direction = 0; direction < 8; ++direction) {
          const double bearing = (direction * 45.0 + 17.0) * kDegree;
          for (const double length : lengths) {
            const double e2 = east + length * std::sin(bearing);
            const double n2 = north + length * std::cos(bearing);
            const double midLatitude = GridToLatitude((east + e2) / 2.0, (north + n2) / 2.0, mode);
            const double k = LineScaleFactor(east, e2, midLatitude, mode);
            const double difference = k - exact.LineScaleFactor(east, north, e2, n2);
            const double offset =
                std::max(std::abs(east - kFalseEasting), std::abs(e2 - kFalseEasting));
            const int band = offset <= 100000.0 ? 0 : offset <= 200000.0 ? 1 : 2;
            ASSERT_LE(offset, 340000.0);
            worst[band] = std::max(worst[band], std::abs(difference) * 1e6);
            largestExcess = std::max(largestExcess, difference);
            ASSERT_LE(std::abs(difference) * 1e6, limits[band])
                << FormatNumber(east, "0") << " " << FormatNumber(north, "0");
            ASSERT_LE(difference, 1e-10)
                << FormatNumber(east, "0") << " " << FormatNumber(north, "0");
          }
        }
      }
    }
  }
  Report("worst K difference within 100 km", worst[0], "0.000000", "ppm");
  Report("worst K difference within 200 km", worst[1], "0.000000", "ppm");
  Report("worst K difference beyond 200 km", worst[2], "0.000000", "ppm");
  Report("largest K above the exact one", largestExcess * 1e6, "0.000000", "ppm");
}

}  // namespace
}  // namespace modKestralMGA
