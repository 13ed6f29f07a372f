// The joins report of a 300-PSM plan with full join details (44,850 full blocks, about 19 MB)
// against the statewide list of 200,000 marks: composed in memory, and saved to a file.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchFolder.h"
#include "BenchSettings.h"
#include "common/ColumnWriter.h"
#include "geodesy/Keys.h"
#include "reports/JoinsReport.h"

namespace modKestralMGA {
namespace {

constexpr std::size_t kPlanPsms = 300;
constexpr const char* kDate = "Sunday, December 06, 2026";

// A plan whose points are the comparison's 300 PSMs, placed in the plan's frame at their grid
// coordinates less those of the first (the comparison's plan, without its other points).
struct ReportData {
  const StatewideList& statewide = Statewide();
  Plan plan;
  BenchSettings settings{"/plans/DP300", statewide.AverageHeight};
  MarkIndex index{statewide.List};
  JoinContext context{index, settings};

  ReportData() {
    const std::vector<GeneratedMark> psms = ComparisonPsms(statewide.Marks, kPlanPsms);
    for (const GeneratedMark& mark : psms) {
      plan.PlanPoints.push_back({PsmKey(mark.PsmNumber()), mark.East - psms[0].East + 50000.0,
                                 mark.North - psms[0].North + 50000.0, 1});
    }
    plan.PlanPointCount = static_cast<std::int64_t>(plan.PlanPoints.size()) - 1;
    index.Find(0);
  }
};

void BM_ComposeJoinsReport(benchmark::State& state) {
  ReportData data;
  CountingSink sink;
  std::size_t bytes = 0;
  for (auto _ : state) {
    TextColumnWriter out;
    WriteJoinsReport(ReportForm::Saved, data.plan, data.context, data.settings, kDate, out, sink);
    bytes = out.Bytes().size();
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ComposeJoinsReport)->Unit(benchmark::kMillisecond);

void BM_SaveJoinsReport(benchmark::State& state) {
  ReportData data;
  CountingSink sink;
  const BenchFolder folder;
  const std::string path = folder.Path() + "/report.txt";
  for (auto _ : state) {
    if (!SaveJoinsReport(path, data.plan, data.context, data.settings, kDate, sink)) {
      state.SkipWithError("the report was not saved");
      break;
    }
  }
}
BENCHMARK(BM_SaveJoinsReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
