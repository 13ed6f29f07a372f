// The worklist that places plan points against the direct passes, on a few thousand random
// plans: chains listed backwards, cycles, curves in every curve-file form, 999 lines, bearings
// between 360 and 1000, disconnected parts, repeated point numbers. The tables must be the same
// bit for bit, and the curve file's messages the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "PlanPasses.h"
#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/NumberFormat.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingSink;
using testsupport::TempFolder;

// splitmix64: the same sequence on every platform and library version.
class Random {
 public:
  explicit Random(std::uint64_t seed) : m_state(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number from 0 to n - 1.
  std::int64_t Below(std::int64_t n) {
    return static_cast<std::int64_t>(Next() % static_cast<std::uint64_t>(n));
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  bool Chance(double p) { return Unit() < p; }

 private:
  std::uint64_t m_state;
};

double RandomDms(Random& random) {
  return static_cast<double>(random.Below(360)) + static_cast<double>(random.Below(60)) / 100.0 +
         static_cast<double>(random.Below(60)) / 10000.0;
}

// A random plan: lines over "vertices" 0..n-1 in one of several shapes, vertices numbered from a
// pool small enough that numbers repeat; and the text of its curve file (empty: no file).
struct RandomPlan {
  std::vector<PlanLine> Lines;
  std::string CurveFile;
  bool WriteCurveFile = true;
};

void AddChain(const std::vector<std::int64_t>& vertices, bool backwards,
              std::vector<std::pair<std::int64_t, std::int64_t>>& edges) {
  if (vertices.size() < 2) return;
  edges.emplace_back(vertices[0], vertices[1]);
  if (backwards) {
    for (std::size_t i = vertices.size() - 1; i >= 2; --i) {
      edges.emplace_back(vertices[i - 1], vertices[i]);
    }
  } else {
    for (std::size_t i = 2; i < vertices.size(); ++i)
      edges.emplace_back(vertices[i - 1], vertices[i]);
  }
}

RandomPlan MakeRandomPlan(Random& random) {
  const std::int64_t vertexCount = 2 + random.Below(30);
  std::vector<std::int64_t> vertices(static_cast<std::size_t>(vertexCount));
  for (std::int64_t v = 0; v < vertexCount; ++v) vertices[static_cast<std::size_t>(v)] = v;

  std::vector<std::pair<std::int64_t, std::int64_t>> edges;
  switch (random.Below(4)) {
    case 0:  // one chain, often listed from its far end
      AddChain(vertices, random.Chance(0.7), edges);
      break;
    case 1: {  // a cycle, its lines in random order
      AddChain(vertices, false, edges);
      edges.emplace_back(vertices.back(), vertices.front());
      for (std::size_t i = edges.size() - 1; i > 1; --i) {
        std::swap(edges[i],
                  edges[1 + static_cast<std::size_t>(random.Below(static_cast<std::int64_t>(i)))]);
      }
      break;
    }
    case 2: {  // disconnected chains, one after the other or interleaved
      const std::size_t split = 1 + static_cast<std::size_t>(random.Below(vertexCount - 1));
      AddChain({vertices.begin(), vertices.begin() + static_cast<std::ptrdiff_t>(split)},
               random.Chance(0.5), edges);
      AddChain({vertices.begin() + static_cast<std::ptrdiff_t>(split), vertices.end()},
               random.Chance(0.5), edges);
      if (random.Chance(0.5) && edges.size() > 2) {
        std::reverse(edges.begin() + 1, edges.end());
      }
      break;
    }
    default: {  // random lines, self-loops and repeats included
      const std::int64_t lineCount = 1 + random.Below(40);
      for (std::int64_t i = 0; i < lineCount; ++i) {
        edges.emplace_back(random.Below(vertexCount), random.Below(vertexCount));
      }
      break;
    }
  }
  // Extra random lines on the shapes: shortcuts that give points a choice of records.
  const std::int64_t extra = random.Below(6);
  for (std::int64_t i = 0; i < extra; ++i) {
    edges.emplace_back(random.Below(vertexCount), random.Below(vertexCount));
  }

  // Point numbers: plan points and PSM keys; a small pool makes some vertices share a number.
  const bool repeatNumbers = random.Chance(0.3);
  std::vector<std::int32_t> numbers(static_cast<std::size_t>(vertexCount));
  for (std::int64_t v = 0; v < vertexCount; ++v) {
    const std::int64_t n =
        repeatNumbers ? random.Below(std::max<std::int64_t>(2, vertexCount / 2)) : v;
    numbers[static_cast<std::size_t>(v)] =
        static_cast<std::int32_t>(n % 3 == 0 ? 66280000 + n : 1 + n);
  }

  RandomPlan plan;
  plan.WriteCurveFile = !random.Chance(0.1);
  for (const auto& [a, b] : edges) {
    PlanLine line;
    const bool flip = random.Chance(0.3);
    line.FromPoint = numbers[static_cast<std::size_t>(flip ? b : a)];
    line.ToPoint = numbers[static_cast<std::size_t>(flip ? a : b)];
    line.Distance = 0.001 + random.Unit() * 500.0;
    const double kind = random.Unit();
    if (kind < 0.60) {
      line.Bearing = RandomDms(random);
    } else if (kind < 0.66) {
      line.Bearing = 999.0;
    } else if (kind < 0.70) {
      line.Bearing = 360.0 + random.Unit() * 640.0;  // kept, never used
    } else if (kind < 0.73) {
      const double edgeValues[] = {0.0, 360.0, 1000.0, -10.3, 359.5959};
      line.Bearing = edgeValues[random.Below(5)];
    } else {
      // A curve: radius and arc; its record in the curve file in one of the forms, or none.
      const double radius = 5.0 + random.Unit() * 300.0;
      line.Bearing = 1000.0 + radius;
      line.Distance = random.Unit() * radius * 3.0;
      const double form = random.Unit();
      if (form < 0.12) {
        // no record for this curve
      } else {
        const bool listedReversed = random.Chance(0.4);
        std::string record = FormatNumber(listedReversed ? line.ToPoint : line.FromPoint, "0") +
                             "," +
                             FormatNumber(listedReversed ? line.FromPoint : line.ToPoint, "0") +
                             "," + (random.Chance(0.5) ? "L" : "R") + ",";
        if (form < 0.45) {
          record += FormatNumber(RandomDms(random), "0.0000") + "," +
                    FormatNumber(random.Unit() * 300.0, "0.000");
        } else if (form < 0.80) {
          record += FormatNumber(RandomDms(random), "0.0000") + ",999";
        } else if (form < 0.90) {
          record += "999," + FormatNumber(RandomDms(random), "0.0000");
        } else {
          record += "999,999";
        }
        plan.CurveFile += record + "\r\n";
        if (random.Chance(0.05)) plan.CurveFile += "1,2,L\r\n";  // a short line: a message
      }
    }
    plan.Lines.push_back(line);
  }
  return plan;
}

bool SameBits(double a, double b) {
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

TEST(PlanPointsProperty, WorklistGivesThePassesTablesBitForBit) {
  constexpr int kPlans = 3000;
  TempFolder folder;
  const std::string planIdentifier = folder / "plan";
  Random random(20240611);
  std::int64_t mostPasses = 0;
  int plansWithUnplacedPoints = 0;
  int plansWithMessages = 0;
  int plansWithPointsPlacedByCurves = 0;
  for (int n = 0; n < kPlans; ++n) {
    const RandomPlan generated = MakeRandomPlan(random);
    std::filesystem::remove(planIdentifier + ".cve");
    if (generated.WriteCurveFile) folder.Write("plan.cve", generated.CurveFile);

    Plan byWorklist;
    byWorklist.PlanLines = generated.Lines;
    MarkLinesInUse(byWorklist);
    Plan byPasses = byWorklist;
    RecordingSink worklistSink;
    RecordingSink passesSink;
    BuildPlanPoints(byWorklist, planIdentifier, worklistSink);
    const std::int64_t passes = BuildPlanPointsByPasses(byPasses, planIdentifier, passesSink);

    ASSERT_EQ(byWorklist.PlanPointCount, byPasses.PlanPointCount) << "plan " << n;
    ASSERT_EQ(byWorklist.PlanPoints.size(), byPasses.PlanPoints.size()) << "plan " << n;
    for (std::size_t i = 0; i < byWorklist.PlanPoints.size(); ++i) {
      const PlanPoint& a = byWorklist.PlanPoints[i];
      const PlanPoint& b = byPasses.PlanPoints[i];
      ASSERT_TRUE(a.PointNo == b.PointNo && a.Solved == b.Solved && SameBits(a.East, b.East) &&
                  SameBits(a.North, b.North))
          << "plan " << n << ", entry " << i << ": point " << a.PointNo << " (" << a.East << ", "
          << a.North << ", " << a.Solved << ") by worklist, point " << b.PointNo << " (" << b.East
          << ", " << b.North << ", " << b.Solved << ") by passes";
    }
    ASSERT_EQ(worklistSink.Entries(), passesSink.Entries()) << "plan " << n;

    mostPasses = std::max(mostPasses, passes);
    bool unplaced = false;
    for (std::int64_t i = 0; i <= byPasses.PlanPointCount; ++i) {
      unplaced = unplaced || byPasses.PlanPoints[static_cast<std::size_t>(i)].Solved == 0;
    }
    plansWithUnplacedPoints += unplaced ? 1 : 0;
    plansWithMessages += passesSink.Entries().empty() ? 0 : 1;
    // A placed point that no straight usable line touches was placed by a curve's chord.
    std::vector<bool> straight(byPasses.PlanPoints.size(), false);
    for (const PlanLine& line : byPasses.PlanLines) {
      if (line.InUse <= 0 || line.Bearing > 360.0) continue;
      straight[static_cast<std::size_t>(FindPlanPoint(byPasses, line.FromPoint))] = true;
      straight[static_cast<std::size_t>(FindPlanPoint(byPasses, line.ToPoint))] = true;
    }
    bool placedByCurve = false;
    for (std::int64_t i = 1; i <= byPasses.PlanPointCount; ++i) {
      const std::size_t entry = static_cast<std::size_t>(i);
      placedByCurve = placedByCurve || (byPasses.PlanPoints[entry].Solved != 0 && !straight[entry]);
    }
    plansWithPointsPlacedByCurves += placedByCurve ? 1 : 0;
  }
  // The plans exercise what the worklist must get right: many passes, points left unplaced,
  // curves, and the curve file's messages.
  EXPECT_GE(mostPasses, 10);
  EXPECT_GE(plansWithUnplacedPoints, kPlans / 10);
  EXPECT_GE(plansWithMessages, kPlans / 20);
  EXPECT_GE(plansWithPointsPlacedByCurves, kPlans / 10);
}

}  // namespace
}  // namespace modKestralMGA
