// The join diagram of the largest comparison: a plan of 20,000 lines whose 300 PSMs give 44,850
// joins, in the results window's Diagram tab at 1200 x 800 on the offscreen platform. Reported:
// the diagram built from the comparison's judgements and diagnosis; the first paint (the diagram
// handed to the view, its batches made and the view drawn whole); and one zoom step (the wheel's
// 1.25 about the middle, drawn whole); and, beside them, the drawing at full resolution that the
// view makes once it has been still for 200 ms. Target: under 100 ms for the first paint and the
// zoom step. The plan's lines and the joins are drawn as one batch a colour; with more than 5,000
// joins lines are drawn without smoothing and those joins in a picture of their own, made at a
// third of the resolution while the view changes; PSM symbols and labels only where they show,
// labels that would cover another left out.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "BenchData.h"
#include "BenchFolder.h"
#include "BenchSettings.h"
#include "compare/ComparePSMJoins.h"
#include "diagnosis/Diagnosis.h"
#include "markjoins/MarkIndex.h"
#include "plan/PlanPoints.h"
#include "reports/JoinDiagram.h"
#include "reports/ui/JoinDiagramView.h"
#include "reports/ui/ReportFont.h"

namespace modKestralMGA {
namespace {

// The results list that drops the lines: only the judgements matter here.
class DroppedLines final : public ResultList {
 public:
  void Clear() override {}
  void AddLine(std::string) override {}
};

// The comparison of the plan with psms PSMs against the statewide list, its judgements and its
// diagnosis, made once for the run.
struct ComparedPlan {
  explicit ComparedPlan(std::size_t psms)
      : Generated(ComparisonPlan(Statewide().Marks, psms)),
        Files(Generated.Lines, Generated.Curves),
        Settings(Files.Identifier(), Statewide().AverageHeight),
        Index(Statewide().List) {
    ReadPlanForCompare(Files.Identifier(), Built, Sink);
    BuildPlanPoints(Built, Files.Identifier(), Sink);
    JoinContext context{Index, Settings};
    DroppedLines lines;
    NoPendingEvents events;
    ComparePSMJoins(Built, context, Settings, lines, Sink, events, &Judgements);
    Diagnosed = Diagnose(Built, Index, Judgements.Joins(), Settings.Criterion());
  }
  JoinDiagram Build() {
    CurveIndex curves(Files.Identifier(), Sink);
    return BuildJoinDiagram(Built, Judgements.Joins(), &Diagnosed, &curves,
                            {Files.Identifier(), Settings.AccuracyCriterionText(),
                             Settings.AverageHeightText(), "Monday, December 07, 2026"});
  }

  GeneratedPlan Generated;
  PlanFiles Files;
  BenchSettings Settings;
  MarkIndex Index;
  CountingSink Sink;
  Plan Built;
  JudgementCollector Judgements;
  Diagnosis Diagnosed;
};

ComparedPlan& LargestComparison() {
  RegisterReportFont();  // the diagram's lettering, as the program registers it at its start
  static ComparedPlan compared(300);
  return compared;
}

void Counters(benchmark::State& state, const JoinDiagram& diagram) {
  state.counters["lines"] = static_cast<double>(diagram.Lines.size());
  state.counters["joins"] = static_cast<double>(diagram.Joins.size());
  state.counters["psms"] = static_cast<double>(diagram.Marks.size());
}

void BM_DiagramBuild(benchmark::State& state) {
  ComparedPlan& compared = LargestComparison();
  JoinDiagram diagram;
  for (auto _ : state) {
    diagram = compared.Build();
    benchmark::DoNotOptimize(diagram.Joins.data());
  }
  Counters(state, diagram);
}
BENCHMARK(BM_DiagramBuild)->Unit(benchmark::kMillisecond);

void BM_DiagramFirstPaint(benchmark::State& state) {
  ComparedPlan& compared = LargestComparison();
  const JoinDiagram diagram = compared.Build();
  JoinDiagramView view;
  view.resize(1200, 800);
  QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    state.PauseTiming();
    JoinDiagram copy = diagram;
    state.ResumeTiming();
    view.SetDiagram(std::move(copy));
    view.render(&image);
  }
  Counters(state, diagram);
}
BENCHMARK(BM_DiagramFirstPaint)->Unit(benchmark::kMillisecond);

void BM_DiagramZoomStep(benchmark::State& state) {
  ComparedPlan& compared = LargestComparison();
  JoinDiagramView view;
  view.resize(1200, 800);
  view.SetDiagram(compared.Build());
  QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
  view.render(&image);
  bool in = true;
  for (auto _ : state) {
    view.ZoomBy(in ? 1.25 : 0.8);
    view.render(&image);
    in = !in;
  }
  Counters(state, view.Diagram());
}
BENCHMARK(BM_DiagramZoomStep)->Unit(benchmark::kMillisecond);

// The joins drawn at full resolution, as the view draws them once it has been still for a moment:
// the whole drawing of the plan through the painter, without smoothing.
void BM_DiagramStillPaint(benchmark::State& state) {
  ComparedPlan& compared = LargestComparison();
  const JoinDiagram diagram = compared.Build();
  const DiagramPainter painter(diagram);
  QImage image(1200, 800, QImage::Format_ARGB32_Premultiplied);
  const QRectF area(0, 0, 1200, 800);
  const DiagramView view = FitView(diagram, area);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter on(&image);
    painter.PaintPlan(on, view, {false, std::nullopt, 96 / 25.4, false}, area);
  }
  Counters(state, diagram);
}
BENCHMARK(BM_DiagramStillPaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace modKestralMGA
