// Plan files: a plan's lines and curve files read and its points placed, for plans of 1,000 to
// 100,000 lines listed in traverse order and in the worst order for placing points pass by pass
// (a chain listed from its far end), each beside its floor (the same files' bytes read and split
// at commas and line ends); and the direct passes beside the worklist for the ratio.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "BenchData.h"
#include "BenchFolder.h"
#include "BenchSettings.h"
#include "Floors.h"
#include "PlanPasses.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

std::size_t Lines(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

std::int64_t CountCurves(const Plan& plan) {
  std::int64_t curves = 0;
  for (const PlanLine& line : plan.PlanLines) curves += line.Bearing > 1000.0 ? 1 : 0;
  return curves;
}

// What the Compare command does with a plan's files: check and read the lines file, mark the
// usable lines, place the points (reading the curve file when the first chord is needed).
void ReadAndPlace(benchmark::State& state, const PlanShape& shape) {
  const GeneratedPlan generated = GeneratePlan(shape, kPlanSeed);
  const PlanFiles files(generated.Lines, generated.Curves);
  CountingSink sink;
  Plan plan;
  for (auto _ : state) {
    plan = Plan{};
    LinesFileText text;
    if (ValidKESTRALfile(files.Identifier(), sink, text) < 1 ||
        LoadLines(files.Identifier(), text, sink, plan) != 1) {
      state.SkipWithError("the generated lines file was refused");
      return;
    }
    MarkLinesInUse(plan);
    BuildPlanPoints(plan, files.Identifier(), sink);
    benchmark::DoNotOptimize(plan.PlanPoints.data());
  }
  if (sink.Count > 0) state.SkipWithError("the generated plan gave messages");
  std::int64_t solved = 0;
  for (const PlanPoint& point : plan.PlanPoints) solved += point.Solved;
  state.counters["lines"] = static_cast<double>(plan.PlanLines.size());
  state.counters["curves"] = static_cast<double>(CountCurves(plan));
  state.counters["points"] = static_cast<double>(plan.PlanPointCount + 1);
  state.counters["unsolved"] = static_cast<double>(plan.PlanPointCount + 1 - solved);
}

// The floor of ReadAndPlace: both files read and split.
void ReadAndSplitPlan(benchmark::State& state, const PlanShape& shape) {
  const GeneratedPlan generated = GeneratePlan(shape, kPlanSeed);
  const PlanFiles files(generated.Lines, generated.Curves);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadAndSplitFloor(files.Lines()) + ReadAndSplitFloor(files.Curves()));
  }
}

void BM_PlanBuild(benchmark::State& state) {
  ReadAndPlace(state, TraverseShape(Lines(state)));
}
BENCHMARK(BM_PlanBuild)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FloorReadSplitPlan(benchmark::State& state) {
  ReadAndSplitPlan(state, TraverseShape(Lines(state)));
}
BENCHMARK(BM_FloorReadSplitPlan)->Arg(1000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PlanBuildWorstOrder(benchmark::State& state) {
  ReadAndPlace(state, ChainFromFarEndShape(Lines(state)));
}
BENCHMARK(BM_PlanBuildWorstOrder)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_FloorReadSplitPlanWorstOrder(benchmark::State& state) {
  ReadAndSplitPlan(state, ChainFromFarEndShape(Lines(state)));
}
BENCHMARK(BM_FloorReadSplitPlanWorstOrder)
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Placing only, from lines already read: the worklist (BuildPlanPoints) or the direct passes.
template <bool kByPasses>
void Place(benchmark::State& state, const PlanShape& shape) {
  const GeneratedPlan generated = GeneratePlan(shape, kPlanSeed);
  const PlanFiles files(generated.Lines, generated.Curves);
  CountingSink sink;
  Plan plan;
  if (LoadLines(files.Identifier(), sink, plan) != 1) {
    state.SkipWithError("the generated lines file was refused");
    return;
  }
  MarkLinesInUse(plan);
  std::int64_t passes = 0;
  for (auto _ : state) {
    if constexpr (kByPasses) {
      passes = BuildPlanPointsByPasses(plan, files.Identifier(), sink);
    } else {
      BuildPlanPoints(plan, files.Identifier(), sink);
    }
    benchmark::DoNotOptimize(plan.PlanPoints.data());
  }
  state.counters["lines"] = static_cast<double>(plan.PlanLines.size());
  if (kByPasses) state.counters["passes"] = static_cast<double>(passes);
}

void BM_PlaceChainFromFarEnd(benchmark::State& state) {
  Place<false>(state, ChainFromFarEndShape(Lines(state)));
}
BENCHMARK(BM_PlaceChainFromFarEnd)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_PlaceChainFromFarEndByPasses(benchmark::State& state) {
  Place<true>(state, ChainFromFarEndShape(Lines(state)));
}
BENCHMARK(BM_PlaceChainFromFarEndByPasses)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMicrosecond);

void BM_PlaceTraverse(benchmark::State& state) {
  Place<false>(state, TraverseShape(Lines(state)));
}
BENCHMARK(BM_PlaceTraverse)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);

void BM_PlaceTraverseByPasses(benchmark::State& state) {
  Place<true>(state, TraverseShape(Lines(state)));
}
BENCHMARK(BM_PlaceTraverseByPasses)->Arg(1000)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace modKestralMGA
