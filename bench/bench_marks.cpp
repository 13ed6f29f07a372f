// Mark lists from files: the Open command's core on Mark Details files of 1,000 to 200,000 marks
// (read, average height, duplicate removal) and the import of a 200,000-line delimited file, each
// beside its floor: the same file's bytes read and split at commas and line ends.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "BenchData.h"
#include "BenchFolder.h"
#include "BenchSettings.h"
#include "Floors.h"
#include "marks/ImportText.h"
#include "marks/MarkCommands.h"

namespace modKestralMGA {
namespace {

std::size_t Marks(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

void BM_OpenMarkDetails(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write("marks.csv", MarkDetailsText(Marks(state)));
  CountingSink sink;
  MarkList list;
  for (auto _ : state) {
    // Each open starts from an empty list; the previous one is let go outside the timing.
    state.PauseTiming();
    list = MarkList{};
    state.ResumeTiming();
    const OpenResult result = OpenMarkDetailsFile(path, path, list, sink);
    benchmark::DoNotOptimize(result.AverageHeightText.data());
  }
  const std::size_t rows = list.RowCount();
  if (sink.Count > 0) state.SkipWithError("the generated file gave messages");
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_OpenMarkDetails)->Arg(1000)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_FloorReadSplitMarkDetails(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write("marks.csv", MarkDetailsText(Marks(state)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadAndSplitFloor(path));
}
BENCHMARK(BM_FloorReadSplitMarkDetails)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

// The core of the import window's OK: read the file, cut every line into fields, append the rows.
void BM_ImportTextFile(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write("points.txt", DelimitedText(Marks(state)));
  const ImportColumnNumbers columns{1, 2, 3, 4, 5};
  std::size_t rows = 0;
  MarkList list;
  for (auto _ : state) {
    state.PauseTiming();
    list = MarkList{};
    state.ResumeTiming();
    rows = ImportTextFile(path, path, columns, list).Added;
    benchmark::DoNotOptimize(list.RowCount());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ImportTextFile)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_FloorReadSplitDelimited(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write("points.txt", DelimitedText(Marks(state)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadAndSplitFloor(path));
}
BENCHMARK(BM_FloorReadSplitDelimited)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
