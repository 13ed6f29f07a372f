// Delimited text import of a 200,000-line file: the core's pass over the file, and the import
// window's OK up to the rows shown in the main window's grid (offscreen platform).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "BenchDialogs.h"
#include "DataGenerator.h"
#include "app/frmKestralMGA.h"
#include "marks/ImportText.h"
#include "marks/ui/frmImportText.h"

namespace modKestralMGA {
namespace {

constexpr std::uint64_t kSeed = 20240611;

// A generated delimited text file, removed at the end.
class DelimitedFile {
 public:
  explicit DelimitedFile(std::size_t points) {
    m_path = (std::filesystem::temp_directory_path() / "kestral-bench-import-XXXXXX.txt").string();
    const int fd = ::mkstemps(m_path.data(), 4);
    if (fd >= 0) ::close(fd);
    const std::string text = ToDelimitedText(GenerateMarks(points, kSeed));
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  ~DelimitedFile() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  DelimitedFile(const DelimitedFile&) = delete;
  DelimitedFile& operator=(const DelimitedFile&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// The core alone: read the file, cut every line into fields, append the rows.
void BM_ImportTextFile(benchmark::State& state) {
  const DelimitedFile file(static_cast<std::size_t>(state.range(0)));
  const ImportColumnNumbers columns{1, 2, 3, 4, 5};
  std::size_t rows = 0;
  for (auto _ : state) {
    MarkList list;
    rows = ImportTextFile(file.Path(), file.Path(), columns, list);
    benchmark::DoNotOptimize(list.Rows().data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ImportTextFile)->Arg(200000)->Unit(benchmark::kMillisecond);

// What the user waits for: OK pressed in the import window until the grid has painted the
// imported rows. Each run starts from a cleared list and the Import command's sample line.
void BM_ImportOkToRowsShown(benchmark::State& state) {
  const DelimitedFile file(static_cast<std::size_t>(state.range(0)));
  BenchDialogs dialogs(file.Path());
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
  if (dialogs.Messages > 0) state.SkipWithError("the import showed a message");
  state.counters["rows"] = static_cast<double>(window.Marks().RowCount());
}
BENCHMARK(BM_ImportOkToRowsShown)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
