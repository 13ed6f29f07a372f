// Delimited text import of a 200,000-line file: the import window's OK up to the rows shown in
// the main window's grid (offscreen platform). The core's pass alone is in bench_marks.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <string>
#include <utility>

#include "BenchData.h"
#include "BenchDialogs.h"
#include "BenchFolder.h"
#include "app/frmKestralMGA.h"
#include "marks/ui/frmImportText.h"

namespace modKestralMGA {
namespace {

// What the user waits for: OK pressed in the import window until the grid has painted the
// imported rows. Each run starts from a cleared list and the Import command's sample line.
void BM_ImportOkToRowsShown(benchmark::State& state) {
  const BenchFolder folder;
  const std::string path = folder.Write(
      "points.txt", ToDelimitedText(StatewideMarks(static_cast<std::size_t>(state.range(0)))));
  BenchDialogs dialogs(path);
  frmKestralMGA window(dialogs);
  window.Form_Load({});
  window.show();
  auto* grid = window.findChild<QTableView*>(QStringLiteral("Grid1"));
  auto* ok = window.ImportWindow().findChild<QPushButton*>(QStringLiteral("cmdOK"));
  window.ImportWindow()
      .findChild<QLineEdit*>(QStringLiteral("txtHeight"))
      ->setText(QStringLiteral("4"));
  window.ImportWindow()
      .findChild<QLineEdit*>(QStringLiteral("txtZone"))
      ->setText(QStringLiteral("5"));
  for (auto _ : state) {
    state.PauseTiming();
    window.cmdClear_Click();
    window.mnuFileImport_Click();
    QApplication::processEvents();
    state.ResumeTiming();
    ok->click();
    grid->viewport()->repaint();
    QApplication::processEvents();
  }
  // Each import ends by telling what it added; the title line of the file gives no mark.
  const std::string summary =
      "Import: " + std::to_string(state.range(0)) + " marks added; 1 line gave no mark";
  for (const std::string& said : dialogs.Said) {
    if (said != summary) state.SkipWithError("the import showed a message other than its summary");
  }
  if (dialogs.Said.size() != static_cast<std::size_t>(dialogs.Messages)) {
    state.SkipWithError("the import asked a question");
  }
  state.counters["rows"] = static_cast<double>(window.Marks().RowCount());
}
BENCHMARK(BM_ImportOkToRowsShown)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
