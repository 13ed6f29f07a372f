#pragma once

#include <string_view>
#include <vector>

#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

// The plan's checks: every usable straight line (InUse, bearing of 360 or less, two different
// ends) that placed no point although both its ends are placed, its stated bearing and distance
// set against the plan join of its ends (PlanJoin, BearingDifferenceSeconds) and judged by the
// criterion at its stated distance as the joins are. Not acceptable first, then acceptable; each
// part by misclosure, largest first (ties in line order). Nothing when the plan does not record
// which line placed each point.
std::vector<PlanCheck> PlanChecks(const Plan& plan, const AccuracyCriterion* criterion);

}  // namespace modKestralMGA
