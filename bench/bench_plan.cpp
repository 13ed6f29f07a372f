// Plan files: a large plan's lines and curve files read and its points placed, the worst line
// order for placing points pass by pass, and the direct passes beside the worklist for the ratio.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "DataGenerator.h"
#include "PlanPasses.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

constexpr std::uint64_t kSeed = 20240611;

class CountingSink final : public MessageSink {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override { ++Count; }
  std::int64_t Count = 0;
};

// A generated plan's files in a folder of their own, removed at the end.
class PlanFiles {
 public:
  explicit PlanFiles(const GeneratedPlan& plan) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestral-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) m_folder = pattern;
    Write("plan.lns", plan.Lines);
    Write("plan.cve", plan.Curves);
  }
  ~PlanFiles() {
    std::error_code ignored;
    if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ignored);
  }
  PlanFiles(const PlanFiles&) = delete;
  PlanFiles& operator=(const PlanFiles&) = delete;
  std::string Identifier() const { return m_folder + "/plan"; }

 private:
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(m_folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string m_folder;
};

// A traverse of about `lines` lines, a tenth of them curves, 2% extra 999 lines.
PlanShape Traverse(std::size_t lines) {
  PlanShape shape;
  shape.OtherPoints = std::min<std::size_t>(4600, lines / 2);
  shape.PsmPoints = lines * 98 / 100 + 1 - shape.OtherPoints;
  shape.ShareOfCurves = 0.102;
  return shape;
}

// A chain of `lines` straight lines, its first line first and the others from the far end back.
PlanShape ChainFromFarEnd(std::size_t lines) {
  PlanShape shape;
  shape.OtherPoints = std::min<std::size_t>(4600, lines / 2);
  shape.PsmPoints = lines + 1 - shape.OtherPoints;
  shape.ShareOf999Lines = 0.0;
  shape.ShareOfCurves = 0.0;
  shape.LegsFromFarEnd = true;
  return shape;
}

std::int64_t CountCurves(const Plan& plan) {
  std::int64_t curves = 0;
  for (const PlanLine& line : plan.PlanLines) curves += line.Bearing > 1000.0 ? 1 : 0;
  return curves;
}

// What the Compare command does with a plan's files: check and read the lines file, mark the
// usable lines, place the points (reading the curve file when the first chord is needed).
void ReadAndPlace(benchmark::State& state, const PlanShape& shape) {
  const PlanFiles files(GeneratePlan(shape, kSeed));
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
  state.counters["lines"] = static_cast<double>(plan.PlanLines.size());
  state.counters["curves"] = static_cast<double>(CountCurves(plan));
  state.counters["points"] = static_cast<double>(plan.PlanPointCount + 1);
}

void BM_ReadAndPlaceTraverse(benchmark::State& state) {
  ReadAndPlace(state, Traverse(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ReadAndPlaceTraverse)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadAndPlaceChainFromFarEnd(benchmark::State& state) {
  ReadAndPlace(state, ChainFromFarEnd(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ReadAndPlaceChainFromFarEnd)->Arg(20000)->Unit(benchmark::kMillisecond);

// Placing only, from lines already read: the worklist (BuildPlanPoints) or the direct passes.
template <bool kByPasses>
void Place(benchmark::State& state, const PlanShape& shape) {
  const PlanFiles files(GeneratePlan(shape, kSeed));
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
  Place<false>(state, ChainFromFarEnd(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PlaceChainFromFarEnd)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond);

void BM_PlaceChainFromFarEndByPasses(benchmark::State& state) {
  Place<true>(state, ChainFromFarEnd(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PlaceChainFromFarEndByPasses)
    ->Arg(100)
    ->Arg(200)
    ->Arg(400)
    ->Unit(benchmark::kMicrosecond);

void BM_PlaceTraverse(benchmark::State& state) {
  Place<false>(state, Traverse(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PlaceTraverse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_PlaceTraverseByPasses(benchmark::State& state) {
  Place<true>(state, Traverse(static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_PlaceTraverseByPasses)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace modKestralMGA
