// The results window filled as the largest comparison fills it: 300 PSMs give 44,850 joins, one
// in ten not acceptable with its two detail lines. The lines come in batches of what about 50 ms
// of comparing writes, each batch shown in one turn of the event loop. Reported: the whole fill,
// and the longest turn, which is how long the window can fail to answer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "BenchDialogs.h"
#include "app/frmKestralMGA.h"
#include "reports/ui/frmMGADisplay.h"

namespace {

// The result lines of every pair of psms PSMs, in the results list's layout.
std::vector<std::string> ResultLines(int psms) {
  std::vector<std::string> lines = {"Comparison of PSM joins for /plans/large", "", " ",
                                    "From            To", " "};
  int pair = 0;
  for (int i = 0; i < psms; ++i) {
    for (int j = i + 1; j < psms; ++j, ++pair) {
      const std::string keys =
          "6628" + std::to_string(1000 + i) + "       6628" + std::to_string(1000 + j) + "       ";
      if (pair % 10 == 0) {
        lines.push_back(keys + "*** JOIN NOT ACCEPTABLE ***");
        lines.push_back("Diff in bearing = 35.0 sec.   Allowable = 20.0 sec.");
        lines.push_back("Diff in distance = 0.012 m    Allowable = 0.030 m");
      } else {
        lines.push_back(keys + "JOIN ACCEPTABLE");
      }
    }
  }
  return lines;
}

void BM_ResultsWindowFill(benchmark::State& state) {
  const std::vector<std::string> lines = ResultLines(static_cast<int>(state.range(0)));
  const auto linesPerTurn = static_cast<std::size_t>(state.range(1));
  modKestralMGA::BenchDialogs dialogs;
  frmKestralMGA window(dialogs);
  frmMGADisplay& results = window.ResultsWindow();
  results.show();
  QApplication::processEvents();
  double longestTurn = 0.0;
  for (auto _ : state) {
    results.Clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      results.AddLine(lines[i]);
      if ((i + 1) % linesPerTurn == 0 || i + 1 == lines.size()) {
        const auto start = std::chrono::steady_clock::now();
        results.FlushLines();
        QApplication::processEvents();
        const std::chrono::duration<double, std::milli> turn =
            std::chrono::steady_clock::now() - start;
        longestTurn = std::max(longestTurn, turn.count());
      }
    }
  }
  if (results.Lines().size() != lines.size()) state.SkipWithError("lines went missing");
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["longest_turn_ms"] = longestTurn;
}
// 300 PSMs; about 4,500 joins' lines a turn (the comparison of 44,850 joins in about 0.5 s), and
// a tenth of that (a slower machine, or a comparison ten times slower).
BENCHMARK(BM_ResultsWindowFill)->Args({300, 5000})->Args({300, 500})->Unit(benchmark::kMillisecond);

}  // namespace
