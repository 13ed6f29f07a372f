#include "diagnosis/PlanChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "compare/AccuracyCriteria.h"
#include "compare/JoinJudgement.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {

namespace {

constexpr double kLargestBearing = 360.0;

// The check of line against the placed points at its ends.
PlanCheck CheckLine(const PlanLine& line, const PlanPoint& from, const PlanPoint& to,
                    const AccuracyCriterion* criterion) {
  double bearing = 0.0;
  double distance = 0.0;
  PlanJoin(from, to, bearing, distance);
  PlanCheck check;
  check.From = line.FromPoint;
  check.To = line.ToPoint;
  check.BearingSeconds = BearingDifferenceSeconds(line.Bearing, bearing);
  check.Distance = std::abs(line.Distance - distance);
  const double across = check.BearingSeconds / kSecondsPerRadian * line.Distance;
  check.Misclosure = std::hypot(check.Distance, across);
  const bool finite = std::isfinite(check.BearingSeconds) && std::isfinite(check.Distance);
  check.Acceptable = finite && line.Distance > 0.0 &&
                     AllowableBearingDiff(criterion, line.Distance) >= check.BearingSeconds &&
                     AllowableDistanceDiff(criterion, line.Distance) >= check.Distance;
  return check;
}

}  // namespace

std::vector<PlanCheck> PlanChecks(const Plan& plan, const AccuracyCriterion* criterion) {
  std::vector<PlanCheck> checks;
  const auto entries = static_cast<std::size_t>(plan.PlanPointCount + 1);
  if (plan.PlanPointCount < 0 || plan.PlacingLine.size() != entries) return checks;
  std::vector<bool> placing(plan.PlanLines.size(), false);
  for (const std::int64_t line : plan.PlacingLine) {
    if (line >= 0) placing[static_cast<std::size_t>(line)] = true;
  }
  for (std::size_t j = 0; j < plan.PlanLines.size(); ++j) {
    const PlanLine& line = plan.PlanLines[j];
    if (placing[j] || line.InUse <= 0 || line.Bearing > kLargestBearing ||
        line.FromPoint == line.ToPoint) {
      continue;
    }
    const std::int64_t from = FindPlanPoint(plan, line.FromPoint);
    const std::int64_t to = FindPlanPoint(plan, line.ToPoint);
    if (from < 0 || to < 0) continue;
    const PlanPoint& fromPoint = plan.PlanPoints[static_cast<std::size_t>(from)];
    const PlanPoint& toPoint = plan.PlanPoints[static_cast<std::size_t>(to)];
    if (fromPoint.Solved == 0 || toPoint.Solved == 0) continue;
    checks.push_back(CheckLine(line, fromPoint, toPoint, criterion));
  }
  std::stable_sort(checks.begin(), checks.end(), [](const PlanCheck& a, const PlanCheck& b) {
    if (a.Acceptable != b.Acceptable) return !a.Acceptable;
    return a.Misclosure > b.Misclosure;
  });
  return checks;
}

}  // namespace modKestralMGA
