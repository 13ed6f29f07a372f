// The batch program end to end, in-process (RunCli): opening the statewide Mark Details file of
// 200,000 marks for a plan of one line, and the comparison of the 20,000-line plan with 300 PSMs
// against it (44,850 joins), its result lines written to standard output.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchFolder.h"
#include "cli/RunCli.h"

namespace modKestralMGA {
namespace {

// RunCli compare with the statewide list and the plan, every order compared.
void RunCompare(benchmark::State& state, const GeneratedPlan& generated) {
  const BenchFolder folder;
  const std::string marks = folder.Write("marks.csv", MarkDetailsText(kStatewideMarkCount));
  const PlanFiles plan(generated.Lines, generated.Curves);
  const std::vector<std::string> args = {"compare",         "--marks",     marks, "--plan",
                                         plan.Identifier(), "--max-order", "6"};
  int status = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    status = RunCli(args, out, err);
    bytes = out.str().size();
  }
  if (status > 1) state.SkipWithError("the batch program failed");
  state.counters["stdout_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_BatchOpenMarks(benchmark::State& state) {
  RunCompare(state, OneLinePlan(Statewide().Marks));
}
BENCHMARK(BM_BatchOpenMarks)->Unit(benchmark::kMillisecond);

void BM_BatchCompare(benchmark::State& state) {
  RunCompare(state, ComparisonPlan(Statewide().Marks, static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_BatchCompare)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
