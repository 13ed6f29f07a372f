// Plan point coordinates: the entry order, the record that places each point (the passes'
// choice), curves placed by their chords, points that no usable line reaches, the shift, and an
// empty plan. Plans read from their files: the lines and curve file tests, and the batch cases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "common/NumericValue.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// A plan of the given lines, marked usable as the Compare command marks them.
Plan PlanOf(const std::vector<PlanLine>& lines) {
  Plan plan;
  plan.PlanLines = lines;
  MarkLinesInUse(plan);
  return plan;
}

// The entries of a built plan against the expected ones, to 1e-10 m.
void ExpectEntries(const std::string& what, const Plan& plan,
                   const std::vector<PlanPoint>& expected) {
  ASSERT_EQ(plan.PlanPointCount + 1, static_cast<std::int64_t>(expected.size())) << what;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const PlanPoint &point = plan.PlanPoints[i], &want = expected[i];
    EXPECT_TRUE(point.PointNo == want.PointNo && point.Solved == want.Solved &&
                std::abs(point.East - want.East) <= 1e-10 &&
                std::abs(point.North - want.North) <= 1e-10)
        << what << ": entry " << i << ", point " << point.PointNo << " at " << point.East << ", "
        << point.North << " (" << point.Solved << ")";
  }
}

// Plans of straight lines and curves (tests/data/model/plan_point_cases.txt), with the coordinates
// worked out by hand from the passes and the chords. They hold to 1e-10 m, not closer: the reading
// of a ddd.mmss bearing adds 1e-09 to its minutes and seconds.
TEST(BuildPlanPoints, PlacesEachPointFromTheRecordThePassesTake) {
  for (const auto& c : TableRows("plan_point_cases.txt")) {
    std::vector<PlanLine> lines;
    std::vector<PlanPoint> points;
    for (const std::string& record : Split(c[1], ";")) {
      const auto v = Split(record, ",");
      lines.push_back(
          {std::stoi(v[0]), std::stoi(v[1]), NumericValue(v[2]), NumericValue(v[3]), 0});
    }
    for (const std::string& record : Split(c[2], ";")) {
      const auto v = Split(record, ",");
      points.push_back({std::stoi(v[0]), NumericValue(v[1]), NumericValue(v[2]),
                        static_cast<std::int16_t>(std::stoi(v[3]))});
    }
    TempFolder folder;  // the curve file, when the row gives one: <folder>/plan.cve
    if (c.size() > 3) folder.Write("plan.cve", c[3]);
    Plan plan = PlanOf(lines);
    RecordingSink sink;
    BuildPlanPoints(plan, folder / "plan", sink);
    EXPECT_EQ(sink.Count(), 0u) << c[0];
    ExpectEntries(c[0], plan, points);
  }
}

// A missing curve file gives one message per build, and only when a curve is needed: the curves
// of the second plan join points placed by straight lines first, or lie where no usable line
// reaches. Coordinates beyond the range of a double throw.
TEST(BuildPlanPoints, MissingCurveFileAndCoordinatesOutOfRange) {
  TempFolder folder;
  std::string transcript;
  const std::vector<PlanLine> plans[] = {
      {{1, 2, 1100, 10, 0}, {1, 3, 1050, 10, 0}},
      {{1, 2, 90, 10, 0}, {1, 2, 1100, 10, 0}, {5, 6, 999, 1, 0}, {5, 6, 1100, 10, 0}},
      {{1, 2, 90, 1e308, 0}, {2, 3, 90, 1e308, 0}},   // two long lines the same way
      {{1, 2, 90, 1e308, 0}, {1, 3, 270, 1e308, 0}},  // opposite ways, then shifted
      {{1, 2, -1e308, 10, 0}},                        // a bearing whose angle overflows
  };
  for (const auto& lines : plans) {
    Plan plan = PlanOf(lines);
    for (int build = 0; build < 2; ++build) {
      RecordingSink sink;
      try {
        BuildPlanPoints(plan, folder / "plan", sink);
        for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i)
          transcript += std::to_string(plan.PlanPoints[static_cast<std::size_t>(i)].Solved);
      } catch (const KestralError& error) {
        transcript += error.what();
      }
      (transcript += '\n') += Said(sink);
    }
  }
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "plan_points.txt");
}

// An empty plan builds no table. (The table's size and entries are those of the counting and
// first-met order of the reference build: PlanPointsProperty.)
TEST(BuildPlanPoints, EmptyPlanBuildsNoTable) {
  Plan empty;
  RecordingSink sink;
  BuildPlanPoints(empty, "/nonexistent/plan", sink);
  EXPECT_TRUE(empty.PlanPointCount == -1 && empty.PlanPoints.empty() && sink.Count() == 0);
}

}  // namespace
}  // namespace modKestralMGA
