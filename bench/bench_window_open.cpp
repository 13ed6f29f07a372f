// The Open command in the main window with the grid shown: a Mark Details file of 200,000 marks
// from the dialog's answer until the grid has painted its first rows (offscreen platform), beside
// the floor of reading and splitting the same file. The counter peak_MB is the process's peak
// resident memory over the opens, the generated data freed before they start.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QTableView>
#include <fstream>
#include <string>
#include <utility>

#include "BenchData.h"
#include "BenchDialogs.h"
#include "BenchFolder.h"
#include "Floors.h"
#include "app/frmKestralMGA.h"

namespace modKestralMGA {
namespace {

// A line of /proc/self/status in megabytes ("VmHWM", "VmRSS"); 0 when it cannot be read.
double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) != 0) continue;
    std::size_t kilobytes = 0;
    for (const char c : line) {
      if (c >= '0' && c <= '9') kilobytes = kilobytes * 10 + static_cast<std::size_t>(c - '0');
    }
    return static_cast<double>(kilobytes) / 1024.0;
  }
  return 0.0;
}

// Starts the peak resident memory afresh from the memory now resident, after handing the freed
// heap back to the system (Linux: 5 written to clear_refs resets the peak).
void ResetPeakMemory() {
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// The statewide Mark Details file of `marks` marks, written without keeping the generated data.
std::string WriteMarksFile(const BenchFolder& folder, std::size_t marks) {
  return folder.Write("marks.csv", ToMarkDetailsCsv(StatewideMarks(marks), /*titleLine=*/true));
}

void BM_WindowOpenMarks(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = WriteMarksFile(folder, static_cast<std::size_t>(state.range(0)));
  BenchDialogs dialogs(path);
  frmKestralMGA window(dialogs);
  window.Form_Load({});
  window.show();
  auto* grid = window.findChild<QTableView*>(QStringLiteral("Grid1"));
  QApplication::processEvents();
  ResetPeakMemory();
  const double before = StatusMegabytes("VmRSS");
  for (auto _ : state) {
    state.PauseTiming();
    window.cmdClear_Click();
    QApplication::processEvents();
    state.ResumeTiming();
    window.mnuFileOpen_Click();
    grid->viewport()->repaint();
    QApplication::processEvents();
  }
  if (dialogs.Messages > 0) state.SkipWithError("the open showed a message");
  state.counters["rows"] = static_cast<double>(window.Marks().RowCount());
  state.counters["rss_before_MB"] = before;
  state.counters["peak_MB"] = StatusMegabytes("VmHWM");
}
BENCHMARK(BM_WindowOpenMarks)->Arg(200000)->Unit(benchmark::kMillisecond);

// The floors of the windows' figures, measured in the same run: the Mark Details file of the
// open, and the delimited file of the import (as bench_import writes it).
void BM_WindowFloorReadSplitMarkDetails(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = WriteMarksFile(folder, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadAndSplitFloor(path));
}
BENCHMARK(BM_WindowFloorReadSplitMarkDetails)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_WindowFloorReadSplitDelimited(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write(
      "points.txt", ToDelimitedText(StatewideMarks(static_cast<std::size_t>(state.range(0)))));
  for (auto _ : state) benchmark::DoNotOptimize(ReadAndSplitFloor(path));
}
BENCHMARK(BM_WindowFloorReadSplitDelimited)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
