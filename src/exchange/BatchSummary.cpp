#include "exchange/BatchSummary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "common/NumberFormat.h"
#include "exchange/CsvText.h"
#include "exchange/JsonNumbers.h"
#include "plan/PointNames.h"

namespace modKestralMGA {

namespace {

constexpr std::string_view kFormatFraction = "0.00";
constexpr std::array<std::string_view, 6> kTableHeadings = {
    "Judged", "Acceptable", "Not acceptable", "Not compared", "Worst bearing", "Worst distance"};
constexpr std::string_view kTableGap = "  ";

// The larger of the two fractions, a difference that is not a number counting above all.
double Badness(const WorstJoin& join) {
  const double larger = std::max(join.BearingFraction, join.DistanceFraction);
  if (std::isnan(join.BearingFraction) || std::isnan(join.DistanceFraction) || std::isnan(larger)) {
    return std::numeric_limits<double>::infinity();
  }
  return larger;
}

std::size_t PlanColumnWidth(const std::vector<std::string>& plans) {
  std::size_t width = std::string_view("Plan").size();
  for (const std::string& plan : plans) width = std::max(width, plan.size());
  return width;
}

void AddCell(std::string& line, std::string_view text, std::size_t width) {
  line += kTableGap;
  line += text;
  if (text.size() < width) line.append(width - text.size(), ' ');
}

std::string WithoutTrailingBlanks(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line + "\n";
}

std::string Fraction(const std::optional<WorstJoin>& worst, bool bearing) {
  if (!worst) return "";
  return FormatNumber(bearing ? worst->BearingFraction : worst->DistanceFraction, kFormatFraction);
}

}  // namespace

std::optional<WorstJoin> WorstJudgedJoin(const Plan& plan, const std::vector<JudgedJoin>& joins) {
  std::optional<WorstJoin> worst;
  for (const JudgedJoin& judged : joins) {
    const JoinJudgement& join = judged.Judgement;
    if (join.Verdict != JoinVerdict::Acceptable && join.Verdict != JoinVerdict::NotAcceptable) {
      continue;
    }
    WorstJoin candidate{PointName(plan, plan.PlanPoints[judged.FromEntry].PointNo),
                        PointName(plan, plan.PlanPoints[judged.ToEntry].PointNo),
                        join.BearingDiff / join.AllowableBearing,
                        join.DistanceDiff / join.AllowableDistance};
    if (!worst || Badness(candidate) > Badness(*worst)) worst = std::move(candidate);
  }
  return worst;
}

std::string SummaryTableHeader(const std::vector<std::string>& plans) {
  std::string line = "Plan";
  line.append(PlanColumnWidth(plans) - line.size(), ' ');
  for (const std::string_view heading : kTableHeadings) AddCell(line, heading, heading.size());
  return WithoutTrailingBlanks(line);
}

std::string SummaryTableLine(const PlanSummary& summary, const std::vector<std::string>& plans) {
  std::string line = summary.Plan;
  line.append(PlanColumnWidth(plans) - std::min(PlanColumnWidth(plans), line.size()), ' ');
  if (!summary.Failure.empty()) {
    return WithoutTrailingBlanks(line + std::string(kTableGap) +
                                 "could not be compared: " + summary.Failure);
  }
  const CompareSummary& counts = summary.Counts;
  const std::array<std::string, 6> cells = {
      FormatNumber(static_cast<double>(counts.Judged()), kFormatCount),
      FormatNumber(static_cast<double>(counts.Acceptable), kFormatCount),
      FormatNumber(static_cast<double>(counts.NotAcceptable), kFormatCount),
      FormatNumber(static_cast<double>(counts.NotCompared()), kFormatCount),
      summary.Worst ? Fraction(summary.Worst, true) : "-",
      summary.Worst ? Fraction(summary.Worst, false) : "-"};
  for (std::size_t i = 0; i < cells.size(); ++i) AddCell(line, cells[i], kTableHeadings[i].size());
  return WithoutTrailingBlanks(line);
}

std::string SummaryCsvHeader() {
  return CsvRecord({"plan", "compared", "joins_judged", "acceptable", "not_acceptable",
                    "not_compared", "worst_from", "worst_to", "worst_bearing_fraction",
                    "worst_distance_fraction", "failure"});
}

std::string SummaryCsvRecord(const PlanSummary& summary) {
  const bool compared = summary.Failure.empty();
  const auto count = [&](std::int64_t value) {
    return compared ? FormatNumber(static_cast<double>(value), kFormatCount) : std::string();
  };
  const CompareSummary& counts = summary.Counts;
  return CsvRecord({summary.Plan, compared ? "yes" : "no", count(counts.Judged()),
                    count(counts.Acceptable), count(counts.NotAcceptable),
                    count(counts.NotCompared()), summary.Worst ? summary.Worst->From : "",
                    summary.Worst ? summary.Worst->To : "", Fraction(summary.Worst, true),
                    Fraction(summary.Worst, false), summary.Failure});
}

std::string SummaryJsonLine(const PlanSummary& summary) {
  const bool compared = summary.Failure.empty();
  const CompareSummary& counts = summary.Counts;
  Json worst = nullptr;
  if (summary.Worst) {
    worst = {{"from", summary.Worst->From},
             {"to", summary.Worst->To},
             {"bearing_fraction", RoundedJson(summary.Worst->BearingFraction, kFormatFraction)},
             {"distance_fraction", RoundedJson(summary.Worst->DistanceFraction, kFormatFraction)}};
  }
  const Json line = {{"plan", summary.Plan},
                     {"compared", compared},
                     {"joins_judged", counts.Judged()},
                     {"acceptable", counts.Acceptable},
                     {"not_acceptable", counts.NotAcceptable},
                     {"not_compared", counts.NotCompared()},
                     {"worst", std::move(worst)},
                     {"failure", compared ? Json(nullptr) : Json(summary.Failure)}};
  return line.dump() + "\n";
}

}  // namespace modKestralMGA
