// Geodesy: angles in ddd.mmss notation and grid bearings, latitude from MGA grid coordinates,
// the radii of curvature, and the combined scale factor, checked against worked examples and
// over a sweep against GeographicLib's exact transverse Mercator projection and geodesics.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/TransverseMercatorExact.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "GeodesyFixtures.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "geodesy/Angles.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/GridLine.h"
#include "geodesy/ScaleFactor.h"
#include "markjoins/MarkJoins.h"

namespace modKestralMGA {
namespace {

using testsupport::CaseNumber;
using testsupport::CaseText;
using testsupport::Fields;

// The written angle of a bearing, found without writing the text, must be the text's angle bit
// for bit.
bool WrittenAngleIsTheTextsAngle(double bearing) {
  const double fast = WrittenDMSToRadians(bearing);
  const double text = DMSToRadians(FormatNumber(bearing, kFormatBearing));
  return IsExactly(fast, text) && std::signbit(fast) == std::signbit(text);
}

// Angles, grid bearings, plane distances, latitudes and combined scale factors against geodesy.tsv.
Fields Results(const Fields& in) {
  const auto number = [&](std::size_t i) { return CaseNumber(in[i]); };
  if (in[0] == "dms-read") return {CaseText(DMSToRadians(in[1]))};
  if (in[0] == "written") return {WrittenAngleIsTheTextsAngle(number(1)) ? "yes" : "no"};
  if (in[0] == "dms-write") return {FormatNumber(RadiansToDMS(number(1)), kFormatBearing)};
  if (in[0] == "bearing") return {CaseText(GridBearing(number(1), number(2)))};
  if (in[0] == "plane") return {CaseText(PlaneDistance(number(1), number(2)))};
  if (in[0] == "latitude") {
    int tests = 0;
    const double latitude = GridToLatitude(number(1), number(2), ModeNamed(in[3]), &tests);
    return {CaseText(latitude), CaseText(tests)};
  }
  MarkList list;
  list.AppendRow(JoinMark("6628/1001", in[1], in[2], "1"));
  list.AppendRow(JoinMark("6628/1002", in[3], in[4], "1"));
  MarkIndex index(list);
  const FixedJoinSettings settings("5", in[5], ModeNamed(in.at(6)));
  JoinContext context{index, settings};
  const JoinResult join = CombinedScaleFactor(context, 66281001, 66281002);
  return {FormatNumber(join.Bearing, kFormatBearing), CaseText(join.Csf),
          CaseText(ShownDistance(join))};
}

TEST(Geodesy, AnglesBearingsDistancesLatitudesAndScaleFactorsGiveTheResultsOfTheirCases) {
  EXPECT_EQ(testsupport::CheckCases("geodesy.tsv", Results), 60);
}

// All 1,296,000 whole-second bearings of the circle go from their ddd.mmss text (written digit by
// digit, not through the program's formats) to radians and back to the same text; the written
// angle is the text's angle at each, as RadiansToDMS gives it and as D + M/100 + S/10000, and a
// hair either side of the half second after it (the numbers no bearing should be, of any size
// and sign, are cases of geodesy.tsv).
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
    const double half = summed + 0.00005;
    for (const double bearing : {back, RadiansToDMS(Pi() * (total / 3600.0) / 180.0), summed,
                                 std::nextafter(half, 0.0), std::nextafter(half, 1e9)})
      if (!WrittenAngleIsTheTextsAngle(bearing) && ++failures <= 10) ADD_FAILURE() << text;
  }
  EXPECT_EQ(failures, 0);
}

// Redfearn's series must stay close to GeographicLib's exact values, but not be "corrected"
// towards them: the line scale factor's dropped term makes it slightly small, and that is what
// surveyors' reports reproduce.
TEST(GeographicLib, LatitudeAndLineScaleFactorAgreeWithTheExactProjection) {
  constexpr double kDegree = std::numbers::pi / 180.0;
  // Start points across the zone, and in the zone overlaps up to 320 km from the central
  // meridian, so that lines of up to 20 km reach 340 km.
  std::vector<double> eastings = {180000.0, 820000.0};
  for (double east = 200000.0; east <= 800000.0; east += 12500.0) eastings.push_back(east);
  for (const DistanceCalculationMode mode : {kGrs80, kAns}) {
    const Ellipsoid ellipsoid = EllipsoidOf(mode);
    const double a = ellipsoid.SemiMajorAxis, f = 1.0 / ellipsoid.InverseFlattening;
    const GeographicLib::TransverseMercatorExact projection(a, f, kCentralScaleFactor);
    const GeographicLib::Geodesic geodesic(a, f);
    for (const double east : eastings) {
      for (double north = 5500000.0; north <= 8900000.0; north += 50000.0) {
        double lat1 = 0.0, lon1 = 0.0;  // degrees
        projection.Reverse(0.0, east - kFalseEasting, north - kFalseNorthing, lat1, lon1);
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
            projection.Reverse(0.0, e2 - kFalseEasting, n2 - kFalseNorthing, lat2, lon2);
            geodesic.Inverse(lat1, lon1, lat2, lon2, s12);
            const double difference = LineScaleFactor(east, e2, midLatitude, mode) -
                                      std::hypot(e2 - east, n2 - north) / s12;
            const double offset =
                std::max(std::abs(east - kFalseEasting), std::abs(e2 - kFalseEasting));
            // |K - exact| in ppm within 100 km of the central meridian, within 200 km, beyond.
            const double limit = offset <= 100000.0 ? 0.005 : offset <= 200000.0 ? 0.05 : 0.4;
            ASSERT_LE(std::abs(difference) * 1e6, limit) << where;
            ASSERT_LE(difference, 1e-10) << where;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
