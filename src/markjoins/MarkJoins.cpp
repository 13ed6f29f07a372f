#include "markjoins/MarkJoins.h"

#include <cmath>

#include "common/NumericValue.h"
#include "geodesy/GridLine.h"
#include "geodesy/ScaleFactor.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

// The distances that stand for a join not computed where one is shown.
constexpr double kShownNotFound = 0.0;
constexpr double kShownOrderAboveLimit = -9.0;

JoinResult NotComputed(JoinStatus status) {
  JoinResult join;
  join.Status = status;
  return join;
}

GridLine GridLineOf(const JoinEnds& ends) {
  return GridLineBetween(ends.From.East, ends.From.North, ends.To.East, ends.To.North);
}

}  // namespace

double ShownDistance(const JoinResult& join) {
  switch (join.Status) {
    case JoinStatus::Computed:
      return join.Distance;
    case JoinStatus::OrderAboveLimit:
      return kShownOrderAboveLimit;
    case JoinStatus::MarkMissing:
    case JoinStatus::NotANumber:
      break;
  }
  return kShownNotFound;
}

std::optional<JoinEnds> FindJoinEnds(JoinContext& context, std::int32_t key1, std::int32_t key2) {
  const JoinEnds ends{context.Marks.FindOrZero(key1), context.Marks.FindOrZero(key2)};
  if (ends.From.East > 0.0 && ends.From.North > 0.0 && ends.To.East > 0.0 && ends.To.North > 0.0) {
    return ends;
  }
  return std::nullopt;
}

JoinResult GridJoin(JoinContext& context, std::int32_t key1, std::int32_t key2) {
  const std::optional<JoinEnds> ends = FindJoinEnds(context, key1, key2);
  if (!ends) return NotComputed(JoinStatus::MarkMissing);
  const GridLine line = GridLineOf(*ends);
  // Within the grid limits the line is finite; should it not be, no join rather than a NaN.
  if (!std::isfinite(line.Bearing) || !std::isfinite(line.Distance)) {
    return NotComputed(JoinStatus::NotANumber);
  }
  return {JoinStatus::Computed, line.Bearing, line.Distance, 1.0};
}

JoinResult CombinedScaleFactor(JoinContext& context, std::int32_t key1, std::int32_t key2,
                               OrderLimitRule orderLimit) {
  const std::optional<JoinEnds> ends = FindJoinEnds(context, key1, key2);
  if (!ends) return NotComputed(JoinStatus::MarkMissing);
  const double maxOrder = NumericValue(context.Settings.MaxOrderText());
  if (ends->From.Order > maxOrder || ends->To.Order > maxOrder) {
    if (orderLimit == OrderLimitRule::PlaneJoin) return GridJoin(context, key1, key2);
    return NotComputed(JoinStatus::OrderAboveLimit);
  }

  // The commands refuse an average height beyond the limit before any join; one that changed
  // while a command ran gives no join rather than a scale factor near 0 or below.
  const std::optional<double> height = HeightWithinLimit(context.Settings.AverageHeightText());
  if (!height) return NotComputed(JoinStatus::NotANumber);
  const GridLine line = GridLineOf(*ends);
  const IndexedMark& from = ends->From;
  const IndexedMark& to = ends->To;
  const double csf = LineCombinedScaleFactor(from.East, from.North, to.East, to.North, *height,
                                             context.Settings.CalculationMode());
  const double groundDistance = line.Distance / csf;
  // Coordinates within the grid limits and a height within its limit keep every value finite;
  // should one not be, the join counts as not computed rather than show a NaN.
  if (!std::isfinite(line.Bearing) || !std::isfinite(csf) || !std::isfinite(groundDistance)) {
    return NotComputed(JoinStatus::NotANumber);
  }
  return {JoinStatus::Computed, line.Bearing, groundDistance, csf};
}

}  // namespace modKestralMGA
