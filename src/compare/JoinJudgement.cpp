#include "compare/JoinJudgement.h"

#include <cmath>

#include "compare/AccuracyCriteria.h"
#include "geodesy/Angles.h"
#include "geodesy/GridLine.h"

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
  const GridLine line = GridLineBetween(from.East, from.North, to.East, to.North);
  bearing = line.Bearing;
  distance = line.Distance;
}

JoinJudgement JudgeJoin(const PlanPoint& from, const PlanPoint& to, JoinContext& context,
                        const AccuracyCriterion* criterion) {
  JoinJudgement join;
  if (from.Solved == 0 || to.Solved == 0) {
    join.Verdict = JoinVerdict::PlanNotAvailable;
    return join;
  }
  PlanJoin(from, to, join.PlanBearing, join.PlanDistance);

  const JoinResult mga = CombinedScaleFactor(context, from.PointNo, to.PointNo);
  if (mga.Status == JoinStatus::OrderAboveLimit) {
    join.Verdict = JoinVerdict::ScaledCoordinates;
    return join;
  }
  // Two marks listed at one place give a join of no length, with no bearing to compare.
  if (mga.Status != JoinStatus::Computed || !(mga.Distance > 0.0)) {
    join.Verdict = JoinVerdict::MgaNotAvailable;
    return join;
  }
  join.MgaBearing = mga.Bearing;
  join.MgaDistance = mga.Distance;
  join.Csf = mga.Csf;

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
