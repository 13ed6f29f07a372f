// The joins report: composing and saving the report of a 300-PSM plan with full join details
// (44,850 full blocks, about 19 MB) against a list of 200,000 marks.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DataGenerator.h"
#include "common/ColumnWriter.h"
#include "geodesy/Keys.h"
#include "reports/JoinsReport.h"

namespace modKestralMGA {
namespace {

constexpr std::uint64_t kSeed = 20240601;
constexpr std::size_t kListMarks = 200000;
constexpr std::size_t kPlanPsms = 300;

// Every generated order (1 to 6) passes, so that every join is computed and shown in full.
class BenchReportSettings final : public ReportSettings {
 public:
  std::string MaxOrderText() const override { return "6"; }
  std::string AverageHeightText() const override { return "250.000"; }
  DistanceCalculationMode CalculationMode() const override {
    return DistanceCalculationMode::MGA94_2020;
  }
  std::string PlanIdentifier() const override { return "/plans/DP300"; }
  std::string AccuracyCriterionText() const override { return "Urban Areas"; }
  bool TwoPsms() const override { return false; }
  std::string Datum1Text() const override { return {}; }
  std::string Datum2Text() const override { return {}; }
  bool FullDetails() const override { return true; }
  bool PrintPsmList() const override { return false; }
  bool PrintFullJoins() const override { return true; }
};

// The list of marks, and a plan whose PSMs are kPlanPsms of them, placed in the plan's frame
// at their grid coordinates less those of the first.
struct ReportData {
  std::vector<GeneratedMark> marks = GenerateMarks(kListMarks, kSeed);
  MarkList list = ToMarkList(marks);
  Plan plan;
  BenchReportSettings settings;
  MarkIndex index{list};
  JoinContext context{index, settings};

  ReportData() {
    const GeneratedMark& origin = marks[kListMarks / 2];
    for (std::size_t i = 0; i < kPlanPsms; ++i) {
      const GeneratedMark& mark = marks[kListMarks / 2 + i];
      plan.PlanPoints.push_back({PsmKey(mark.PsmNumber()), mark.East - origin.East + 50000.0,
                                 mark.North - origin.North + 50000.0, 1});
    }
    plan.PlanPointCount = static_cast<std::int64_t>(plan.PlanPoints.size()) - 1;
  }
};

class NoMessages final : public MessageSink {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override {}
};

void BM_ComposeJoinsReport(benchmark::State& state) {
  ReportData data;
  NoMessages sink;
  std::size_t bytes = 0;
  for (auto _ : state) {
    TextColumnWriter out;
    WriteJoinsReport(ReportForm::Saved, data.plan, data.context, data.settings,
                     "Sunday, December 06, 2026", out, sink);
    bytes = out.Bytes().size();
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ComposeJoinsReport)->Unit(benchmark::kMillisecond);

void BM_SaveJoinsReport(benchmark::State& state) {
  ReportData data;
  NoMessages sink;
  char folder[] = "/tmp/kestral-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) {
    state.SkipWithError("cannot create a temporary folder");
    return;
  }
  const std::string path = std::string(folder) + "/report.txt";
  for (auto _ : state) {
    if (!SaveJoinsReport(path, data.plan, data.context, data.settings, "Sunday, December 06, 2026",
                         sink)) {
      state.SkipWithError("the report was not saved");
      break;
    }
  }
  ::unlink(path.c_str());
  ::rmdir(folder);
}
BENCHMARK(BM_SaveJoinsReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
