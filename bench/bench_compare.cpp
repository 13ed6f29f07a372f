// The comparison of a plan of 20,000 lines whose 60, 300 or 1,000 PSMs are marks of the
// statewide list of 200,000 (1,770 to 499,500 joins): the Compare command from reading the plan
// to the last result line (plan build, mark index, ComparePSMJoins into a list that keeps the
// lines), ComparePSMJoins alone once plan and index are built, and the diagnosis of its
// judgements; beside the floors, the bare arithmetic of the same joins and the plan's files read
// and split.
#include <benchmark/benchmark.h>

#include <cmath>

#include <cstdint>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchFolder.h"
#include "BenchSettings.h"
#include "Floors.h"
#include "compare/ComparePSMJoins.h"
#include "diagnosis/Diagnosis.h"
#include "markjoins/MarkIndex.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {
namespace {

// The results list of the batch program: every line kept.
class KeptLines final : public ResultList {
 public:
  void Clear() override { Lines.clear(); }
  void AddLine(std::string line) override { Lines.push_back(std::move(line)); }
  std::vector<std::string> Lines;
};

std::size_t Psms(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

// The statewide list and the comparison plan of `psms` PSMs in files, with what a comparison
// needs besides.
struct Comparison {
  explicit Comparison(std::size_t psms)
      : Generated(ComparisonPlan(Statewide().Marks, psms)),
        Files(Generated.Lines, Generated.Curves),
        Settings(Files.Identifier(), Statewide().AverageHeight) {}

  // Reads the plan and builds its points, before the timing; false (the benchmark skipped) when
  // the plan is refused.
  bool BuildPlan(benchmark::State& state) {
    if (!ReadPlanForCompare(Files.Identifier(), Built, Sink)) {
      state.SkipWithError("the generated plan was refused");
      return false;
    }
    BuildPlanPoints(Built, Files.Identifier(), Sink);
    return true;
  }

  // The counters of the comparison's last run.
  void Report(benchmark::State& state, std::int64_t notAcceptable) const {
    std::int64_t psms = 0;
    for (std::int64_t i = 0; i <= Built.PlanPointCount; ++i) {
      psms += Built.PlanPoints[static_cast<std::size_t>(i)].PointNo > kHighestOrdinaryPoint ? 1 : 0;
    }
    state.counters["lines"] = static_cast<double>(Built.PlanLines.size());
    state.counters["joins"] = static_cast<double>(psms * (psms - 1) / 2);
    state.counters["not_acceptable"] = static_cast<double>(notAcceptable);
    state.counters["result_lines"] = static_cast<double>(Results.Lines.size());
  }

  GeneratedPlan Generated;
  PlanFiles Files;
  BenchSettings Settings;
  CountingSink Sink;
  NoPendingEvents Events;
  Plan Built;
  KeptLines Results;
};

// From reading the plan's lines to the last result line, with a mark index that builds itself at
// the first join, as the batch program runs it after opening the marks.
void BM_Compare(benchmark::State& state) {
  Comparison c(Psms(state));
  std::int64_t notAcceptable = 0;
  for (auto _ : state) {
    c.Built = Plan{};
    if (!ReadPlanForCompare(c.Files.Identifier(), c.Built, c.Sink)) {
      state.SkipWithError("the generated plan was refused");
      return;
    }
    MarkIndex index(Statewide().List);
    JoinContext context{index, c.Settings};
    notAcceptable = BuildAndComparePlan(c.Files.Identifier(), c.Built, context, c.Settings,
                                        c.Results, c.Sink, c.Events)
                        .value_or(-1);
  }
  if (notAcceptable < 0) state.SkipWithError("the comparison failed");
  c.Report(state, notAcceptable);
}
BENCHMARK(BM_Compare)->Arg(60)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// ComparePSMJoins alone, plan built and mark index built before the timing.
void BM_CompareIndexed(benchmark::State& state) {
  Comparison c(Psms(state));
  if (!c.BuildPlan(state)) return;
  MarkIndex index(Statewide().List);
  index.Find(0);
  JoinContext context{index, c.Settings};
  std::int64_t notAcceptable = 0;
  for (auto _ : state) {
    notAcceptable = ComparePSMJoins(c.Built, context, c.Settings, c.Results, c.Sink, c.Events);
  }
  c.Report(state, notAcceptable);
}
BENCHMARK(BM_CompareIndexed)->Arg(60)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// The diagnosis of the comparison that BM_CompareIndexed times, from its kept judgements: per-mark
// tallies, culprits, the fit, the verdicts after it, renumbering and the plan's checks. It must
// take less than the comparison itself.
void BM_Diagnose(benchmark::State& state) {
  Comparison c(Psms(state));
  if (!c.BuildPlan(state)) return;
  MarkIndex index(Statewide().List);
  JoinContext context{index, c.Settings};
  JudgementCollector judgements;
  const std::int64_t notAcceptable =
      ComparePSMJoins(c.Built, context, c.Settings, c.Results, c.Sink, c.Events, &judgements);
  std::size_t suspects = 0;
  for (auto _ : state) {
    const Diagnosis diagnosis =
        Diagnose(c.Built, index, judgements.Joins(), c.Settings.Criterion());
    suspects = diagnosis.Suspects.size();
    benchmark::DoNotOptimize(diagnosis.Summary.Judged);
  }
  c.Report(state, notAcceptable);
  state.counters["suspects"] = static_cast<double>(suspects);
}
BENCHMARK(BM_Diagnose)->Arg(60)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// The floors: the bare arithmetic of every join between the plan's PSMs, and the plan's files
// read and split. Beside the arithmetic's floor, the same joins with the program's iterated
// foot-point latitude.
template <double (*Arithmetic)(const std::vector<double>&, const std::vector<double>&)>
void JoinArithmetic(benchmark::State& state) {
  std::vector<double> east;
  std::vector<double> north;
  for (const GeneratedMark& mark : ComparisonPsms(Statewide().Marks, Psms(state))) {
    east.push_back(mark.East);
    north.push_back(mark.North);
  }
  for (auto _ : state) benchmark::DoNotOptimize(Arithmetic(east, north));
  const double joins = static_cast<double>(east.size() * (east.size() - 1) / 2);
  if (std::abs(JoinArithmeticFloor(east, north) - JoinArithmeticIterated(east, north)) >
      1e-3 * joins) {
    state.SkipWithError("the floor's joins differ from the program's");
  }
}

void BM_FloorJoinArithmetic(benchmark::State& state) {
  JoinArithmetic<JoinArithmeticFloor>(state);
}
BENCHMARK(BM_FloorJoinArithmetic)->Arg(60)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_JoinArithmeticIterated(benchmark::State& state) {
  JoinArithmetic<JoinArithmeticIterated>(state);
}
BENCHMARK(BM_JoinArithmeticIterated)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_FloorReadSplitComparisonPlan(benchmark::State& state) {
  const GeneratedPlan generated = ComparisonPlan(Statewide().Marks, Psms(state));
  const PlanFiles files(generated.Lines, generated.Curves);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadAndSplitFloor(files.Lines()) + ReadAndSplitFloor(files.Curves()));
  }
}
BENCHMARK(BM_FloorReadSplitComparisonPlan)
    ->Arg(60)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
