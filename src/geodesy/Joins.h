#pragma once

#include <cstdint>

#include "geodesy/JoinSettings.h"
#include "geodesy/MarkIndex.h"

namespace modKestralMGA {

// What a join routine reads: the mark list (through its index) and the settings, both at the
// moment of the call.
struct JoinContext {
  MarkIndex& Marks;
  const JoinSettings& Settings;
};

// The plane join from the mark with key1 to the mark with key2: bearing as a ddd.mmss number,
// grid distance in metres, csf = 1. distance = 0 when a mark is missing or lacks positive
// coordinates, leaving bearing and csf as the caller had them. No order limit, height or
// ellipsoid. Same arguments as CombinedScaleFactor, so callers can call either.
void GridJoin(JoinContext& context, const std::int32_t& key1, const std::int32_t& key2,
              double& bearing, double& distance, double& csf);

}  // namespace modKestralMGA
