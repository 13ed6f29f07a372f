// The batch program end to end, in-process (RunCli): opening the statewide Mark Details file of
// 200,000 marks for a plan of one line, and the comparison of the 20,000-line plan with 300 PSMs
// against it (44,850 joins), its result lines written to standard output; and the batch command
// comparing copies of the example's plan against that list with the example's marks added, on
// one thread and on two. Then the built program's start: --version alone, and with the printing
// plug-in (Qt) loaded as --pdf and --diagram load it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
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

// The bytes of the example's file name.
std::string ExampleFile(const std::string& name) {
  std::ifstream in(std::string(KESTRAL_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// RunCli batch: state.range(0) copies of the example's plan against the statewide list of
// 200,000 marks followed by the example's marks (without their title line), on state.range(1)
// threads; the whole command, the list's reading included.
void BM_BatchPlans(benchmark::State& state) {
  const BenchFolder folder;
  std::string marks = MarkDetailsText(kStatewideMarkCount);
  const std::string example = ExampleFile("marks.csv");
  marks += example.substr(example.find('\n') + 1);
  std::vector<std::string> args = {"batch",
                                   "--marks",
                                   folder.Write("marks.csv", marks),
                                   "--jobs",
                                   std::to_string(state.range(1)),
                                   "--format",
                                   "csv"};
  const std::string lines = ExampleFile("plan.lns");
  const std::string curves = ExampleFile("plan.cve");
  for (std::int64_t plan = 0; plan < state.range(0); ++plan) {
    const std::string name = "plan" + std::to_string(plan);
    folder.Write(name + ".cve", curves);
    args.push_back(folder.Write(name + ".lns", lines));
  }
  int status = 0;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    status = RunCli(args, out, err);
  }
  if (status != 1) state.SkipWithError("the batch command did not compare every plan");
  state.counters["plans_per_s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchPlans)
    ->ArgNames({"plans", "jobs"})
    ->Args({250, 1})
    ->Args({1000, 1})
    ->Args({250, 2})
    ->Args({1000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The CPU time of the process's ended children so far, in seconds.
double ChildrenCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The built program started and ended by `kestralmga-cli --version`: alone (0), and with the
// printing plug-in loaded before its main (1, through LD_PRELOAD), which maps Qt's libraries and
// runs their start-up as --pdf and --diagram do. cpu_ms: the program's CPU time per start.
void BM_ProgramStart(benchmark::State& state) {
  const bool withPlugin = state.range(0) != 0;
  const double before = ChildrenCpuSeconds();
  for (auto _ : state) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(::open("/dev/null", O_WRONLY), 1);
      if (withPlugin) ::setenv("LD_PRELOAD", KESTRAL_PRINT_PLUGIN, 1);
      ::execl(KESTRAL_CLI_PROGRAM, KESTRAL_CLI_PROGRAM, "--version", nullptr);
      ::_exit(127);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not answer --version");
      break;
    }
  }
  state.counters["cpu_ms"] =
      (ChildrenCpuSeconds() - before) * 1e3 /
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}
BENCHMARK(BM_ProgramStart)
    ->ArgName("plugin")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace modKestralMGA
