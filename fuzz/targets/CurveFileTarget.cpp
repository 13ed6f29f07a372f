// Reading a plan's curve file and placing the plan's curved lines by their chords: the messages
// are the curve file's own, a chord given is finite, and a plan built from it has finite
// coordinates, none negative.
#include <array>
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Errors.h"
#include "plan/CurveFile.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA::fuzz {

namespace {

constexpr PlanLine Line(std::int32_t from, std::int32_t to, double bearing, double distance) {
  PlanLine line;
  line.FromPoint = from;
  line.ToPoint = to;
  line.Bearing = bearing;
  line.Distance = distance;
  return line;
}

// A plan whose curves the seeds' records describe: ordinary curves, a radius of 0.001 m with a
// long arc, an arc of 0 and a radius of 1e300, chained from point 4601.
constexpr std::array<PlanLine, 9> kPlanLines = {
    Line(4601, 101, 45.3015, 120.456), Line(101, 102, 135.0, 80.0),
    Line(102, 103, 1180.0, 62.832),    Line(103, 4602, 300.1545, 95.5),
    Line(4602, 4603, 1100.0, 150.0),   Line(4604, 4603, 1000.001, 1000.0),
    Line(4604, 4605, 2000.0, 0.0),     Line(4605, 1, 1e300, 1413.962),
    Line(1, 2, 1025.5, 31.416),
};

// Radius and arc (metres) of the direct chord requests.
const std::array<std::array<double, 2>, 5> kCurves = {
    {{100.0, 31.4159}, {0.001, 1000.0}, {1000.0, 0.0}, {1e300, 1413.962}, {1e-300, 1e300}}};

}  // namespace

int FuzzCurveFile(const std::uint8_t* data, std::size_t size) {
  WriteScratchFile("plan.cve", AsText(data, size));
  const std::string planIdentifier = ScratchFolder() + "/plan";

  KeptMessages messages;
  CurveIndex curves(planIdentifier, messages);
  for (const PlanLine& line : kPlanLines) {
    for (const auto& [radius, arc] : kCurves) {
      double bearing = 0.0;
      double length = 0.0;
      try {
        if (GetChordData(line.FromPoint, line.ToPoint, radius, arc, curves, bearing, length)) {
          Require(std::isfinite(bearing) && std::isfinite(length), "a chord given is finite");
        }
      } catch (const KestralError&) {
        // A chord beyond the range of a double: the comparison reports it.
      }
    }
  }
  Require(messages.AllTitled({kGetChordDataErrorTitle}), "every message is a curve file message");

  Plan plan;
  plan.PlanLines.assign(kPlanLines.begin(), kPlanLines.end());
  MarkLinesInUse(plan);
  KeptMessages buildMessages;
  try {
    BuildPlanPoints(plan, planIdentifier, buildMessages);
  } catch (const KestralError&) {
    return 0;  // a coordinate beyond the range of a double: the comparison reports it
  }
  Require(buildMessages.AllTitled({kGetChordDataErrorTitle}),
          "every message of the build is a curve file message");
  Require(plan.PlanPointCount >= 0 && plan.PlanPoints[0].Solved == 1, "the first point is placed");
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    Require(std::isfinite(point.East) && std::isfinite(point.North), "coordinates are finite");
    Require(point.East >= 0.0 && point.North >= 0.0, "no coordinate is negative");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
