// The geodetic core: building the mark index, one MGA join against lists of 1,000 to 200,000
// marks through the index and by the direct scan of the list, and the two series on their own.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "BenchData.h"
#include "DirectJoins.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/Keys.h"
#include "geodesy/ScaleFactor.h"
#include "markjoins/MarkJoins.h"

namespace modKestralMGA {
namespace {

constexpr std::uint64_t kSeed = kMarksSeed;
constexpr std::size_t kPairs = 1024;

// Pairs of keys of neighbouring marks (same map sheet), as a plan's joins are.
std::vector<std::pair<std::int32_t, std::int32_t>> NeighbourPairs(
    const std::vector<GeneratedMark>& marks) {
  std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
  SplitMix64 random(kSeed + 1);
  const auto last = static_cast<std::int64_t>(marks.size()) - 2;
  for (std::size_t i = 0; i < kPairs; ++i) {
    const auto at = static_cast<std::size_t>(random.Between(0, last));
    pairs.emplace_back(PsmKey(marks[at].PsmNumber()), PsmKey(marks[at + 1].PsmNumber()));
  }
  return pairs;
}

void BM_MarkIndexBuild(benchmark::State& state) {
  const auto rows = static_cast<std::size_t>(state.range(0));
  const MarkList list = ToMarkList(GenerateMarks(rows, kSeed));
  const std::int32_t key = PsmKey(list.Cell(rows / 2, kColPsmNo));
  for (auto _ : state) {
    MarkIndex index(list);
    benchmark::DoNotOptimize(index.Find(key));  // the first lookup builds the index
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MarkIndexBuild)->Arg(1000)->Arg(200000)->Unit(benchmark::kMillisecond);

// One join after another between neighbouring marks, through the index (built before the
// timing) or by scanning the list at every join.
template <bool kByScan>
void Joins(benchmark::State& state) {
  const std::vector<GeneratedMark> marks =
      GenerateMarks(static_cast<std::size_t>(state.range(0)), kSeed);
  const MarkList list = ToMarkList(marks);
  const auto pairs = NeighbourPairs(marks);
  MarkIndex index(list);
  // Every generated order (1 to 6) passes, so that every join is computed in full.
  const FixedJoinSettings settings("6", "250.000");
  JoinContext context{index, settings};
  index.Find(pairs[0].first);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [key1, key2] = pairs[i++ % pairs.size()];
    JoinResult join;
    if constexpr (kByScan) {
      join = CombinedScaleFactorByScan(list, settings, key1, key2);
    } else {
      join = CombinedScaleFactor(context, key1, key2);
    }
    benchmark::DoNotOptimize(join.Distance);
    benchmark::DoNotOptimize(join.Csf);
  }
}

void BM_CombinedScaleFactor(benchmark::State& state) {
  Joins<false>(state);
}
BENCHMARK(BM_CombinedScaleFactor)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(200000)
    ->Unit(benchmark::kMicrosecond);

void BM_CombinedScaleFactorByScan(benchmark::State& state) {
  Joins<true>(state);
}
BENCHMARK(BM_CombinedScaleFactorByScan)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(200000)
    ->Unit(benchmark::kMicrosecond);

// Points across the sweep of MGA coordinates.
std::vector<std::pair<double, double>> SweepPoints() {
  std::vector<std::pair<double, double>> points;
  SplitMix64 random(kSeed + 2);
  for (std::size_t i = 0; i < kPairs; ++i) {
    points.emplace_back(random.Uniform(200000.0, 800000.0), random.Uniform(5500000.0, 8900000.0));
  }
  return points;
}

void BM_GridToLatitude(benchmark::State& state) {
  const auto points = SweepPoints();
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [east, north] = points[i++ % points.size()];
    benchmark::DoNotOptimize(GridToLatitude(east, north, DistanceCalculationMode::MGA94_2020));
  }
}
BENCHMARK(BM_GridToLatitude)->Unit(benchmark::kNanosecond);

void BM_LineScaleFactor(benchmark::State& state) {
  // 1 km lines eastwards, at the latitude of their start.
  std::vector<std::pair<double, double>> lines;
  for (const auto& [east, north] : SweepPoints()) {
    lines.emplace_back(east, GridToLatitude(east, north, DistanceCalculationMode::MGA94_2020));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [east, latitude] = lines[i++ % lines.size()];
    benchmark::DoNotOptimize(
        LineScaleFactor(east, east + 1000.0, latitude, DistanceCalculationMode::MGA94_2020));
  }
}
BENCHMARK(BM_LineScaleFactor)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace modKestralMGA
