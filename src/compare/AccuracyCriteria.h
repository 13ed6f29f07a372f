#pragma once

#include <array>
#include <string_view>

namespace modKestralMGA {

// The accuracy criteria, by their texts, in the order the criterion box lists them.
inline constexpr std::array<std::string_view, 5> kAccuracyCriteria = {
    "Urban Areas", "Rural Areas", "Adelaide City", "URBAN SURVEY (prior Feb 2019)",
    "RURAL SURVEY (prior Feb 2019)"};

// Seconds of arc in a radian, as the criteria use it (not the more precise 206264.806247...).
inline constexpr double kSecondsPerRadian = 206264.80625;

// True when text is exactly (case and blanks counting) one of the five criteria.
bool IsKnownCriterion(std::string_view criterion);

// The allowable bearing difference, in seconds of arc, of a join of MGA ground distance d
// (metres, greater than 0) under the criterion: atan(x / d) K, with x = 0.05 m (Urban Areas),
// 0.15 m (Rural Areas), 0.03 m (Adelaide City), 0.03 m + 20 s (URBAN SURVEY prior Feb 2019),
// 0.1 m + 40 s (RURAL SURVEY prior Feb 2019). An unknown criterion allows 0.
double AllowableBearingDiff(std::string_view criterion, const double& distance);

// The allowable distance difference, in metres, of a join of MGA ground distance d: 0.05, 0.15,
// 0.03, 0.03 + d/10000 and 0.1 + d/5000 for the five criteria in order. An unknown criterion
// allows d itself.
double AllowableDistanceDiff(std::string_view criterion, const double& distance);

}  // namespace modKestralMGA
