#include "compare/JoinJudgement.h"

#include <cmath>

#include "common/Rounding.h"
#include "compare/AccuracyCriteria.h"
#include "geodesy/Angles.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {

double BearingDifferenceSeconds(double planBearing, double mgaBearing) {
  const double plan = WrittenDMSToRadians(planBearing);
  const double mga = WrittenDMSToRadians(mgaBearing);
  double difference = std::abs(plan - mga);
  // Two bearings on either side of north are a few seconds apart, not nearly a full circle.
  if (difference > Pi()) difference = 2.0 * Pi() - difference;
  return difference * kSecondsPerRadian;
}

void PlanJoin(const PlanPoint& from, const PlanPoint& to, double& bearing, double& distance) {
  const double dE = to.East - from.East;
  const double dN = to.North - from.North;
  bearing = RadiansToDMS(GridBearing(dE, dN));
  distance = PlaneDistance(dE, dN);
}

JoinJudgement JudgeJoin(const PlanPoint& from, const PlanPoint& to, JoinContext& context,
                        std::string_view criterion) {
  JoinJudgement join;
  if (from.Solved == 0 || to.Solved == 0) {
    join.Verdict = JoinVerdict::PlanNotAvailable;
    return join;
  }
  PlanJoin(from, to, join.PlanBearing, join.PlanDistance);

  CombinedScaleFactor(context, from.PointNo, to.PointNo, join.MgaBearing, join.MgaDistance,
                      join.Csf);
  if (join.MgaDistance < 0.0) {
    join.Verdict = JoinVerdict::ScaledCoordinates;
    return join;
  }
  if (IsExactly(join.MgaDistance, kJoinNotFound)) {
    join.Verdict = JoinVerdict::MgaNotAvailable;
    return join;
  }

  join.BearingDiff = BearingDifferenceSeconds(join.PlanBearing, join.MgaBearing);
  join.DistanceDiff = std::abs(join.PlanDistance - join.MgaDistance);
  join.AllowableBearing = AllowableBearingDiff(criterion, join.MgaDistance);
  join.AllowableDistance = AllowableDistanceDiff(criterion, join.MgaDistance);
  // A difference that is not a number compares false against any allowance: it must not pass.
  const bool finite = std::isfinite(join.BearingDiff) && std::isfinite(join.DistanceDiff);
  const bool withinAllowances =
      join.AllowableBearing >= join.BearingDiff && join.AllowableDistance >= join.DistanceDiff;
  join.Verdict = finite && withinAllowances ? JoinVerdict::Acceptable : JoinVerdict::NotAcceptable;
  return join;
}

void DatumJoin(JoinContext& context, std::int32_t key1, std::int32_t key2, double& bearing,
               double& distance, double& csf) {
  bearing = 0.0;
  distance = 0.0;
  csf = 0.0;
  CombinedScaleFactor(context, key1, key2, bearing, distance, csf);
  if (IsExactly(distance, kJoinOrderAboveLimit)) {
    GridJoin(context, key1, key2, bearing, distance, csf);
  }
}

void PadToColumn(std::string& text, std::size_t column) {
  if (text.size() < column) {
    text.append(column - text.size(), ' ');
  } else {
    text += ' ';
  }
}

std::string_view VerdictText(JoinVerdict verdict) {
  switch (verdict) {
    case JoinVerdict::Acceptable:
      return "JOIN ACCEPTABLE";
    case JoinVerdict::NotAcceptable:
      return "*** JOIN NOT ACCEPTABLE ***";
    case JoinVerdict::ScaledCoordinates:
      return "Scaled Coordinates found";
    case JoinVerdict::MgaNotAvailable:
      return "MGA Coordinates not available";
    case JoinVerdict::PlanNotAvailable:
      return "Plan coordinates not available";
  }
  return {};
}

}  // namespace modKestralMGA
