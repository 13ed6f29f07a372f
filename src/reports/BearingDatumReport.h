#pragma once

#include "common/ColumnWriter.h"
#include "common/Seams.h"
#include "compare/CompareSettings.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The message and title shown when the two datum PSMs are not both found in the plan.
inline constexpr const char* kDatumNotInPlanText = "Cannot find Datum line PSM's in KESTRAL";
inline constexpr const char* kDatumNotInPlanTitle = "MGA Joins";

// The joins report's bearing datum section: the datum line between the two datum PSMs as the
// plan gives it and as the MGA coordinates give it. Writes nothing when either datum text is
// empty. The keys (PsmKey) are looked for among plan points 0 to PlanPointCount; unless there are
// exactly two matches (of either key, a point matching both counting twice) it shows "Cannot find
// Datum line PSM's in KESTRAL" under "MGA Joins" (exclamation) and writes nothing. Otherwise it
// writes an empty line; "BEARING DATUM", "Bearing" and "Distance" at columns 1, 30 and 45; the
// plan line: the two datum texts at 1 and 15, the plan bearing (ddd.mmss, "0.0000") at 30, the
// plan distance (metres, "0.000") at 45 and "(KESTRAL)" at 60, or "Plan coordinates not
// available" at 30 when a datum point was left unsolved; the MGA line (CombinedScaleFactor: the
// combined-scale-factor join, the plane join with csf 1 above the order limit, zeros for a PSM
// missing from the list) with "(MGA)" at 60; "Combined Scale Factor = " and the csf
// ("0.00000000"); an empty line. Throws KeyTooLargeError for a datum number whose key does not
// fit 32 bits.
void BearingDatumReport(const Plan& plan, JoinContext& context, const CompareSettings& settings,
                        ColumnWriter& out, MessageSink& sink);

}  // namespace modKestralMGA
