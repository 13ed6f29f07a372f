#pragma once

#include <array>
#include <string_view>

namespace modKestralMGA {

// Seconds of arc in a radian, as the criteria use it (not the more precise 206264.806247...).
inline constexpr double kSecondsPerRadian = 206264.80625;

// One accuracy criterion, by its text. A join of MGA ground distance d metres is allowed a
// bearing difference of atan(Subtended / d) seconds-per-radian + FixedSeconds seconds of arc, and
// a distance difference of FixedMetres + d / LengthDivisor metres (no length term when
// LengthDivisor is 0).
struct AccuracyCriterion {
  std::string_view Name;
  double Subtended;      // metres subtended at the far end of the join
  double FixedSeconds;   // seconds of arc added to the bearing allowance
  double FixedMetres;    // metres of the distance allowance
  double LengthDivisor;  // parts of the join's length allowed (10000: 100 ppm); 0 for none
};

// The accuracy criteria in the order the criterion box lists them; the first is the one a new
// window and the batch program start with.
inline constexpr std::array<AccuracyCriterion, 5> kAccuracyCriteria = {{
    {"Urban Areas", 0.05, 0.0, 0.05, 0.0},
    {"Rural Areas", 0.15, 0.0, 0.15, 0.0},
    {"Adelaide City", 0.03, 0.0, 0.03, 0.0},
    {"URBAN SURVEY (prior Feb 2019)", 0.03, 20.0, 0.03, 10000.0},
    {"RURAL SURVEY (prior Feb 2019)", 0.1, 40.0, 0.1, 5000.0},
}};

// The criterion whose text is exactly criterion (case and blanks counting); nullptr when none is.
const AccuracyCriterion* FindCriterion(std::string_view criterion);

// True when text is exactly (case and blanks counting) one of the criteria.
bool IsKnownCriterion(std::string_view criterion);

// The allowable bearing difference, in seconds of arc, of a join of MGA ground distance distance
// (metres, greater than 0) under the criterion of that text; an unknown criterion allows 0.
double AllowableBearingDiff(std::string_view criterion, double distance);

// The allowable distance difference, in metres, of a join of MGA ground distance distance under
// the criterion of that text; an unknown criterion allows the distance itself.
double AllowableDistanceDiff(std::string_view criterion, double distance);

}  // namespace modKestralMGA
