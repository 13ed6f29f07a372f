#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compare/ComparePSMJoins.h"
#include "diagnosis/Diagnosis.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The judged join whose differences come nearest to its allowances, or go furthest beyond them:
// its keys and each difference as a fraction of its allowance (1 = at the allowance).
struct WorstJoin {
  std::string From;
  std::string To;
  double BearingFraction = 0.0;
  double DistanceFraction = 0.0;
};

// What the batch command found for one plan.
struct PlanSummary {
  std::string Plan;     // the plan identifier
  std::string Failure;  // why the plan could not be compared; empty when it was
  CompareSummary Counts;
  std::optional<WorstJoin> Worst;  // none when no join was judged
};

// The worst of the judged joins (acceptable or not) of plan: the one whose larger fraction is the
// largest, a difference that is not a number counting as the largest of all; the first such join
// on a tie. None when no join was judged.
std::optional<WorstJoin> WorstJudgedJoin(const Plan& plan, const std::vector<JudgedJoin>& joins);

// The summaries as a text table: the header line "Plan  Judged  Acceptable  Not acceptable  Not
// compared  Worst bearing  Worst distance" (the plan column as wide as the longest plan of
// plans), then one line per summary; the fractions with "0.00", "-" when no join was judged; a
// plan that could not be compared has "could not be compared: " + the failure after its name.
// Lines end with a line feed.
std::string SummaryTableHeader(const std::vector<std::string>& plans);
std::string SummaryTableLine(const PlanSummary& summary, const std::vector<std::string>& plans);

// The summaries as CSV: the header "plan,compared,joins_judged,acceptable,not_acceptable,
// not_compared,worst_from,worst_to,worst_bearing_fraction,worst_distance_fraction,failure" and
// one record a plan (compared yes or no; fractions with "0.00"; empty fields where there is
// nothing to say). Records end with CR LF.
std::string SummaryCsvHeader();
std::string SummaryCsvRecord(const PlanSummary& summary);

// One summary as a line of JSON Lines: {"plan", "compared", "joins_judged", "acceptable",
// "not_acceptable", "not_compared", "worst": {"from", "to", "bearing_fraction",
// "distance_fraction"} or null, "failure": text or null}, ended by a line feed.
std::string SummaryJsonLine(const PlanSummary& summary);

}  // namespace modKestralMGA
