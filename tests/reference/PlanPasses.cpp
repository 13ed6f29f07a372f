#include "PlanPasses.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "geodesy/Angles.h"
#include "plan/CurveFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {

namespace {

// The table sized by a count of the new numbers, record by record (2 for record 0, each end of a
// later record whose number no earlier record holds), its entries the numbers as first met; entry
// 0 placed at the origin.
void InitPlanPoints(Plan& plan) {
  plan.PlanPoints.clear();
  plan.PlanPointIndex.Clear();
  plan.PlanPointCount = -1;
  if (plan.PlanLines.empty()) return;
  std::unordered_set<std::int32_t> earlier;  // the numbers of the records before
  std::vector<std::int32_t> numbers;         // by entry
  std::int64_t count = 2;
  for (std::size_t j = 0; j < plan.PlanLines.size(); ++j) {
    const std::int32_t ends[] = {plan.PlanLines[j].FromPoint, plan.PlanLines[j].ToPoint};
    for (const std::int32_t pointNo : ends) {
      if (j > 0 && !earlier.contains(pointNo)) ++count;
      if (plan.PlanPointIndex.Insert(pointNo, std::ssize(numbers))) numbers.push_back(pointNo);
    }
    earlier.insert(std::begin(ends), std::end(ends));
  }
  plan.PlanPoints.assign(static_cast<std::size_t>(count + 3), PlanPoint{});
  for (std::size_t entry = 0; entry < numbers.size(); ++entry)
    plan.PlanPoints[entry].PointNo = numbers[entry];
  plan.PlanPointCount = std::ssize(numbers) - 1;
  plan.PlanPoints[0].Solved = 1;
}

// Places point from known, its line's other end, when the line gives a leg: a bearing of 360 or
// less (reversed from the ToPoint), or the chord of a curve.
bool PlaceFrom(const PlanLine& line, bool towardsToPoint, const PlanPoint& known, PlanPoint& point,
               CurveIndex& curves) {
  double bearing = towardsToPoint ? line.Bearing : ReverseBearing(line.Bearing);
  double length = line.Distance;
  if (line.Bearing > 1000.0) {
    if (!GetChordData(known.PointNo, point.PointNo, line.Bearing - 1000.0, line.Distance, curves,
                      bearing, length))
      return false;
  } else if (line.Bearing > 360.0) {
    return false;
  }
  const double angle = WrittenDMSToRadians(bearing);
  point.East = std::sin(angle) * length + known.East;
  point.North = std::cos(angle) * length + known.North;
  point.Solved = 1;
  return true;
}

// One pass: every unplaced entry, in entry order, from the first usable record joining it to a
// point placed by then.
void PropagatePlanPoints(Plan& plan, CurveIndex& curves) {
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    if (point.Solved != 0) continue;
    for (const PlanLine& line : plan.PlanLines) {
      const bool towardsThis = point.PointNo == line.ToPoint;
      if (line.InUse <= 0 || (!towardsThis && point.PointNo != line.FromPoint)) continue;
      const std::int64_t known = FindPlanPoint(plan, towardsThis ? line.FromPoint : line.ToPoint);
      if (known < 0 || plan.PlanPoints[static_cast<std::size_t>(known)].Solved == 0) continue;
      if (PlaceFrom(line, towardsThis, plan.PlanPoints[static_cast<std::size_t>(known)], point,
                    curves))
        break;
    }
  }
}

}  // namespace

std::int64_t BuildPlanPointsByPasses(Plan& plan, const std::string& planIdentifier,
                                     MessageSink& sink) {
  InitPlanPoints(plan);
  CurveIndex curves(planIdentifier, sink);
  std::int64_t passes = 0;
  for (std::int64_t previous = 0;;) {
    PropagatePlanPoints(plan, curves);
    ++passes;
    const auto first = plan.PlanPoints.begin();
    const std::int64_t unplaced =
        std::count_if(first, first + (plan.PlanPointCount + 1),
                      [](const auto& point) { return point.Solved == 0; });
    if (unplaced == previous) break;
    previous = unplaced;
  }
  ShiftPlanPoints(plan);
  return passes;
}

}  // namespace modKestralMGA
