#include "PlanPasses.h"

#include <algorithm>

#include "plan/CurveFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {

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
