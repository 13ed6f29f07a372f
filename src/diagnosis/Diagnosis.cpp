#include "diagnosis/Diagnosis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "common/NumberFormat.h"
#include "diagnosis/DiagnosisFinding.h"
#include "diagnosis/LikelyCulprits.h"
#include "diagnosis/PlanChecks.h"
#include "diagnosis/Renumbering.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
constexpr double kRmsTimes = 3.0;

bool Compared(JoinVerdict verdict) {
  return verdict == JoinVerdict::Acceptable || verdict == JoinVerdict::NotAcceptable;
}

// The plan PSMs, and the position among them of each plan entry (kNone for other points).
struct PlanMarks {
  std::vector<MarkDiagnosis> Marks;
  std::vector<std::size_t> Entries;              // plan entry of each mark
  std::vector<std::size_t> OfEntry;              // mark of each plan entry
  std::vector<std::optional<IndexedMark>> Grid;  // listed coordinates, when positive
};

PlanMarks CollectMarks(const Plan& plan, MarkIndex& index) {
  PlanMarks marks;
  marks.OfEntry.assign(static_cast<std::size_t>(std::max<std::int64_t>(plan.PlanPointCount + 1, 0)),
                       kNone);
  for (std::size_t entry = 0; entry < marks.OfEntry.size(); ++entry) {
    const PlanPoint& point = plan.PlanPoints[entry];
    if (point.PointNo <= kHighestOrdinaryPoint) continue;
    marks.OfEntry[entry] = marks.Marks.size();
    MarkDiagnosis mark;
    mark.Key = point.PointNo;
    std::optional<IndexedMark> grid = index.Find(point.PointNo);
    if (grid && !(grid->East > 0.0 && grid->North > 0.0)) grid.reset();
    mark.Listed = grid.has_value();
    marks.Marks.push_back(mark);
    marks.Entries.push_back(entry);
    marks.Grid.push_back(grid);
  }
  return marks;
}

// Counts each mark's compared and failed joins; gives the joins not acceptable as they stand
// (by their place in joins) and the mean combined scale factor of the compared joins (0 when
// none was compared).
double TallyJoins(const std::vector<JudgedJoin>& joins, PlanMarks& marks,
                  std::vector<std::size_t>& failedAsIs) {
  double csfSum = 0.0;
  int compared = 0;
  for (std::size_t j = 0; j < joins.size(); ++j) {
    const JudgedJoin& join = joins[j];
    if (!Compared(join.Judgement.Verdict)) continue;
    MarkDiagnosis& from = marks.Marks[marks.OfEntry[join.FromEntry]];
    MarkDiagnosis& to = marks.Marks[marks.OfEntry[join.ToEntry]];
    ++from.Joins;
    ++to.Joins;
    csfSum += join.Judgement.Csf;
    ++compared;
    if (join.Judgement.Verdict == JoinVerdict::NotAcceptable) {
      ++from.Failed;
      ++to.Failed;
      failedAsIs.push_back(j);
    }
  }
  return compared > 0 ? csfSum / compared : 0.0;
}

FitPoint FitPointOf(const Plan& plan, const PlanMarks& marks, std::size_t m) {
  const PlanPoint& point = plan.PlanPoints[marks.Entries[m]];
  return {point.East, point.North, marks.Grid[m]->East, marks.Grid[m]->North};
}

bool Fitted(const PlanMarks& marks, std::size_t m) {
  return marks.Marks[m].Joins > 0 && marks.Grid[m] && !marks.Marks[m].Suspect;
}

// The fit of the marks that are compared and not suspects.
std::optional<SimilarityFit> FitMarks(const Plan& plan, const PlanMarks& marks, double csf) {
  std::vector<FitPoint> points;
  for (std::size_t m = 0; m < marks.Marks.size(); ++m) {
    if (Fitted(marks, m)) points.push_back(FitPointOf(plan, marks, m));
  }
  return FitSimilarity(points, csf);
}

// Residuals of the fitted marks (with 3 marks or more) and of the suspects (from the fit of the
// others).
void SetResiduals(const Plan& plan, const SimilarityFit& fit, PlanMarks& marks) {
  for (std::size_t m = 0; m < marks.Marks.size(); ++m) {
    MarkDiagnosis& mark = marks.Marks[m];
    if (mark.Joins == 0 || !marks.Grid[m] || (!mark.Suspect && !fit.RmsMetres)) continue;
    const FitPoint point = FitPointOf(plan, marks, m);
    double east = 0.0;
    double north = 0.0;
    fit.Apply(point.PlanEast, point.PlanNorth, east, north);
    mark.ResidualEast = point.GridEast - east;
    mark.ResidualNorth = point.GridNorth - north;
  }
}

// Judges joins again with the plan turned and scaled by a fit (the allowances are each join's
// own: they depend on its MGA distance only).
class AfterFit {
 public:
  AfterFit(const Plan& plan, const std::optional<SimilarityFit>& fit, double csf)
      : m_fitted(fit.has_value()),
        m_turned(plan.PlanPoints.begin(),
                 plan.PlanPoints.begin() + static_cast<std::ptrdiff_t>(plan.PlanPointCount + 1)) {
    if (!fit) return;
    for (PlanPoint& point : m_turned) {
      const double east = (fit->A * point.East + fit->B * point.North) / csf;
      point.North = (-fit->B * point.East + fit->A * point.North) / csf;
      point.East = east;
    }
  }

  // Whether a compared join passes after the fit; without a fit, as the comparison judged it.
  bool Passes(const JudgedJoin& join) const {
    const JoinJudgement& judged = join.Judgement;
    if (judged.Verdict == JoinVerdict::Acceptable) return true;
    if (!m_fitted) return false;
    double bearing = 0.0;
    double distance = 0.0;
    PlanJoin(m_turned[join.FromEntry], m_turned[join.ToEntry], bearing, distance);
    const double bearingDiff = BearingDifferenceSeconds(bearing, judged.MgaBearing);
    const double distanceDiff = std::abs(distance - judged.MgaDistance);
    return judged.AllowableBearing >= bearingDiff && judged.AllowableDistance >= distanceDiff;
  }

 private:
  bool m_fitted;
  std::vector<PlanPoint> m_turned;
};

// The likely culprits, step by step: the joins not acceptable as they stand that the fit of the
// marks not yet taken does not make acceptable are tallied per mark, and the greedy step takes
// its mark; the fit is made again without it. Joins that pass after the fit point to the bearing
// datum or the height, so they accuse no mark.
std::vector<Suspect> FindSuspects(const Plan& plan, const std::vector<JudgedJoin>& joins,
                                  const std::vector<std::size_t>& failedAsIs, double csf,
                                  PlanMarks& marks) {
  std::vector<std::int32_t> keys;
  std::vector<int> own;
  for (const MarkDiagnosis& mark : marks.Marks) {
    keys.push_back(mark.Key);
    own.push_back(mark.Failed);
  }
  std::vector<bool> taken(keys.size(), false);
  std::vector<Suspect> suspects;
  for (;;) {
    const AfterFit afterFit(plan, FitMarks(plan, marks, csf), csf);
    std::vector<std::pair<std::size_t, std::size_t>> failed;
    for (const std::size_t j : failedAsIs) {
      const std::size_t from = marks.OfEntry[joins[j].FromEntry];
      const std::size_t to = marks.OfEntry[joins[j].ToEntry];
      if (!taken[from] && !taken[to] && !afterFit.Passes(joins[j])) failed.emplace_back(from, to);
    }
    const std::optional<Culprit> culprit = NextCulprit(keys, own, failed, taken);
    if (!culprit) return suspects;
    taken[culprit->Mark] = true;
    marks.Marks[culprit->Mark].Suspect = true;
    suspects.push_back({keys[culprit->Mark], culprit->Explains});
  }
}

std::vector<FittedVerdict> FittedVerdicts(const std::vector<JudgedJoin>& joins,
                                          const AfterFit& afterFit) {
  std::vector<FittedVerdict> verdicts;
  verdicts.reserve(joins.size());
  for (const JudgedJoin& join : joins) {
    const JoinVerdict verdict = join.Judgement.Verdict;
    if (!Compared(verdict)) {
      verdicts.push_back(FittedVerdict::NotCompared);
    } else if (verdict == JoinVerdict::Acceptable) {
      verdicts.push_back(FittedVerdict::AcceptableAsIs);
    } else {
      verdicts.push_back(afterFit.Passes(join) ? FittedVerdict::AcceptableAfterFit
                                               : FittedVerdict::NotAcceptable);
    }
  }
  return verdicts;
}

// The suspects and the plan PSMs missing from the list, carried into MGA by the fit, looked for
// among the listed marks.
std::vector<Renumbering> Renumberings(const Plan& plan, MarkIndex& index, const PlanMarks& marks,
                                      const SimilarityFit& fit) {
  std::vector<MisplacedPoint> points;
  for (std::size_t m = 0; m < marks.Marks.size(); ++m) {
    const MarkDiagnosis& mark = marks.Marks[m];
    const PlanPoint& point = plan.PlanPoints[marks.Entries[m]];
    if (point.Solved == 0 || (!mark.Suspect && mark.Listed)) continue;
    MisplacedPoint misplaced{mark.Key, 0.0, 0.0};
    fit.Apply(point.East, point.North, misplaced.East, misplaced.North);
    points.push_back(misplaced);
  }
  if (points.empty()) return {};
  const double radius = std::max(kRenumberingRadius, kRmsTimes * fit.RmsMetres.value_or(0.0));
  std::vector<GridPlace> places;
  for (const MisplacedPoint& point : points) places.push_back({point.East, point.North});
  return FindRenumberings(points, MarksNear(index, places, radius), radius);
}

DiagnosisSummary Summarise(const std::vector<FittedVerdict>& verdicts) {
  // Judged as the comparison's summary counts: against the criterion, the joins not compared
  // (a mark missing, an order above the limit, an unsolved point) apart.
  DiagnosisSummary summary;
  for (const FittedVerdict verdict : verdicts) {
    switch (verdict) {
      case FittedVerdict::AcceptableAsIs:
        ++summary.AcceptableAsIs;
        break;
      case FittedVerdict::AcceptableAfterFit:
        ++summary.AcceptableAfterFit;
        break;
      case FittedVerdict::NotAcceptable:
        ++summary.NotAcceptable;
        break;
      case FittedVerdict::NotCompared:
        ++summary.NotCompared;
        break;
    }
  }
  summary.Judged = static_cast<int>(verdicts.size()) - summary.NotCompared;
  return summary;
}

}  // namespace

JudgingConditions ConditionsOf(const JoinContext& context, const AccuracyCriterion* criterion) {
  const MarkList& list = context.Marks.List();
  return {&context.Marks,
          &list,
          list.Revision(),
          context.Settings.MaxOrderText(),
          context.Settings.AverageHeightText(),
          context.Settings.CalculationMode(),
          criterion};
}

Diagnosis Diagnose(const Plan& plan, MarkIndex& index, const std::vector<JudgedJoin>& joins,
                   const AccuracyCriterion* criterion) {
  Diagnosis diagnosis;
  PlanMarks marks = CollectMarks(plan, index);
  std::vector<std::size_t> failedAsIs;
  const double csf = TallyJoins(joins, marks, failedAsIs);
  diagnosis.Suspects = FindSuspects(plan, joins, failedAsIs, csf, marks);
  diagnosis.Fit = FitMarks(plan, marks, csf);
  if (diagnosis.Fit) SetResiduals(plan, *diagnosis.Fit, marks);
  diagnosis.Verdicts = FittedVerdicts(joins, AfterFit(plan, diagnosis.Fit, csf));
  if (diagnosis.Fit) diagnosis.Renumberings = Renumberings(plan, index, marks, *diagnosis.Fit);
  diagnosis.PlanChecks = PlanChecks(plan, criterion);
  diagnosis.Summary = Summarise(diagnosis.Verdicts);
  diagnosis.Marks = std::move(marks.Marks);
  diagnosis.Names = plan.Names;
  diagnosis.Summary.Finding = DiagnosisFinding(diagnosis);
  return diagnosis;
}

std::string PsmText(std::int32_t key) {
  std::string text = FormatNumber(key, kFormatKey);
  constexpr std::size_t kLeadingDigits = 4;
  if (text.size() <= kLeadingDigits || key <= 0) return text;
  return text.substr(0, kLeadingDigits) + "/" + text.substr(kLeadingDigits);
}

std::string PsmText(const MarkNameTable& names, std::int32_t key) {
  const auto named = names.WrittenName.find(key);
  return named == names.WrittenName.end() ? PsmText(key) : named->second;
}

}  // namespace modKestralMGA
