#pragma once

#include <cstdint>
#include <string>

#include "common/Seams.h"
#include "plan/CurveFile.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The entry of the point numbered pointNo among entries 0 to PlanPointCount, or -1 when there is
// none (or the table is not built).
std::int64_t FindPlanPoint(const Plan& plan, std::int32_t pointNo);

// Moves every entry in use so that the smallest East and the smallest North over them are 0
// (entries not placed take part with their coordinates of 0). Throws KestralError when a shifted
// coordinate would be beyond the range of a double.
void ShiftPlanPoints(Plan& plan);

// Builds plan.PlanPoints and plan.PlanPointCount from plan.PlanLines (read and marked InUse).
// The table gets 3 zeroed entries more than a bound of the distinct point numbers: 2 for the two
// ends of record 0, and 1 more for each end of a later record whose number no earlier record holds
// (a record whose two ends carry the same new number counts it twice). Entry 0 is the FromPoint
// of record 0, placed at East 0, North 0; every other point number follows in the order it is
// first met (each record's FromPoint, then its ToPoint). PlanPointCount is the highest entry in
// use, -1 with no records (and an empty table).
// The points are placed as passes over the unplaced entries would place them, pass after pass
// until one places no further point: each entry, in entry order, from the first usable record
// (InUse above 0, in record order) that joins it to a placed point, counting points placed
// earlier in the same pass. A record's bearing places the point when it is 360 or less (reversed
// when the record runs from this point), or, above 1000, the chord of the curve (radius
// Bearing - 1000, arc Distance); other bearings and curves without a usable chord are passed
// over. A point placed from a known point by bearing b and length d lies d sin b east and d cos b
// north of it, with b the ddd.mmss bearing written "0.0000" and read as an angle. Then
// ShiftPlanPoints. A worklist reaches the passes' result exactly, bit for bit, in time about
// linear in the number of records: each point is placed at its turn in the first pass that can
// place it, from the same record the passes take. Curves take their chords from the curve file of
// planIdentifier (the plan identifier as the window shows it at the moment of the build), read
// when the build first needs a chord; its messages go to sink once per build; a plan read from
// LandXML takes them from plan.Curves instead. Points that no
// chain of usable records reaches keep Solved 0. Throws KestralError when a coordinate would be
// beyond the range of a double.
void BuildPlanPoints(Plan& plan, const std::string& planIdentifier, MessageSink& sink);

// The plan's curve chords: those a LandXML plan carried, else the curve file of planIdentifier,
// read when first asked for (its failures said on sink).
CurveIndex CurvesOf(const Plan& plan, const std::string& planIdentifier, MessageSink& sink);

}  // namespace modKestralMGA
