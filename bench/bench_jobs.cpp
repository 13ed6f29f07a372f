// The three large jobs of the batch program, each as a whole process measured by its CPU time
// (user and system, from wait4), beside its floor (kestral_floor: the same input read and split,
// the joins' bare arithmetic, as many bytes written) and, when KESTRAL_BEFORE_CLI names another
// build of the program, beside that build on the same data in the same run.
//   job 0: a 20,000-line plan with 300 PSMs (44,850 joins) against the 300 marks, result lines
//          to standard output;
//   job 1: the statewide list of 200,000 marks (19 MB), the plan with 60 PSMs and its joins
//          report;
//   job 2: job 0 with the full joins report (16 MB).
// Each iteration's time is the child's CPU time (its peak memory is taken from outside, by
// bench/run_benchmarks with /usr/bin/time: a child's largest resident size counts its parent's).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchFolder.h"

namespace modKestralMGA {
namespace {

// The jobs' input files, written at the first use and kept for the run.
struct JobData {
  JobData();
  BenchFolder Folder;
  std::string Marks;
  std::string Psm300;
  std::array<std::string, 2> Plans;  // p60, p300 (identifiers)
  std::array<std::string, 2> Xy;     // their PSMs' coordinates
};

JobData::JobData() {
  const std::vector<GeneratedMark>& marks = Statewide().Marks;
  Marks = Folder.Write("marks.csv", MarkDetailsText(kStatewideMarkCount));
  Psm300 =
      Folder.Write("psm300.csv", ToMarkDetailsCsv(ComparisonPsms(marks, 300), /*titleLine=*/true));
  const std::array<std::size_t, 2> psms = {60, 300};
  const std::array<std::string, 2> names = {"p60", "p300"};
  for (std::size_t p = 0; p < psms.size(); ++p) {
    const std::string& name = names[p];
    const GeneratedPlan plan = ComparisonPlan(marks, psms[p]);
    Folder.Write(name + ".lns", plan.Lines);
    Folder.Write(name + ".cve", plan.Curves);
    Plans[p] = Folder.Path() + "/" + name;
    std::string xy;
    for (const GeneratedMark& mark : ComparisonPsms(marks, psms[p])) {
      xy.append(std::to_string(mark.East)).append(1, ' ');
      xy.append(std::to_string(mark.North)).append(1, '\n');
    }
    Xy[p] = Folder.Write(name + ".xy", xy);
  }
}

const JobData& Data() {
  static const JobData kData;
  return kData;
}

struct Run {
  double CpuSeconds = 0.0;
  int Status = -1;
};

// Runs program with args, standard output to out (a file path), standard error to /dev/null.
// posix_spawn shares the benchmark's memory until the exec, so the child is not charged for
// copying or tearing down the benchmark's own pages.
Run RunProcess(const std::vector<std::string>& args, const std::string& out) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  Run run;
  if (spawned != 0) return run;
  int status = -1;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  run.CpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::size_t FileSize(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// The job's command for the batch program at path.
std::vector<std::string> JobCommand(int job, const std::string& program,
                                    const std::string& report) {
  const JobData& data = Data();
  std::vector<std::string> args = {program,       "compare",
                                   "--max-order", "6",
                                   "--marks",     job == 1 ? data.Marks : data.Psm300,
                                   "--plan",      job == 1 ? data.Plans[0] : data.Plans[1]};
  if (job != 0) args.insert(args.end(), {"--report", report});
  if (job == 2) args.emplace_back("--full-joins");
  return args;
}

// The floor's command for the job: the inputs the program reads, the joins of its PSMs, and the
// bytes the program wrote (measured on a run of the program).
std::vector<std::string> FloorCommand(int job, const std::string& report) {
  const JobData& data = Data();
  const std::string plan = job == 1 ? data.Plans[0] : data.Plans[1];
  const std::string stdoutPath = data.Folder.Path() + "/sizes.out";
  const std::string sizesReport = data.Folder.Path() + "/sizes-report.txt";
  RunProcess(JobCommand(job, KESTRAL_CLI_PROGRAM, sizesReport), stdoutPath);
  std::vector<std::string> args = {KESTRAL_FLOOR_PROGRAM,
                                   "--read",
                                   job == 1 ? data.Marks : data.Psm300,
                                   "--read",
                                   plan + ".lns",
                                   "--read",
                                   plan + ".cve",
                                   "--joins",
                                   job == 1 ? data.Xy[0] : data.Xy[1],
                                   "--stdout",
                                   std::to_string(FileSize(stdoutPath))};
  if (job != 0) {
    args.insert(args.end(), {"--write", report, std::to_string(FileSize(sizesReport))});
  }
  return args;
}

// state.range(0): the job; state.range(1): 0 the program, 1 its floor, 2 the program named by
// KESTRAL_BEFORE_CLI.
void BM_Job(benchmark::State& state) {
  const int job = static_cast<int>(state.range(0));
  const int variant = static_cast<int>(state.range(1));
  const char* before = std::getenv("KESTRAL_BEFORE_CLI");
  if (variant == 2 && (before == nullptr || *before == '\0')) {
    state.SkipWithError("KESTRAL_BEFORE_CLI not set");
    return;
  }
  const std::string report = Data().Folder.Path() + "/report.txt";
  const std::string out = Data().Folder.Path() + "/job.out";
  const std::vector<std::string> command =
      variant == 1 ? FloorCommand(job, report)
                   : JobCommand(job, variant == 2 ? before : KESTRAL_CLI_PROGRAM, report);
  for (auto _ : state) {
    const Run run = RunProcess(command, out);
    // Status 1 (a join not acceptable) is a result.
    if (run.Status < 0 || run.Status > 1) {
      state.SkipWithError("the job failed");
      break;
    }
    state.SetIterationTime(run.CpuSeconds);
  }
}
BENCHMARK(BM_Job)
    ->ArgNames({"job", "variant"})
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace
}  // namespace modKestralMGA
