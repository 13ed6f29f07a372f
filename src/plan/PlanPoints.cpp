#include "plan/PlanPoints.h"

#include <cmath>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "geodesy/Angles.h"

namespace modKestralMGA {

namespace {

constexpr double kLargestBearing = 360.0;
constexpr double kCurveOffset = 1000.0;

std::size_t At(std::int64_t index) {
  return static_cast<std::size_t>(index);
}

// Whether a record's bearing can ever place a point: a bearing of 360 or less, or a curve.
bool CanPlace(const PlanLine& line) {
  return line.InUse > 0 && (line.Bearing <= kLargestBearing || line.Bearing > kCurveOffset);
}

// The angle (radians) and length (metres) that carry a point from the placed end of line to the
// other end: towardsToPoint when the placed end is FromPoint. False when the record gives none
// (a bearing between 360 and 1000, a curve without a usable chord).
bool LegOf(const PlanLine& line, bool towardsToPoint, CurveIndex& curves, double& angle,
           double& length) {
  double bearing = 0.0;
  if (line.Bearing <= kLargestBearing) {
    bearing = towardsToPoint ? line.Bearing : ReverseBearing(line.Bearing);
    length = line.Distance;
  } else if (line.Bearing > kCurveOffset) {
    const std::int32_t known = towardsToPoint ? line.FromPoint : line.ToPoint;
    const std::int32_t other = towardsToPoint ? line.ToPoint : line.FromPoint;
    if (!GetChordData(known, other, line.Bearing - kCurveOffset, line.Distance, curves, bearing,
                      length)) {
      return false;
    }
  } else {
    return false;
  }
  angle = WrittenDMSToRadians(bearing);
  return true;
}

[[noreturn]] void CoordinatesOutOfRange(const PlanPoint& point) {
  throw KestralError("Plan coordinates out of range at point " +
                     FormatNumber(point.PointNo, kFormatCount));
}

// Places entry `target` at angle and length from entry `known` by record `line`.
void Place(std::int64_t known, std::int64_t target, std::size_t line, double angle, double length,
           Plan& plan) {
  const PlanPoint& from = plan.PlanPoints[At(known)];
  PlanPoint& point = plan.PlanPoints[At(target)];
  const double east = std::sin(angle) * length + from.East;
  const double north = std::cos(angle) * length + from.North;
  if (!std::isfinite(east) || !std::isfinite(north)) CoordinatesOutOfRange(point);
  point.East = east;
  point.North = north;
  point.Solved = 1;
  plan.PlacingLine[At(target)] = static_cast<std::int64_t>(line);
}

// The usable records at one entry, in record order, each with the entry at its other end.
struct Neighbour {
  std::size_t Line;
  std::int64_t Other;
  bool TowardsThis;  // the record runs from Other to this entry (this is its ToPoint)
};

// The records that can place points, listed at both of their entries in record order (as
// compressed rows: the neighbours of entry i are neighbours[start[i]] to neighbours[start[i+1]]).
struct Adjacency {
  std::vector<std::size_t> Start;
  std::vector<Neighbour> Neighbours;
};

// The entries of each record's two ends, in record order.
using LineEnds = std::vector<std::pair<std::int64_t, std::int64_t>>;

Adjacency BuildAdjacency(const Plan& plan, LineEnds& ends) {
  const std::size_t entries = At(plan.PlanPointCount + 1);
  Adjacency adjacency;
  adjacency.Start.assign(entries + 1, 0);
  for (std::size_t j = 0; j < plan.PlanLines.size(); ++j) {
    const PlanLine& line = plan.PlanLines[j];
    if (!CanPlace(line) || line.FromPoint == line.ToPoint) {
      ends[j] = {-1, -1};
      continue;
    }
    ++adjacency.Start[At(ends[j].first) + 1];
    ++adjacency.Start[At(ends[j].second) + 1];
  }
  for (std::size_t i = 0; i < entries; ++i) adjacency.Start[i + 1] += adjacency.Start[i];
  adjacency.Neighbours.resize(adjacency.Start[entries]);
  std::vector<std::size_t> next(adjacency.Start.begin(), adjacency.Start.end() - 1);
  for (std::size_t j = 0; j < ends.size(); ++j) {
    const auto [from, to] = ends[j];
    if (from < 0) continue;
    adjacency.Neighbours[next[At(to)]++] = {j, from, true};
    adjacency.Neighbours[next[At(from)]++] = {j, to, false};
  }
  return adjacency;
}

// Places the points in the order the passes would. The passes visit the unplaced entries in
// entry order, pass after pass, and place an entry at its turn from the first usable record
// (record order) whose other end is already placed. So an entry placed in pass p makes a
// neighbour of higher index placeable in the same pass p and one of lower index in pass p + 1,
// and the turns (pass, entry) can be taken from a priority queue: at each turn the placed points
// are exactly those the passes would have placed before it. A turn at which every record fails
// (a curve without a chord) leaves the entry waiting for a neighbour placed later, as the passes
// would find at their next visits.
void PlaceByWorklist(Plan& plan, LineEnds& ends, CurveIndex& curves) {
  if (plan.PlanPointCount < 0) return;
  const Adjacency adjacency = BuildAdjacency(plan, ends);
  using Turn = std::pair<std::int64_t, std::int64_t>;  // (pass, entry)
  std::priority_queue<Turn, std::vector<Turn>, std::greater<Turn>> turns;
  std::vector<std::int64_t> lastTried(At(plan.PlanPointCount + 1), 0);

  const auto offerNeighbours = [&](std::int64_t entry, std::int64_t pass) {
    for (std::size_t n = adjacency.Start[At(entry)]; n < adjacency.Start[At(entry) + 1]; ++n) {
      const std::int64_t other = adjacency.Neighbours[n].Other;
      if (plan.PlanPoints[At(other)].Solved != 0) continue;
      turns.emplace(entry < other ? pass : pass + 1, other);
    }
  };

  // Entry 0 is placed before the first pass reaches entry 1.
  offerNeighbours(0, 1);
  while (!turns.empty()) {
    const auto [pass, entry] = turns.top();
    turns.pop();
    if (plan.PlanPoints[At(entry)].Solved != 0 || lastTried[At(entry)] == pass) continue;
    lastTried[At(entry)] = pass;
    for (std::size_t n = adjacency.Start[At(entry)]; n < adjacency.Start[At(entry) + 1]; ++n) {
      const Neighbour& neighbour = adjacency.Neighbours[n];
      if (plan.PlanPoints[At(neighbour.Other)].Solved == 0) continue;
      double angle = 0.0;
      double length = 0.0;
      if (!LegOf(plan.PlanLines[neighbour.Line], neighbour.TowardsThis, curves, angle, length)) {
        continue;
      }
      Place(neighbour.Other, entry, neighbour.Line, angle, length, plan);
      offerNeighbours(entry, pass);
      break;
    }
  }
}

// Starts the point table in one pass over the records, which also gives the entries of each
// record's ends: point numbers are given entries as they are first met, while the size of the
// table is counted by its own rule.
void InitPlanPointsWithEnds(Plan& plan, LineEnds& ends) {
  plan.PlanPoints.clear();
  plan.PlanPointIndex.Clear();
  plan.PlacingLine.clear();
  plan.PlanPointCount = -1;
  ends.assign(plan.PlanLines.size(), {-1, -1});
  if (plan.PlanLines.empty()) return;
  PointNumberIndex& index = plan.PlanPointIndex;
  index.Reserve(plan.PlanLines.size() + 1);
  std::vector<std::int32_t> numbers;  // by entry
  numbers.reserve(plan.PlanLines.size() + 1);
  const auto entryOf = [&](std::int32_t pointNo, bool& isNew) {
    const auto next = static_cast<std::int64_t>(numbers.size());
    isNew = index.Insert(pointNo, next);
    if (!isNew) return index.Find(pointNo);
    numbers.push_back(pointNo);
    return next;
  };
  std::int64_t count = 2;  // the two ends of record 0
  for (std::size_t j = 0; j < plan.PlanLines.size(); ++j) {
    const PlanLine& line = plan.PlanLines[j];
    bool fromIsNew = false;
    bool toIsNew = false;
    ends[j].first = entryOf(line.FromPoint, fromIsNew);
    ends[j].second = entryOf(line.ToPoint, toIsNew);
    // A later record counts each end not met in an earlier record: both, when its two ends
    // carry the same new number.
    if (j > 0)
      count +=
          (fromIsNew ? 1 : 0) + (toIsNew || (fromIsNew && line.ToPoint == line.FromPoint) ? 1 : 0);
  }
  plan.PlanPoints.assign(At(count + 3), PlanPoint{});
  for (std::size_t entry = 0; entry < numbers.size(); ++entry) {
    plan.PlanPoints[entry].PointNo = numbers[entry];
  }
  plan.PlanPointCount = static_cast<std::int64_t>(numbers.size()) - 1;
  plan.PlanPoints[0].Solved = 1;
  plan.PlacingLine.assign(numbers.size(), -1);
}

}  // namespace

std::int64_t FindPlanPoint(const Plan& plan, std::int32_t pointNo) {
  if (plan.PlanPointCount < 0) return -1;
  return plan.PlanPointIndex.Find(pointNo);
}

void ShiftPlanPoints(Plan& plan) {
  double minEast = 0.0;
  double minNorth = 0.0;
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const PlanPoint& point = plan.PlanPoints[At(i)];
    if (point.East < minEast) minEast = point.East;
    if (point.North < minNorth) minNorth = point.North;
  }
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    PlanPoint& point = plan.PlanPoints[At(i)];
    const double east = point.East - minEast;
    const double north = point.North - minNorth;
    if (!std::isfinite(east) || !std::isfinite(north)) CoordinatesOutOfRange(point);
    point.East = east;
    point.North = north;
  }
}

CurveIndex CurvesOf(const Plan& plan, const std::string& planIdentifier, MessageSink& sink) {
  return plan.Curves ? CurveIndex(*plan.Curves) : CurveIndex(planIdentifier, sink);
}

void BuildPlanPoints(Plan& plan, const std::string& planIdentifier, MessageSink& sink) {
  LineEnds ends;
  InitPlanPointsWithEnds(plan, ends);
  CurveIndex curves = CurvesOf(plan, planIdentifier, sink);
  PlaceByWorklist(plan, ends, curves);
  ShiftPlanPoints(plan);
}

}  // namespace modKestralMGA
