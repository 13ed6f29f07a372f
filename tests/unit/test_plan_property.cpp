// The worklist that places plan points against the direct passes, on 3000 random plans: chains
// listed backwards, cycles, curves in every curve-file form, 999 lines, bearings between 360 and
// 1000, disconnected parts, repeated point numbers. The tables must be the same bit for bit, and
// the curve file's messages the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "PlanPasses.h"
#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/NumberFormat.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;
using Edges = std::vector<std::pair<std::int64_t, std::int64_t>>;

// splitmix64: the same sequence on every platform and library version.
struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
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
  double Dms() {
    return static_cast<double>(Below(360)) + static_cast<double>(Below(60)) / 100.0 +
           static_cast<double>(Below(60)) / 10000.0;
  }
};

// Lines first-first+1, then the rest of the chain up to end - 1 in order or from its far end.
void AddChain(std::int64_t first, std::int64_t end, bool backwards, Edges& edges) {
  if (end - first < 2) return;
  edges.emplace_back(first, first + 1);
  for (std::int64_t k = 2; k < end - first; ++k) {
    const std::int64_t i = backwards ? end + 1 - k : first + k;
    edges.emplace_back(i - 1, i);
  }
}

// A curve on `line`: radius and arc; its record in the curve file in one of the forms (chord
// given, tangent bearing, bearing as value 5, neither), or none; now and then a short line.
std::string CurveRecord(Random& random, PlanLine& line) {
  const double radius = 5.0 + random.Unit() * 300.0;
  line.Bearing = 1000.0 + radius;
  line.Distance = random.Unit() * radius * 3.0;
  const double form = random.Unit();
  if (form < 0.12) return "";
  const bool reversed = random.Chance(0.4);
  std::string record = FormatNumber(reversed ? line.ToPoint : line.FromPoint, "0") + "," +
                       FormatNumber(reversed ? line.FromPoint : line.ToPoint, "0") + "," +
                       (random.Chance(0.5) ? "L" : "R") + ",";
  const std::string bearing = form < 0.90 ? FormatNumber(random.Dms(), "0.0000") : "";
  if (form < 0.45) {
    record += bearing + "," + FormatNumber(random.Unit() * 300.0, "0.000");
  } else {
    record += form < 0.80 ? bearing + ",999" : form < 0.90 ? "999," + bearing : "999,999";
  }
  return record + "\r\n" + (random.Chance(0.05) ? "1,2,L\r\n" : "");  // a short line: a message
}

// A random plan: lines over "vertices" 0..n-1 in one of several shapes, vertices numbered from a
// pool small enough that numbers repeat; its curve file plan.cve in folder written, or now and
// then none.
std::vector<PlanLine> MakeRandomPlan(Random& random, TempFolder& folder) {
  const std::int64_t n = 2 + random.Below(30);
  Edges edges;
  switch (random.Below(4)) {
    case 0:  // one chain, often listed from its far end
      AddChain(0, n, random.Chance(0.7), edges);
      break;
    case 1:  // a cycle, its lines after the first in random order
      AddChain(0, n, false, edges);
      edges.emplace_back(n - 1, 0);
      for (std::size_t i = edges.size() - 1; i > 1; --i) {
        std::swap(edges[i],
                  edges[1 + static_cast<std::size_t>(random.Below(static_cast<std::int64_t>(i)))]);
      }
      break;
    case 2: {  // disconnected chains, one after the other or interleaved
      const std::int64_t split = 1 + random.Below(n - 1);
      AddChain(0, split, random.Chance(0.5), edges);
      AddChain(split, n, random.Chance(0.5), edges);
      if (random.Chance(0.5) && edges.size() > 2) std::reverse(edges.begin() + 1, edges.end());
      break;
    }
    default:  // random lines, self-loops and repeats included
      for (std::int64_t i = 1 + random.Below(40); i > 0; --i)
        edges.emplace_back(random.Below(n), random.Below(n));
  }
  // Extra random lines on the shapes: shortcuts that give points a choice of records.
  for (std::int64_t i = random.Below(6); i > 0; --i)
    edges.emplace_back(random.Below(n), random.Below(n));
  // Point numbers: plan points and PSM keys; a small pool makes some vertices share a number.
  const bool repeatNumbers = random.Chance(0.3);
  std::vector<std::int32_t> numbers;
  for (std::int64_t v = 0; v < n; ++v) {
    const std::int64_t k = repeatNumbers ? random.Below(std::max<std::int64_t>(2, n / 2)) : v;
    numbers.push_back(static_cast<std::int32_t>(k % 3 == 0 ? 66280000 + k : 1 + k));
  }
  const bool noFile = random.Chance(0.1);
  std::vector<PlanLine> lines;
  std::string curveFile;
  const double edgeBearings[] = {0.0, 360.0, 1000.0, -10.3, 359.5959};
  for (const auto& [a, b] : edges) {
    const bool flip = random.Chance(0.3);
    PlanLine line{numbers[static_cast<std::size_t>(flip ? b : a)],
                  numbers[static_cast<std::size_t>(flip ? a : b)], 0.0, 0.0, 0};
    line.Distance = 0.001 + random.Unit() * 500.0;
    const double kind = random.Unit();  // 360 to 1000: kept, never used
    if (kind >= 0.73)
      curveFile += CurveRecord(random, line);
    else
      line.Bearing = kind < 0.60   ? random.Dms()
                     : kind < 0.66 ? 999.0
                     : kind < 0.70 ? 360.0 + random.Unit() * 640.0
                                   : edgeBearings[random.Below(5)];
    lines.push_back(line);
  }
  std::filesystem::remove(folder / "plan.cve");
  if (!noFile) folder.Write("plan.cve", curveFile);
  return lines;
}

TEST(PlanPointsProperty, WorklistGivesThePassesTablesBitForBit) {
  constexpr int kPlans = 3000;
  TempFolder folder;
  const std::string planIdentifier = folder / "plan";
  Random random{20240611};
  std::int64_t mostPasses = 0;
  int withUnplaced = 0, withMessages = 0;
  for (int n = 0; n < kPlans; ++n) {
    Plan byWorklist;
    byWorklist.PlanLines = MakeRandomPlan(random, folder);
    MarkLinesInUse(byWorklist);
    Plan byPasses = byWorklist;
    RecordingSink worklistSink, passesSink;
    BuildPlanPoints(byWorklist, planIdentifier, worklistSink);
    mostPasses =
        std::max(mostPasses, BuildPlanPointsByPasses(byPasses, planIdentifier, passesSink));
    ASSERT_EQ(byWorklist.PlanPointCount, byPasses.PlanPointCount) << "plan " << n;
    ASSERT_EQ(byWorklist.PlanPoints.size(), byPasses.PlanPoints.size()) << "plan " << n;
    for (std::size_t i = 0; i < byWorklist.PlanPoints.size(); ++i) {
      const PlanPoint &a = byWorklist.PlanPoints[i], &b = byPasses.PlanPoints[i];
      ASSERT_TRUE(a.PointNo == b.PointNo && a.Solved == b.Solved &&
                  std::bit_cast<std::uint64_t>(a.East) == std::bit_cast<std::uint64_t>(b.East) &&
                  std::bit_cast<std::uint64_t>(a.North) == std::bit_cast<std::uint64_t>(b.North))
          << "plan " << n << ", entry " << i << ": point " << a.PointNo << " by worklist, "
          << b.PointNo << " by passes";
    }
    ASSERT_EQ(worklistSink.Entries(), passesSink.Entries()) << "plan " << n;
    withMessages += passesSink.Entries().empty() ? 0 : 1;
    const auto inUse = byPasses.PlanPoints.begin() + (byPasses.PlanPointCount + 1);
    withUnplaced += std::any_of(byPasses.PlanPoints.begin(), inUse,
                                [](const PlanPoint& point) { return point.Solved == 0; });
  }
  // The plans exercise what the worklist must get right: many passes, points left unplaced,
  // and the curve file's messages.
  EXPECT_GE(mostPasses, 10);
  EXPECT_GE(withUnplaced, kPlans / 10);
  EXPECT_GE(withMessages, kPlans / 20);
}

}  // namespace
}  // namespace modKestralMGA
