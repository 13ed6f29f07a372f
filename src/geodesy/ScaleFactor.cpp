#include "geodesy/ScaleFactor.h"

#include <cmath>
#include <optional>

#include "common/NumericValue.h"
#include "geodesy/Ellipsoid.h"
#include "marks/MarkListRules.h"

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

void CombinedScaleFactor(JoinContext& context, const std::int32_t& key1, const std::int32_t& key2,
                         double& bearing, double& distance, double& csf) {
  const std::optional<JoinEnds> ends = FindJoinEnds(context, key1, key2);
  if (!ends) {
    distance = kJoinNotFound;
    return;
  }
  const double maxOrder = NumericValue(context.Settings.MaxOrderText());
  if (ends->From.Order > maxOrder || ends->To.Order > maxOrder) {
    distance = kJoinOrderAboveLimit;
    return;
  }

  // The commands refuse an average height beyond the limit before any join; one that changed
  // while a command ran gives no join rather than a scale factor near 0 or below.
  const std::optional<double> height = HeightWithinLimit(context.Settings.AverageHeightText());
  if (!height) {
    distance = kJoinNotFound;
    return;
  }
  double lineBearing = 0.0;
  double gridDistance = 0.0;
  GridLine(*ends, lineBearing, gridDistance);
  const DistanceCalculationMode mode = context.Settings.CalculationMode();
  const IndexedMark& from = ends->From;
  const IndexedMark& to = ends->To;
  const double midLatitude =
      GridToLatitude((from.East + to.East) / 2.0, (from.North + to.North) / 2.0, mode);
  const double lineScaleFactor = LineScaleFactor(from.East, to.East, midLatitude, mode);
  const double heightFactor = 1.0 - *height * kHeightCoefficient * kPartsPerMillion;
  const double joinCsf = heightFactor * lineScaleFactor;
  const double groundDistance = gridDistance / joinCsf;
  // Coordinates within the grid limits and a height within its limit keep every value finite;
  // should one not be, the join counts as not computed rather than show a NaN.
  if (!std::isfinite(lineBearing) || !std::isfinite(joinCsf) || !std::isfinite(groundDistance)) {
    distance = kJoinNotFound;
    return;
  }
  bearing = lineBearing;
  csf = joinCsf;
  distance = groundDistance;
}

}  // namespace modKestralMGA
