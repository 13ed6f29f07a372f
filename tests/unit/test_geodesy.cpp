// Geodesy: angles in ddd.mmss notation and grid bearings, latitude from MGA grid coordinates,
// the radii of curvature, and the combined scale factor, checked against worked examples and
// over a sweep against GeographicLib's exact transverse Mercator projection and geodesics.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/TransverseMercatorExact.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "GeodesyFixtures.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "geodesy/Angles.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {
namespace {

double Radians(double degrees, double minutes, double seconds) {
  return Pi() * (degrees + minutes / 60.0 + seconds / 3600.0) / 180.0;
}

std::string Dms(double radians) {
  return FormatNumber(RadiansToDMS(radians), kFormatBearing);
}

// DMSToRadians reads minutes and seconds as two-character groups (one digit after the point is
// 4 minutes, not 40; the fifth decimal is ignored); 1e-09 minutes and seconds are added to every
// text with a point: at most 3e-13 rad. RadiansToDMS rounds the seconds and carries; the degrees
// never wrap, a full circle comes down once and a negative angle goes up once. The hex angles were
// found by searching neighbouring doubles so that the seconds come out as exactly a half: halves
// go to the even second (std::round would give 0.0031 and 0.0032).
TEST(Angles, DMSTextsToRadiansAndBack) {
  const std::pair<const char*, double> read[] = {
      // clang-format off
      {"123.4530", Radians(123, 45, 30)}, {"123", Radians(123, 0, 0)}, {"", 0}, {"abc", 0},
      {"123.4", Radians(123, 4, 0)}, {"123.45", Radians(123, 45, 0)}, {"5.0709", Radians(5, 7, 9)},
      {"123.45305", Radians(123, 45, 30)},
      // clang-format on
  };
  for (const auto& [text, radians] : read) EXPECT_NEAR(DMSToRadians(text), radians, 1e-12) << text;
  const std::pair<double, const char*> written[] = {
      // clang-format off
      {Radians(10, 20, 59.4), "10.2059"}, {Radians(10, 20, 59.6), "10.2100"}, {2 * Pi(), "0.0000"},
      {Radians(10, 59, 59.6), "11.0000"}, {Radians(359, 59, 59.6), "360.0000"},
      {-Pi() / 2.0, "270.0000"}, {Radians(200, 0, 0), "200.0000"}, {0x1.361a1ee9b94e1p-13, "0.0030"},
      {0x1.4044f1c33915fp-13, "0.0032"}, {Radians(1, 0, 30.5), "1.0030"},  // just below 30.5 s
      // clang-format on
  };
  for (const auto& [radians, text] : written) EXPECT_EQ(Dms(radians), text) << text;
}

// The written angle of a bearing, found without writing the text, must be the text's angle bit
// for bit.
bool WrittenAngleIsTheTextsAngle(double bearing) {
  const double fast = WrittenDMSToRadians(bearing);
  const double text = DMSToRadians(FormatNumber(bearing, kFormatBearing));
  return IsExactly(fast, text) && std::signbit(fast) == std::signbit(text);
}

// All 1,296,000 whole-second bearings of the circle go from their ddd.mmss text (written digit by
// digit, not through the program's formats) to radians and back to the same text; the written
// angle is the text's angle at each, as RadiansToDMS gives it and as D + M/100 + S/10000.
TEST(Angles, EveryWholeSecondSurvivesTheRoundTrip) {
  int failures = 0;
  for (int total = 0; total < 360 * 3600; ++total) {
    const int packed = total / 3600 * 10000 + total / 60 % 60 * 100 + total % 60;
    char digits[12];
    std::string text(digits, std::to_chars(digits, digits + sizeof digits, packed).ptr);
    text.insert(0, 5 - std::min<std::size_t>(5, text.size()), '0');  // 9 seconds: "0.0009"
    text.insert(text.size() - 4, 1, '.');
    const double back = RadiansToDMS(DMSToRadians(text));
    if (FormatNumber(back, kFormatBearing) != text && ++failures <= 10) ADD_FAILURE() << text;
    const double summed = total / 3600 + (total / 60 % 60) / 100.0 + (total % 60) / 10000.0;
    for (const double bearing : {back, RadiansToDMS(Radians(0, 0, total)), summed}) {
      if (!WrittenAngleIsTheTextsAngle(bearing) && ++failures <= 10) ADD_FAILURE() << text;
    }
  }
  EXPECT_EQ(failures, 0);
}

// At random numbers: across the circle, a hair either side of a half of the last place written,
// of any size and sign, and the numbers no bearing should be.
TEST(Angles, WrittenDMSToRadiansIsTheAngleOfTheWrittenText) {
  std::mt19937_64 random(20240611);  // the engine's output is fixed by the standard
  const auto fraction = [&] { return static_cast<double>(random() >> 11) * 0x1.0p-53; };
  for (int i = 0; i < 100000; ++i) {
    const double across = 400.0 * fraction();
    const double half = (std::floor(3600000.0 * fraction()) + 0.5) / 10000.0;
    const double nearHalf = std::nextafter(half, i % 2 == 0 ? 0.0 : 1e9);
    const double anySize = std::ldexp(fraction(), static_cast<int>(random() % 120) - 60) *
                           (random() % 2 == 0 ? 1.0 : -1.0);
    for (const double bearing : {across, half, nearHalf, anySize}) {
      ASSERT_TRUE(WrittenAngleIsTheTextsAngle(bearing)) << FormatNumber(bearing, "0.0000000000");
    }
  }
  for (const double bearing :
       {-0.0, 0.0, 999.0, 1e9, std::nextafter(1e9, 0.0), 1e300,
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_TRUE(WrittenAngleIsTheTextsAngle(bearing)) << FormatNumber(bearing, "0.0000");
  }
}

// Every quadrant and axis; north-west lines come out negative (and are shown between 270 and 360).
TEST(Angles, GridBearingCoversEveryQuadrantAndAxis) {
  const double pi = Pi();
  const double cases[][3] = {
      // clang-format off
      {1, 1, pi / 4}, {1, -1, 3 * pi / 4}, {-1, -1, 5 * pi / 4}, {-1, 1, -pi / 4}, {0, 0, 0},
      {0, 5, 0}, {0, -5, pi}, {5, 0, pi / 2}, {-5, 0, 3 * pi / 2}, {1e-3, -1e6, pi - 1e-9},
      {-1e-3, 1e6, -1e-9},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_NEAR(GridBearing(c[0], c[1]), c[2], 1e-15) << c[0] << c[1];
  EXPECT_EQ(Dms(GridBearing(-1.0, 1.0)), "315.0000");
}

TEST(Latitude, ReferencePointsConvergeWithTheirNumberOfTests) {
  // Latitudes (radians, tolerance 1e-10) computed independently from Redfearn's series with the
  // foot-point iteration; the GeographicLib sweep confirms them against the exact projection.
  // clang-format off
  const struct { double east, north; DistanceCalculationMode mode; double latitude; int tests;
                 const char* source; } cases[] = {
      {500000, 10000000, kGrs80, 0.0, 1, "origin of the grid: equator on the central meridian"},
      {280000, 6130000, kGrs80, -0.6099691628, 4, "worked example, GRS80"},
      {280000, 6130000, kPlane, -0.6099691628, 4, "Plane computes on GRS80"},
      {280000, 6130000, kAns, -0.6099670534, 4, "worked example, ANS"},
      {750000, 8800000, kGrs80, -0.1893156363068, 5, "northern Australia needs a fifth test"},
      {750000, 8800000, kAns, -0.1893149851342, 5, "the same on ANS"},
      // So far from the equator that the meridian distance cannot be matched to 0.1 mm in double
      // precision (found by a search over northings), and a northing that is not finite.
      {500000, 1731161487105.5298, kGrs80, 0.0, 11, "ten tests fail: latitude 0"},
      {500000, -922351476959.62988, kGrs80, 0.0, 11, "ten tests fail in the south"},
      {500000, std::numeric_limits<double>::infinity(), kGrs80, 0.0, 11, "infinite northing"},
  };  // clang-format on
  for (const auto& c : cases) {
    int tests = 0;
    EXPECT_NEAR(GridToLatitude(c.east, c.north, c.mode, &tests), c.latitude, 1e-10) << c.source;
    EXPECT_EQ(tests, c.tests) << c.source;
  }
}

TEST(ScaleFactor, CombinedScaleFactorReproducesTheReferenceJoins) {
  // Joins computed independently from Redfearn's series: the worked example (line scale factor
  // 1.000193790475) on GRS80, on ANS (about 4e-9 lower) and Plane (which computes on GRS80).
  // The csf within 1e-9, the distance within 1e-6 m.
  // clang-format off
  const struct { const char *e1, *n1, *e2, *n2, *height; DistanceCalculationMode mode;
                 const char* bearing; double csf, distance; } cases[] = {
      {"280000", "6130000", "281000", "6131000", "100", kGrs80, "45.0000", 1.000178087433, 1413.9617536},
      {"280000", "6130000", "281000", "6131000", "100", kAns, "45.0000", 1.0001780832, 1413.9617595},
      {"280000", "6130000", "281000", "6131000", "100", kPlane, "45.0000", 1.000178087433, 1413.9617536},
      // A 55 km line in Victoria (csf = K); on the central meridian (csf = k0), lowered by 157 ppm
      // at 1000 m.
      {"273741.2966", "5796489.7769", "228854.0513", "5828259.0384", "0", kGrs80, "305.1721",
       1.000363876121, 54972.2760584},
      {"500000", "6130000", "500000", "6131000", "0", kGrs80, "0.0000", 0.9996, 1000 / 0.9996},
      {"500000", "6130000", "500000", "6131000", "1000", kAns, "0.0000", 0.9996 * (1 - 157e-6),
       1000 / (0.9996 * (1 - 157e-6))},
  };  // clang-format on
  for (const auto& c : cases) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", c.e1, c.n1, "1"));
    list.AppendRow(JoinMark("6628/1002", c.e2, c.n2, "1"));
    MarkIndex index(list);
    const FixedJoinSettings settings("5", c.height, c.mode);
    JoinContext context{index, settings};
    double bearing = 0.0, distance = 0.0, csf = 0.0;
    CombinedScaleFactor(context, 66281001, 66281002, bearing, distance, csf);
    EXPECT_EQ(FormatNumber(bearing, kFormatBearing), c.bearing) << c.e1;
    EXPECT_NEAR(csf, c.csf, 1e-9) << c.e1;
    EXPECT_NEAR(distance, c.distance, 1e-6) << c.e1;
  }
}

// Redfearn's series must stay close to GeographicLib's exact values, but not be "corrected"
// towards them: the line scale factor's dropped term makes it slightly small, and that is what
// surveyors' reports reproduce.
TEST(GeographicLib, LatitudeAndLineScaleFactorAgreeWithTheExactProjection) {
  constexpr double kDegree = std::numbers::pi / 180.0;
  // |K - exact| in ppm by the larger distance of the ends from the central meridian: within
  // 100 km, within 200 km, beyond.
  const double limits[3] = {0.005, 0.05, 0.4};
  // Start points across the zone, and in the zone overlaps up to 320 km from the central
  // meridian, so that lines of up to 20 km reach 340 km.
  std::vector<double> eastings = {180000.0, 820000.0};
  for (double east = 200000.0; east <= 800000.0; east += 12500.0) eastings.push_back(east);
  for (const DistanceCalculationMode mode : {kGrs80, kAns}) {
    const Ellipsoid ellipsoid = EllipsoidOf(mode);
    const double a = ellipsoid.SemiMajorAxis, f = 1.0 / ellipsoid.InverseFlattening;
    const GeographicLib::TransverseMercatorExact projection(a, f, kCentralScaleFactor);
    const GeographicLib::Geodesic geodesic(a, f);
    // Latitude and longitude in degrees of grid coordinates.
    const auto reverse = [&](double east, double north, double& latitude, double& longitude) {
      projection.Reverse(0.0, east - kFalseEasting, north - kFalseNorthing, latitude, longitude);
    };
    for (const double east : eastings) {
      for (double north = 5500000.0; north <= 8900000.0; north += 50000.0) {
        double lat1 = 0.0, lon1 = 0.0;
        reverse(east, north, lat1, lon1);
        const std::string where = FormatNumber(east, "0") + " " + FormatNumber(north, "0");
        if (east >= 200000.0 && east <= 800000.0) {
          const double difference = GridToLatitude(east, north, mode) - lat1 * kDegree;
          ASSERT_LE(std::abs(difference), 1e-10) << where;
        }
        const long e = static_cast<long>(east);
        if (static_cast<long>(north) % 100000 != 0 ||
            (e % 25000 != 0 && e > 180000 && e < 820000)) {
          continue;  // lines start every 25 km and 100 km, and in the zone overlaps
        }
        for (int direction = 0; direction < 8; ++direction) {
          const double bearing = (direction * 45.0 + 17.0) * kDegree;
          for (const double length : {1000.0, 6000.0, 20000.0}) {
            const double e2 = east + length * std::sin(bearing);
            const double n2 = north + length * std::cos(bearing);
            const double midLatitude = GridToLatitude((east + e2) / 2.0, (north + n2) / 2.0, mode);
            double lat2 = 0.0, lon2 = 0.0, s12 = 0.0;
            reverse(e2, n2, lat2, lon2);
            geodesic.Inverse(lat1, lon1, lat2, lon2, s12);
            const double difference = LineScaleFactor(east, e2, midLatitude, mode) -
                                      std::hypot(e2 - east, n2 - north) / s12;
            const double offset =
                std::max(std::abs(east - kFalseEasting), std::abs(e2 - kFalseEasting));
            const int band = offset <= 100000.0 ? 0 : offset <= 200000.0 ? 1 : 2;
            ASSERT_LE(offset, 340000.0);
            ASSERT_LE(std::abs(difference) * 1e6, limits[band]) << where;
            ASSERT_LE(difference, 1e-10) << where;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
