#pragma once

#include <cstdint>
#include <string>

#include "common/Seams.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// Builds plan.PlanPoints the direct way: the table sized by counting, record by record, the ends
// whose number no earlier record holds, the numbers given entries as first met; then whole passes,
// each looking at every usable record for every entry not yet placed, until the count of unplaced
// entries no longer changes (the first pass compared with 0), then ShiftPlanPoints. Nothing is
// cached between passes but the curve file's records. Returns the number of passes made.
// BuildPlanPoints must give the same tables bit for bit.
std::int64_t BuildPlanPointsByPasses(Plan& plan, const std::string& planIdentifier,
                                     MessageSink& sink);

}  // namespace modKestralMGA
