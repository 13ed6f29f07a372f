#include "PlanPasses.h"

#include "plan/CurveFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {

namespace {

std::int64_t CountUnplaced(const Plan& plan) {
  std::int64_t count = 0;
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    if (plan.PlanPoints[static_cast<std::size_t>(i)].Solved == 0) ++count;
  }
  return count;
}

}  // namespace

std::int64_t BuildPlanPointsByPasses(Plan& plan, const std::string& planIdentifier,
                                     MessageSink& sink) {
  InitPlanPoints(plan);
  CurveIndex curves(planIdentifier, sink);
  std::int64_t passes = 0;
  std::int64_t previous = 0;
  while (true) {
    PropagatePlanPoints(plan, curves);
    ++passes;
    const std::int64_t unplaced = CountUnplaced(plan);
    if (unplaced == previous) break;
    previous = unplaced;
  }
  ShiftPlanPoints(plan);
  return passes;
}

}  // namespace modKestralMGA
