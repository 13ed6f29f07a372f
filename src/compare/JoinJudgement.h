#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compare/AccuracyCriteria.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// What the comparison concludes about one join between two PSMs of the plan.
enum class JoinVerdict {
  Acceptable,
  NotAcceptable,
  ScaledCoordinates,  // a mark's order is above "Compare up to Order"
  MgaNotAvailable,    // a mark is missing from the list or lacks positive coordinates
  PlanNotAvailable,   // a plan point was left unsolved: no chain of usable lines reaches it
};

// One join between two plan points, as the results list and the joins report show it.
struct JoinJudgement {
  JoinVerdict Verdict = JoinVerdict::MgaNotAvailable;
  double PlanBearing = 0.0;        // ddd.mmss, grid bearing of the plan coordinate differences
  double PlanDistance = 0.0;       // metres
  double MgaBearing = 0.0;         // ddd.mmss, from CombinedScaleFactor
  double MgaDistance = 0.0;        // metres at ground; 0 unless the MGA join was computed
  double Csf = 0.0;                // combined scale factor
  double BearingDiff = 0.0;        // seconds of arc, the short way round north
  double DistanceDiff = 0.0;       // metres
  double AllowableBearing = 0.0;   // seconds of arc
  double AllowableDistance = 0.0;  // metres
};

// The difference in seconds of arc between two ddd.mmss bearings, each first written with
// "0.0000" and read back (so compared at whole seconds), taken the short way round north: a
// difference above pi becomes 2 pi minus it (359.5959 against 0.0001 is 2 seconds). Seconds are
// counted with 206264.80625 a radian, as the accuracy criteria count them. Never negative.
double BearingDifferenceSeconds(double planBearing, double mgaBearing);

// The plan join from plan point `from` to plan point `to`: the grid bearing (ddd.mmss, whole
// seconds) and the length (metres, PlaneDistance) of their plan coordinate differences.
void PlanJoin(const PlanPoint& from, const PlanPoint& to, double& bearing, double& distance);

// Judges the join from plan point `from` to plan point `to` (both numbered above 4600, their
// numbers being PSM keys): an unsolved point gives PlanNotAvailable before any MGA join; then
// the MGA join (CombinedScaleFactor); a mark above the order limit gives ScaledCoordinates, any
// other join not computed MgaNotAvailable; otherwise
// the differences are judged against the allowances of the criterion (nullptr, a text that is
// none of the criteria: no bearing difference and the whole join allowed): not acceptable when an
// allowance is less than its difference, or when a difference is not a finite number; a
// difference equal to its allowance passes. The plan join is PlanJoin's; the MGA join reads the
// mark list and the join settings at the call. Throws nothing of its own.
JoinJudgement JudgeJoin(const PlanPoint& from, const PlanPoint& to, JoinContext& context,
                        const AccuracyCriterion* criterion);

// text padded with blanks up to column (counted from 0, in bytes); when text is already as long
// as the column or longer, one blank separates instead, so nothing is cut and nothing touches.
void PadToColumn(std::string& text, std::size_t column);

// The words of a verdict as the results list and the joins report show them after the two keys:
// "JOIN ACCEPTABLE", "*** JOIN NOT ACCEPTABLE ***", "Scaled Coordinates found", "MGA Coordinates
// not available", "Plan coordinates not available".
std::string_view VerdictText(JoinVerdict verdict);

}  // namespace modKestralMGA
