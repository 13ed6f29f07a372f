#pragma once

#include <cstdint>
#include <optional>

#include "geodesy/JoinSettings.h"
#include "geodesy/MarkIndex.h"

namespace modKestralMGA {

// What a join routine reads: the mark list (through its index) and the settings, both at the
// moment of the call.
struct JoinContext {
  MarkIndex& Marks;
  const JoinSettings& Settings;
};

// The distance of a join that cannot be computed: a mark is missing or lacks positive
// coordinates.
inline constexpr double kJoinNotFound = 0.0;

// The two marks of a join, as the mark list gives them at the call.
struct JoinEnds {
  IndexedMark From;
  IndexedMark To;
};

// The marks with key1 and key2 when both are listed with an easting and a northing greater than
// 0; nothing when either is missing (its coordinates count as 0) or has an empty, zero, negative
// or non-numeric coordinate cell.
std::optional<JoinEnds> FindJoinEnds(JoinContext& context, std::int32_t key1, std::int32_t key2);

// The length in metres of a straight line with easting and northing differences dE and dN
// (metres): sqrt(dE^2 + dN^2) as written, so that every ordinary length keeps its last bit; where
// the squares overflow a double though the length does not (differences beyond about 1e154 m),
// the length computed without that overflow. Infinite only for a length beyond the range of a
// double.
double PlaneDistance(double dE, double dN);

// The straight grid line between the ends of a join: bearing, the whole-circle grid bearing from
// From to To as a ddd.mmss number; gridDistance, its length in metres.
void GridLine(const JoinEnds& ends, double& bearing, double& gridDistance);

// The plane join from the mark with key1 to the mark with key2: bearing as a ddd.mmss number,
// grid distance in metres, csf = 1. distance = 0 when a mark is missing or lacks positive
// coordinates (or the line is not finite), leaving bearing and csf as the caller had them. No order
// limit, height or ellipsoid. Same arguments as CombinedScaleFactor, so callers can call either.
void GridJoin(JoinContext& context, const std::int32_t& key1, const std::int32_t& key2,
              double& bearing, double& distance, double& csf);

}  // namespace modKestralMGA
