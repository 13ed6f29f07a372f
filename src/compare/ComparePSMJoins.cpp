#include "compare/ComparePSMJoins.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "compare/AccuracyCriteria.h"
#include "compare/JoinJudgement.h"
#include "geodesy/Keys.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"
#include "plan/PointNames.h"
#include "plan/landxml/LandXmlPlan.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kSecondKeyColumn = 15;
constexpr std::size_t kVerdictColumn = 30;
constexpr std::size_t kDatumDistanceColumn = 45;

// Shows the busy pointer over the results list while the comparison runs, and the normal one
// again however it ends.
class BusyPointer {
 public:
  explicit BusyPointer(ResultList& list) : m_list(list) { m_list.SetBusy(true); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
  ~BusyPointer() { m_list.SetBusy(false); }

 private:
  ResultList& m_list;
};

// The bearing datum lines: the datum line with the MGA bearing at column 30 and distance at 45,
// the average height and the combined scale factor.
void AddDatumSection(JoinContext& context, const CompareSettings& settings, ResultList& list) {
  list.AddLine("BEARING DATUM                  Bearing         Distance");
  const std::string from = settings.Datum1Text();
  const std::string to = settings.Datum2Text();
  const JoinResult join =
      CombinedScaleFactor(context, PsmKey(from), PsmKey(to), OrderLimitRule::PlaneJoin);
  std::string line = from + " to " + to;
  PadToColumn(line, kVerdictColumn);
  line += FormatNumber(join.Bearing, kFormatBearing);
  PadToColumn(line, kDatumDistanceColumn);
  line += FormatNumber(ShownDistance(join), kFormatMetres);
  list.AddLine(std::move(line));
  list.AddLine("Average Height = " + settings.AverageHeightText() + " m AHD");
  list.AddLine("Combined Scale Factor = " + FormatNumber(join.Csf, kFormatScaleFactor));
}

void AddDetailLines(const JoinJudgement& join, ResultList& list) {
  list.AddLine("Diff in bearing = " + FormatNumber(join.BearingDiff, kFormatSeconds) + " sec." +
               "   Allowable = " + FormatNumber(join.AllowableBearing, kFormatSeconds) + " sec.");
  list.AddLine("Diff in distance = " + FormatNumber(join.DistanceDiff, kFormatMetres) + " m " +
               "   Allowable = " + FormatNumber(join.AllowableDistance, kFormatMetres) + " m");
}

// The entries of the plan points that are PSMs, in entry order.
std::vector<std::size_t> PsmEntries(const Plan& plan) {
  std::vector<std::size_t> entries;
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const auto entry = static_cast<std::size_t>(i);
    if (plan.PlanPoints[entry].PointNo > kHighestOrdinaryPoint) entries.push_back(entry);
  }
  return entries;
}

void ShowClosingMessage(std::int64_t notAcceptable, MessageSink& sink) {
  if (notAcceptable == 1) {
    sink.Message("***** 1 JOIN WAS NOT ACCEPTABLE *****", kJoinComparisonTitle,
                 MessageIcon::Exclamation);
  } else if (notAcceptable > 1) {
    sink.Message("***** " + FormatNumber(static_cast<double>(notAcceptable), kFormatCount) +
                     " JOINS WERE NOT ACCEPTABLE *****",
                 kJoinComparisonTitle, MessageIcon::Exclamation);
  }
}

}  // namespace

bool CheckAccuracyCriterion(const CompareSettings& settings, MessageSink& sink) {
  if (settings.Criterion() != nullptr) return true;
  sink.Message("Unknown accuracy criterion: " + settings.AccuracyCriterionText(),
               kJoinComparisonTitle, MessageIcon::Exclamation);
  return false;
}

void CompareSummary::Count(JoinVerdict verdict) {
  switch (verdict) {
    case JoinVerdict::Acceptable:
      ++Acceptable;
      break;
    case JoinVerdict::NotAcceptable:
      ++NotAcceptable;
      break;
    case JoinVerdict::ScaledCoordinates:
      ++OrderAboveLimit;
      break;
    case JoinVerdict::MgaNotAvailable:
      ++MissingCoordinates;
      break;
    case JoinVerdict::PlanNotAvailable:
      ++UnsolvedPoints;
      break;
  }
}

std::string CompareSummary::Text() const {
  const auto n = [](std::int64_t count) {
    return FormatNumber(static_cast<double>(count), kFormatCount);
  };
  return n(Judged()) + (Judged() == 1 ? " join judged: " : " joins judged: ") + n(Acceptable) +
         " acceptable, " + n(NotAcceptable) + " not acceptable; " + n(NotCompared()) +
         " not compared (" + n(MissingCoordinates) + " missing coordinates, " + n(OrderAboveLimit) +
         " order above the limit, " + n(UnsolvedPoints) +
         (UnsolvedPoints == 1 ? " unsolved point)" : " unsolved points)");
}

bool IsNotAcceptableLine(std::string_view line) {
  const std::string_view verdict = VerdictText(JoinVerdict::NotAcceptable);
  return line.size() >= kVerdictColumn + verdict.size() &&
         line.substr(line.size() - verdict.size()) == verdict;
}

bool CheckMaxOrder(const CompareSettings& settings, MessageSink& sink) {
  const std::string order = settings.MaxOrderText();
  const bool blank = order.find_first_not_of(" \t") == std::string::npos;
  if (!blank && ReadStrictNumber(order).Status == NumberStatus::Ok) return true;
  sink.Message("Compare up to Order is not a number: " + order, kJoinComparisonTitle,
               MessageIcon::Exclamation);
  return false;
}

bool ReadPlanForCompare(const std::string& planIdentifier, Plan& plan, MessageSink& sink) {
  if (IsLandXmlPlan(planIdentifier)) return LoadLandXmlPlan(planIdentifier, sink, plan);
  LinesFileText text;
  if (ValidKESTRALfile(planIdentifier, sink, text) < 1) {
    sink.Message(kNoLinesFoundText, kValidKestralFileErrorTitle, MessageIcon::Exclamation);
    return false;
  }
  if (LoadLines(planIdentifier, text, sink, plan) != 1) return false;
  MarkLinesInUse(plan);
  return true;
}

std::int64_t ComparePSMJoins(const Plan& plan, JoinContext& context,
                             const CompareSettings& settings, ResultList& list, MessageSink& sink,
                             PendingEvents& events, JoinObserver* observer) {
  list.Clear();
  list.AddLine("Comparison of PSM joins for " + settings.PlanIdentifier());
  list.AddLine("");
  CompareSummary summary;
  {
    const BusyPointer busy(list);
    if (settings.TwoPsms() && !settings.Datum1Text().empty() && !settings.Datum2Text().empty()) {
      AddDatumSection(context, settings, list);
    }
    list.AddLine(" ");
    list.AddLine("From            To");
    list.AddLine(" ");

    const std::vector<std::size_t> psms = PsmEntries(plan);
    // The key of each PSM as the lines show it, written once.
    std::vector<std::string> keys;
    keys.reserve(psms.size());
    for (const std::size_t entry : psms) {
      keys.push_back(PointName(plan, plan.PlanPoints[entry].PointNo));
    }
    const std::size_t joins = psms.size() * (psms.size() - 1) / 2;
    list.Expect(joins);
    if (observer != nullptr) observer->Expect(joins);
    for (std::size_t a = 0; a < psms.size(); ++a) {
      const PlanPoint& from = plan.PlanPoints[psms[a]];
      for (std::size_t b = a + 1; b < psms.size(); ++b) {
        const PlanPoint& to = plan.PlanPoints[psms[b]];
        // The criterion is read afresh for every join, as the criterion box is.
        const JoinJudgement join = JudgeJoin(from, to, context, settings.Criterion());
        if (observer != nullptr) observer->Judged(psms[a], psms[b], join);
        const std::string_view verdict = VerdictText(join.Verdict);
        std::string line;
        line.reserve(std::max(kVerdictColumn, keys[a].size() + keys[b].size() + 2) +
                     verdict.size());
        line += keys[a];
        PadToColumn(line, kSecondKeyColumn);
        line += keys[b];
        PadToColumn(line, kVerdictColumn);
        line += verdict;
        list.AddLine(std::move(line));
        summary.Count(join.Verdict);
        if (join.Verdict == JoinVerdict::NotAcceptable) {
          AddDetailLines(join, list);
        } else if (join.Verdict == JoinVerdict::Acceptable && settings.FullDetails()) {
          AddDetailLines(join, list);
        }
        events.Process();
      }
    }
  }
  list.Summary(summary);
  ShowClosingMessage(summary.NotAcceptable, sink);
  return summary.NotAcceptable;
}

std::optional<std::int64_t> BuildAndComparePlan(const std::string& planIdentifier, Plan& plan,
                                                JoinContext& context,
                                                const CompareSettings& settings, ResultList& list,
                                                MessageSink& sink, PendingEvents& events,
                                                JoinObserver* observer) {
  try {
    BuildPlanPoints(plan, planIdentifier, sink);
    return ComparePSMJoins(plan, context, settings, list, sink, events, observer);
  } catch (const std::bad_alloc&) {
    sink.Message("Not enough memory for the comparison", kJoinComparisonTitle,
                 MessageIcon::Exclamation);
  } catch (const std::exception& error) {
    sink.Message(error.what(), kJoinComparisonTitle, MessageIcon::Exclamation);
  }
  return std::nullopt;
}

}  // namespace modKestralMGA
