#include "reports/JoinDiagram.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include "common/NumberFormat.h"
#include "diagnosis/DiagnosisText.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA {

namespace {

// An arc is drawn in steps of at most this angle (radians): 2 degrees.
constexpr double kArcStep = std::numbers::pi / 90.0;

// Messages of a curve file read again for the drawing: the comparison has shown them.
class DroppedMessages final : public MessageSink {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override {}
};

// The arc of radius r from a to b turning left (counter-clockwise) or right, the longer way round
// when the arc length exceeds half the circle. Nothing when the chord is longer than the diameter
// or the ends coincide.
std::optional<DiagramLine> ArcBetween(DiagramPoint a, DiagramPoint b, double r, double arcLength,
                                      bool turnsLeft) {
  const double dx = b.East - a.East;
  const double dy = b.North - a.North;
  const double chord = std::hypot(dx, dy);
  if (!(r > 0.0) || !(chord > 0.0) || chord > 2.0 * r) return std::nullopt;
  const bool longer = arcLength > std::numbers::pi * r;
  // The centre lies on the turning side of the chord, on the other side for the longer arc.
  const double offset = std::sqrt(r * r - chord * chord / 4.0) * (longer ? -1.0 : 1.0);
  const double side = turnsLeft ? 1.0 : -1.0;
  const DiagramPoint centre{(a.East + b.East) / 2.0 - side * offset * dy / chord,
                            (a.North + b.North) / 2.0 + side * offset * dx / chord};
  const double start = std::atan2(a.North - centre.North, a.East - centre.East);
  double sweep = std::atan2(b.North - centre.North, b.East - centre.East) - start;
  // Counter-clockwise sweeps are positive: a left turn takes (0, 2 pi), a right one (-2 pi, 0).
  if (turnsLeft && sweep <= 0.0) sweep += 2.0 * std::numbers::pi;
  if (!turnsLeft && sweep >= 0.0) sweep -= 2.0 * std::numbers::pi;
  const auto steps = static_cast<int>(std::max(2.0, std::ceil(std::abs(sweep) / kArcStep - 1e-9)));
  DiagramLine line;
  line.Centre = centre;
  line.Radius = r;
  for (int i = 0; i <= steps; ++i) {
    const double angle = start + sweep * i / steps;
    line.Path.push_back({centre.East + r * std::cos(angle), centre.North + r * std::sin(angle)});
  }
  line.Path.front() = a;  // the ends exactly where the plan places them
  line.Path.back() = b;
  return line;
}

// The line of record as drawn between placed points a and b.
DiagramLine LineOf(const PlanLine& record, DiagramPoint a, DiagramPoint b, CurveIndex* curves) {
  DiagramLine line;
  if (record.Bearing > 1000.0 && curves != nullptr) {
    if (const CurveRecord* curve = curves->Find(record.FromPoint, record.ToPoint)) {
      const bool listedSo = curve->FirstPoint == record.FromPoint;
      if (auto arc = ArcBetween(a, b, record.Bearing - 1000.0, record.Distance,
                                listedSo ? curve->TurnsLeft : !curve->TurnsLeft)) {
        line = std::move(*arc);
      }
    }
  }
  if (line.Path.empty()) line.Path = {a, b};
  line.FromPoint = record.FromPoint;
  line.ToPoint = record.ToPoint;
  return line;
}

std::string Metres(double value) {
  return FormatNumber(value, kFormatMetres);
}

// The verdict line of a join and, when it was judged, the plan and MGA joins, the differences
// and the allowances.
std::string TipOf(const DiagramMark& from, const DiagramMark& to, const JoinJudgement& join) {
  std::string tip = from.Label + " to " + to.Label + "   " + std::string(VerdictText(join.Verdict));
  if (join.Verdict != JoinVerdict::Acceptable && join.Verdict != JoinVerdict::NotAcceptable) {
    return tip;
  }
  tip += "\nPlan: " + FormatNumber(join.PlanBearing, kFormatBearing) + "   " +
         Metres(join.PlanDistance) + " m\nMGA:  " + FormatNumber(join.MgaBearing, kFormatBearing) +
         "   " + Metres(join.MgaDistance) +
         " m\nDiff in bearing = " + FormatNumber(join.BearingDiff, kFormatSeconds) +
         " sec.   Allowable = " + FormatNumber(join.AllowableBearing, kFormatSeconds) +
         " sec.\nDiff in distance = " + Metres(join.DistanceDiff) +
         " m   Allowable = " + Metres(join.AllowableDistance) + " m";
  return tip;
}

void Include(JoinDiagram& diagram, DiagramPoint at, bool& first) {
  if (first) {
    diagram.Low = diagram.High = at;
    first = false;
    return;
  }
  diagram.Low = {std::min(diagram.Low.East, at.East), std::min(diagram.Low.North, at.North)};
  diagram.High = {std::max(diagram.High.East, at.East), std::max(diagram.High.North, at.North)};
}

// The plan's lines, other points and PSMs; markOfEntry gets each entry's index in Marks (-1 for
// an entry that is no placed PSM).
void AddPlan(const Plan& plan, CurveIndex* curves, JoinDiagram& diagram,
             std::vector<std::int64_t>& markOfEntry) {
  const std::int64_t count =
      std::min<std::int64_t>(plan.PlanPointCount + 1, std::ssize(plan.PlanPoints));
  const auto placed = [&](std::int64_t entry) {
    return entry >= 0 && entry < count && plan.PlanPoints[std::size_t(entry)].Solved == 1;
  };
  const auto at = [&](std::int64_t entry) {
    const PlanPoint& p = plan.PlanPoints[std::size_t(entry)];
    return DiagramPoint{p.East, p.North};
  };
  for (const PlanLine& record : plan.PlanLines) {
    const std::int64_t a = FindPlanPoint(plan, record.FromPoint);
    const std::int64_t b = FindPlanPoint(plan, record.ToPoint);
    if (placed(a) && placed(b)) diagram.Lines.push_back(LineOf(record, at(a), at(b), curves));
  }
  markOfEntry.assign(std::size_t(std::max<std::int64_t>(count, 0)), -1);
  for (std::int64_t entry = 0; entry < count; ++entry) {
    if (!placed(entry)) continue;
    const PlanPoint& p = plan.PlanPoints[std::size_t(entry)];
    if (p.PointNo <= kHighestOrdinaryPoint) {
      diagram.Points.push_back(at(entry));
      continue;
    }
    markOfEntry[std::size_t(entry)] = std::ssize(diagram.Marks);
    diagram.Marks.push_back(
        {p.PointNo, PsmText(plan.Names, p.PointNo), at(entry), false, std::nullopt});
  }
}

// The suspects and residuals of the diagnosis; returns the largest residual (metres).
double AddDiagnosis(const Diagnosis& diagnosis, JoinDiagram& diagram) {
  std::unordered_map<std::int32_t, const MarkDiagnosis*> byKey;
  for (const MarkDiagnosis& mark : diagnosis.Marks) byKey.emplace(mark.Key, &mark);
  double largest = 0.0;
  for (DiagramMark& mark : diagram.Marks) {
    const auto found = byKey.find(mark.Key);
    if (found == byKey.end()) continue;
    const MarkDiagnosis& diagnosed = *found->second;
    mark.Suspect = diagnosed.Suspect;
    if (!diagnosed.ResidualEast || !diagnosed.ResidualNorth || !diagnosis.Fit) continue;
    // grid = [A B; -B A] plan: the plan's direction of a grid vector is [A -B; B A] / s times it.
    const double a = diagnosis.Fit->A;
    const double b = diagnosis.Fit->B;
    const double s = std::hypot(a, b);
    if (!(s > 0.0)) continue;
    const double east = *diagnosed.ResidualEast;
    const double north = *diagnosed.ResidualNorth;
    mark.Residual = DiagramPoint{(a * east - b * north) / s, (b * east + a * north) / s};
    largest = std::max(largest, std::hypot(east, north));
  }
  diagram.FitText = DiagnosisFitLine(diagnosis.Fit);
  return largest;
}

}  // namespace

JoinColour ColourOf(JoinVerdict verdict) {
  switch (verdict) {
    case JoinVerdict::Acceptable:
      return JoinColour::Green;
    case JoinVerdict::NotAcceptable:
      return JoinColour::Red;
    default:
      return JoinColour::Grey;
  }
}

DiagramPoint ArrowTip(const DiagramMark& mark, double exaggeration) {
  if (!mark.Residual) return mark.At;
  return {mark.At.East + exaggeration * mark.Residual->East,
          mark.At.North + exaggeration * mark.Residual->North};
}

double RoundLength(double length) {
  if (!std::isfinite(length) || !(length > 0.0)) return 0.0;
  const double power = std::pow(10.0, std::floor(std::log10(length)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= length * (1.0 + 1e-12)) return step * power;
  }
  return power / 2.0;  // log10 rounded up at a power of ten
}

double AutomaticExaggeration(double extent, double largestResidual) {
  if (!(largestResidual > 0.0)) return 1.0;
  return std::max(1.0, RoundLength(extent / 10.0 / largestResidual));
}

JoinDiagram BuildJoinDiagram(const Plan& plan, const std::vector<JudgedJoin>& joins,
                             const Diagnosis* diagnosis, CurveIndex* curves,
                             const DiagramTitle& title, std::optional<double> exaggeration) {
  JoinDiagram diagram;
  std::vector<std::int64_t> markOfEntry;
  AddPlan(plan, curves, diagram, markOfEntry);
  const auto markOf = [&](std::size_t entry) {
    return entry < markOfEntry.size() ? markOfEntry[entry] : std::int64_t{-1};
  };
  for (std::size_t i = 0; i < joins.size(); ++i) {
    const std::int64_t from = markOf(joins[i].FromEntry);
    const std::int64_t to = markOf(joins[i].ToEntry);
    if (from < 0 || to < 0) continue;
    const JoinVerdict verdict = joins[i].Judgement.Verdict;
    diagram.Joins.push_back({std::size_t(from), std::size_t(to), verdict, ColourOf(verdict), i,
                             TipOf(diagram.Marks[std::size_t(from)], diagram.Marks[std::size_t(to)],
                                   joins[i].Judgement)});
  }
  bool first = true;
  for (const DiagramLine& line : diagram.Lines) {
    for (const DiagramPoint& at : line.Path) Include(diagram, at, first);
  }
  for (const DiagramPoint& at : diagram.Points) Include(diagram, at, first);
  for (const DiagramMark& mark : diagram.Marks) Include(diagram, mark.At, first);
  if (diagnosis != nullptr) {
    const double largest = AddDiagnosis(*diagnosis, diagram);
    const double extent =
        std::max(diagram.High.East - diagram.Low.East, diagram.High.North - diagram.Low.North);
    diagram.Exaggeration = exaggeration.value_or(AutomaticExaggeration(extent, largest));
    diagram.ResidualBar = RoundLength(largest);
    for (const DiagramMark& mark : diagram.Marks) {
      Include(diagram, ArrowTip(mark, diagram.Exaggeration), first);
    }
  }
  diagram.TitleLines = {"Join diagram of plan " + title.PlanIdentifier,
                        "Accuracy criterion: " + title.Criterion,
                        "Average height: " + title.AverageHeight + " m", title.Date};
  return diagram;
}

JoinDiagram ComposeJoinDiagram(const Plan& plan, JoinContext& context,
                               const CompareSettings& settings, const std::string& dateText,
                               std::optional<double> exaggeration) {
  const AccuracyCriterion* criterion = settings.Criterion();
  JudgementCollector judgements;
  const std::int64_t last =
      std::min<std::int64_t>(plan.PlanPointCount, std::ssize(plan.PlanPoints) - 1);
  for (std::int64_t i = 0; i < last; ++i) {
    const PlanPoint& from = plan.PlanPoints[std::size_t(i)];
    if (from.PointNo <= kHighestOrdinaryPoint) continue;
    for (std::int64_t j = i + 1; j <= last; ++j) {
      const PlanPoint& to = plan.PlanPoints[std::size_t(j)];
      if (to.PointNo <= kHighestOrdinaryPoint) continue;
      judgements.Judged(std::size_t(i), std::size_t(j), JudgeJoin(from, to, context, criterion));
    }
  }
  const Diagnosis diagnosis = Diagnose(plan, context.Marks, judgements.Joins(), criterion);
  DroppedMessages dropped;
  CurveIndex curves = CurvesOf(plan, settings.PlanIdentifier(), dropped);
  return BuildJoinDiagram(plan, judgements.Joins(), &diagnosis, &curves,
                          {settings.PlanIdentifier(), settings.AccuracyCriterionText(),
                           settings.AverageHeightText(), dateText},
                          exaggeration);
}

}  // namespace modKestralMGA
