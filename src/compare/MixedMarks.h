#pragma once

#include <string>
#include <vector>

#include "common/Seams.h"
#include "markjoins/MarkIndex.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The warnings of a plan whose PSMs lie on more than one datum or in more than one zone of the
// mark list, in that order, none when neither: "The plan's marks are on more than one datum:
// GDA94 (3), GDA2020 (5)" and "The plan's marks are in more than one zone: 55 (2), 56 (4)". The
// plan's PSMs are the points of its lines numbered above 4600, each counted once; a PSM takes
// the Datum and Zone cells of the row of the list that marks finds it in (as the joins do). Cells
// are compared without their surrounding blanks and regardless of letter case, and shown as the
// first of the plan's PSMs spells them, in the order the plan first names them; empty cells and
// PSMs missing from the list count for nothing.
std::vector<std::string> MixedDatumAndZoneWarnings(const Plan& plan, MarkIndex& marks);

// Refuses a plan whose marks are mixed: each warning of MixedDatumAndZoneWarnings under "Join
// Comparison" (exclamation). True when there was one (the comparison is not to run).
bool RefuseMixedMarks(const Plan& plan, MarkIndex& marks, MessageSink& sink);

}  // namespace modKestralMGA
