#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geodesy/MarkNames.h"
#include "plan/PointNumberIndex.h"

namespace modKestralMGA {

// One line of a survey plan as the lines file gives it.
struct PlanLine {
  std::int32_t FromPoint = 0;  // number of the point where the line starts
  std::int32_t ToPoint = 0;    // number of the point where the line ends
  // Whole-circle bearing from FromPoint to ToPoint in ddd.mmss when 360 or less; exactly 999 for
  // a line without a usable bearing; above 1000 for a curve of radius Bearing - 1000 metres;
  // any other value is kept but never places a point.
  double Bearing = 0.0;
  double Distance = 0.0;   // metres; for a curve the length along the arc
  std::int16_t InUse = 0;  // 1 once marked usable (Bearing not exactly 999), else 0
};

// One record of the curve file, or the chord of an arc of a LandXML plan.
struct CurveRecord {
  std::int32_t FirstPoint = 0;
  std::int32_t SecondPoint = 0;
  bool TurnsLeft = false;  // direction "L": the curve turns left from FirstPoint to SecondPoint
  // The chord's bearing from FirstPoint (ddd.mmss), or with DistanceValue 999 the bearing of the
  // tangent at FirstPoint; 999 when not given.
  double BearingValue = 0.0;
  double DistanceValue = 0.0;  // the chord's length in metres; 999 when not given
};

// One point of the plan with its plane coordinates in the plan's own frame: North along bearing
// 0, East along bearing 90 degrees, no coordinate negative once the plan is built.
struct PlanPoint {
  std::int32_t PointNo = 0;  // the point's number in the lines file
  double East = 0.0;         // metres
  double North = 0.0;        // metres
  std::int16_t Solved = 0;   // 1 when East and North are known, 0 when no usable line reaches it
};

// The plan tables that one Compare builds and the results and reports read until the next one.
// The program holds one Plan and replaces it at every Compare; nothing here is shared.
struct Plan {
  std::vector<PlanLine> PlanLines;
  // Entries 0 to PlanPointCount are in use, in the order their numbers are first met in
  // PlanLines; entries past PlanPointCount (BuildPlanPoints sizes the table) stay zero.
  std::vector<PlanPoint> PlanPoints;
  std::int64_t PlanPointCount = -1;  // highest entry in use; -1 before the points are built
  // Entry index of each point number in use, kept by BuildPlanPoints for FindPlanPoint.
  PointNumberIndex PlanPointIndex;
  // For each entry in use, the record of PlanLines that placed it; -1 for entry 0 and for points
  // no usable record reaches. The records that placed no point are the plan's checks.
  std::vector<std::int64_t> PlacingLine;
  // The chords of a plan read from a LandXML file, in the order of its arcs, taken instead of a
  // curve file; nothing for a plan of lines and curve files.
  std::optional<std::vector<CurveRecord>> Curves;
  // The plan's marks whose names are matched by text, under the keys they stand for in PlanLines.
  MarkNameTable Names;
};

}  // namespace modKestralMGA
