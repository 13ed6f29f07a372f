// The join calculation window over a list of 200,000 complete marks: Calculate Joins until the
// window has painted its list, and a pick, which joins two marks of the live list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include "BenchDialogs.h"
#include "DataGenerator.h"
#include "app/frmKestralMGA.h"
#include "joins/frmMGAJoins.h"
#include "marks/ui/MarkTableModel.h"

namespace modKestralMGA {
namespace {

constexpr std::uint64_t kSeed = 20240612;

// A main window holding count generated marks, every row complete.
class FilledWindow {
 public:
  explicit FilledWindow(std::size_t count) : m_window(m_dialogs) {
    m_window.Form_Load({});
    const MarkList marks = ToMarkList(GenerateMarks(count, kSeed));
    m_window.MarkModel().Load([&marks](MarkList& list) { list = marks; });
    m_window.show();
    QApplication::processEvents();
  }
  frmKestralMGA& Window() { return m_window; }
  QListView& List() {
    return *m_window.JoinsWindow().findChild<QListView*>(QStringLiteral("lstMarks"));
  }
  int Messages() const { return m_dialogs.Messages; }

 private:
  BenchDialogs m_dialogs;
  frmKestralMGA m_window;
};

// What the user waits for: Calculate Joins (the average height, the list of complete rows)
// until the join window has painted its list. Target: under 1 s for 200,000 marks.
void BM_CalculateJoinsToListShown(benchmark::State& state) {
  FilledWindow filled(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    filled.Window().mnuOptionsCalculateAMG_Click();
    filled.List().viewport()->repaint();
    QApplication::processEvents();
  }
  if (filled.Messages() > 0) state.SkipWithError("Calculate Joins showed a message");
  state.counters["listed"] = static_cast<double>(filled.List().model()->rowCount());
}
BENCHMARK(BM_CalculateJoinsToListShown)->Arg(200000)->Unit(benchmark::kMillisecond);

// One pick after the first: the join from the previous mark, its row appended and shown.
void BM_PickAJoin(benchmark::State& state) {
  FilledWindow filled(static_cast<std::size_t>(state.range(0)));
  filled.Window().mnuOptionsCalculateAMG_Click();
  QListView& list = filled.List();
  const int rows = list.model()->rowCount();
  int row = 0;
  for (auto _ : state) {
    row = (row + 7919) % rows;
    list.setCurrentIndex(list.model()->index(row, 0));
    QApplication::processEvents();
  }
  if (filled.Messages() > 0) state.SkipWithError("a pick showed a message");
  state.counters["rows"] = static_cast<double>(filled.Window().JoinsWindow().GridRows() - 1);
}
BENCHMARK(BM_PickAJoin)->Arg(200000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace modKestralMGA
