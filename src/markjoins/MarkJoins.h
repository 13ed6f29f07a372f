#pragma once

#include <cstdint>
#include <optional>

#include "geodesy/JoinSettings.h"
#include "markjoins/MarkIndex.h"

namespace modKestralMGA {

// What a join routine reads: the mark list (through its index) and the settings, both at the
// moment of the call.
struct JoinContext {
  MarkIndex& Marks;
  const JoinSettings& Settings;
};

// Whether a join between two listed marks could be computed, and if not, why.
enum class JoinStatus {
  Computed,
  MarkMissing,      // a mark is missing from the list or lacks positive coordinates
  OrderAboveLimit,  // a mark's order is above "Compare up to Order"
  NotANumber,       // a value came out not finite (or the average height is beyond its limit)
};

// A join between two listed marks. Bearing, Distance and Csf are 0 unless Status is Computed.
struct JoinResult {
  JoinStatus Status = JoinStatus::MarkMissing;
  double Bearing = 0.0;   // grid bearing from the first mark to the second, ddd.mmss
  double Distance = 0.0;  // metres: ground distance, or grid distance for a plane join
  double Csf = 0.0;       // combined scale factor; 1 for a plane join
};

// The distance of a join as the windows, the reports and the batch program show it: the
// distance when computed; -9 when a mark's order is above the limit; 0 otherwise (a mark missing
// or without positive coordinates, a value not finite).
double ShownDistance(const JoinResult& join);

// What a combined-scale-factor join does with a mark whose order is above "Compare up to Order".
enum class OrderLimitRule {
  Refuse,     // no join: OrderAboveLimit
  PlaneJoin,  // the plane join (GridJoin) instead
};

// The two marks of a join, as the mark list gives them at the call.
struct JoinEnds {
  IndexedMark From;
  IndexedMark To;
};

// The marks with key1 and key2 when both are listed with an easting and a northing greater than
// 0; nothing when either is missing (its coordinates count as 0) or has an empty, zero, negative
// or non-numeric coordinate cell.
std::optional<JoinEnds> FindJoinEnds(JoinContext& context, std::int32_t key1, std::int32_t key2);

// The plane join from the mark with key1 to the mark with key2: the grid bearing as a ddd.mmss
// number, the grid distance in metres, csf 1. MarkMissing when a mark is missing or lacks
// positive coordinates, NotANumber when the line is not finite. No order limit, height or
// ellipsoid.
JoinResult GridJoin(JoinContext& context, std::int32_t key1, std::int32_t key2);

// The MGA join from the mark with key1 to the mark with key2: the grid bearing as a ddd.mmss
// number; the grid distance reduced to ground, grid / csf (metres); the combined scale factor
// csf = (1 - h 0.157e-6) K, with h the average height and K the line scale factor at the
// mid-point latitude on the ellipsoid of the calculation mode. MarkMissing when a mark is missing
// or lacks positive coordinates (a mark on no grid has none: MarkIndex); when a mark's order is
// above "Compare up to Order", OrderAboveLimit, or with OrderLimitRule::PlaneJoin the plane join
// (GridJoin); NotANumber when the average height is beyond 100000 m (HeightWithinLimit) or a
// value is not finite. The settings (order limit, average height, ellipsoid) are read at the
// call.
JoinResult CombinedScaleFactor(JoinContext& context, std::int32_t key1, std::int32_t key2,
                               OrderLimitRule orderLimit = OrderLimitRule::Refuse);

}  // namespace modKestralMGA
