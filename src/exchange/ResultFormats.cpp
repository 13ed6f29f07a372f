#include "exchange/ResultFormats.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "exchange/CsvText.h"
#include "exchange/JsonNumbers.h"
#include "exchange/JudgedJoinJson.h"
#include "plan/PointNames.h"

namespace modKestralMGA {

namespace {

// The values of a judged join after its two keys, with the format each is written with.
constexpr std::size_t kJoinValues = 9;
constexpr std::array<std::string_view, kJoinValues> kJoinValueNames = {
    "plan_bearing",      "plan_distance_m",           "mga_bearing",
    "ground_distance_m", "combined_scale_factor",     "bearing_diff_seconds",
    "distance_diff_m",   "allowable_bearing_seconds", "allowable_distance_m"};
constexpr std::array<std::string_view, kJoinValues> kJoinValueFormats = {
    kFormatBearing, kFormatMetres, kFormatBearing, kFormatMetres, kFormatScaleFactor,
    kFormatSeconds, kFormatMetres, kFormatSeconds, kFormatMetres};

std::string_view VerdictWord(JoinVerdict verdict) {
  switch (verdict) {
    case JoinVerdict::Acceptable:
      return "acceptable";
    case JoinVerdict::NotAcceptable:
      return "not_acceptable";
    case JoinVerdict::ScaledCoordinates:
      return "order_above_limit";
    case JoinVerdict::MgaNotAvailable:
      return "mga_not_available";
    case JoinVerdict::PlanNotAvailable:
      break;
  }
  return "plan_not_available";
}

// One judged join as written: the keys, the values the comparison reached, the verdict.
struct JoinFields {
  std::string From;
  std::string To;
  std::array<std::optional<double>, kJoinValues> Values;
  JoinVerdict Verdict = JoinVerdict::PlanNotAvailable;
};

JoinFields FieldsOf(const Plan& plan, const JudgedJoin& judged) {
  const JoinJudgement& join = judged.Judgement;
  JoinFields fields;
  fields.From = PointName(plan, plan.PlanPoints[judged.FromEntry].PointNo);
  fields.To = PointName(plan, plan.PlanPoints[judged.ToEntry].PointNo);
  fields.Verdict = join.Verdict;
  if (join.Verdict == JoinVerdict::PlanNotAvailable) return fields;
  fields.Values[0] = join.PlanBearing;
  fields.Values[1] = join.PlanDistance;
  if (join.Verdict != JoinVerdict::Acceptable && join.Verdict != JoinVerdict::NotAcceptable) {
    return fields;
  }
  const std::array<double, kJoinValues> reached = {
      join.PlanBearing, join.PlanDistance, join.MgaBearing,       join.MgaDistance,      join.Csf,
      join.BearingDiff, join.DistanceDiff, join.AllowableBearing, join.AllowableDistance};
  for (std::size_t i = 0; i < kJoinValues; ++i) fields.Values[i] = reached[i];
  return fields;
}

Json SummaryJson(const CompareSummary& summary) {
  return {{"joins_judged", summary.Judged()},
          {"acceptable", summary.Acceptable},
          {"not_acceptable", summary.NotAcceptable},
          {"not_compared", summary.NotCompared()},
          {"missing_coordinates", summary.MissingCoordinates},
          {"order_above_limit", summary.OrderAboveLimit},
          {"unsolved_points", summary.UnsolvedPoints}};
}

std::string_view EllipsoidWord(DistanceCalculationMode mode) {
  switch (mode) {
    case DistanceCalculationMode::AMG84:
      return "amg";
    case DistanceCalculationMode::Plane:
      return "plane";
    case DistanceCalculationMode::MGA94_2020:
      break;
  }
  return "mga";
}

Json CompareSettingsJson(const CompareSettings& settings, bool tertiary) {
  Json datum = nullptr;
  if (tertiary) {
    datum = "tertiary";
  } else if (settings.TwoPsms()) {
    datum = {{"from", settings.Datum1Text()}, {"to", settings.Datum2Text()}};
  }
  return {{"criterion", settings.AccuracyCriterionText()},
          {"max_order", settings.MaxOrderText()},
          {"average_height_m", NumericValue(settings.AverageHeightText())},
          {"ellipsoid", EllipsoidWord(settings.CalculationMode())},
          {"bearing_datum", std::move(datum)}};
}

constexpr std::array<std::string_view, kJoinListColumns> kJoinsRowNames = {
    "from", "to", "bearing", "distance_m", "combined_scale_factor"};

}  // namespace

CompareSummary SummaryOf(const std::vector<JudgedJoin>& joins) {
  CompareSummary summary;
  for (const JudgedJoin& join : joins) summary.Count(join.Judgement.Verdict);
  return summary;
}

std::string CompareCsv(const Plan& plan, const std::vector<JudgedJoin>& joins) {
  std::vector<std::string> header = {"from", "to"};
  header.insert(header.end(), kJoinValueNames.begin(), kJoinValueNames.end());
  header.emplace_back("verdict");
  std::string csv = CsvRecord(header);
  for (const JudgedJoin& judged : joins) {
    const JoinFields fields = FieldsOf(plan, judged);
    std::vector<std::string> record = {fields.From, fields.To};
    for (std::size_t i = 0; i < kJoinValues; ++i) {
      const std::optional<double>& value = fields.Values[i];
      record.push_back(value ? FormatNumber(*value, kJoinValueFormats[i]) : std::string());
    }
    record.emplace_back(VerdictWord(fields.Verdict));
    csv += CsvRecord(record);
  }
  return csv;
}

Json JudgedJoinJson(const Plan& plan, const JudgedJoin& judged) {
  const JoinFields fields = FieldsOf(plan, judged);
  Json join = {{"from", fields.From}, {"to", fields.To}};
  for (std::size_t i = 0; i < kJoinValues; ++i) {
    join[std::string(kJoinValueNames[i])] = RoundedJson(fields.Values[i], kJoinValueFormats[i]);
  }
  join["verdict"] = VerdictWord(fields.Verdict);
  return join;
}

std::string CompareJson(const Plan& plan, const std::vector<JudgedJoin>& joins,
                        const CompareSettings& settings, bool tertiary) {
  Json joinsJson = Json::array();
  for (const JudgedJoin& judged : joins) joinsJson.push_back(JudgedJoinJson(plan, judged));
  const Json object = {{"plan", settings.PlanIdentifier()},
                       {"settings", CompareSettingsJson(settings, tertiary)},
                       {"joins", std::move(joinsJson)},
                       {"summary", SummaryJson(SummaryOf(joins))}};
  return object.dump(2) + "\n";
}

std::string JoinsCsv(const std::vector<JoinListRow>& rows) {
  std::string csv = CsvRecord({kJoinsRowNames.begin(), kJoinsRowNames.end()});
  for (const JoinListRow& row : rows) csv += CsvRecord({row.begin(), row.end()});
  return csv;
}

Json JoinRowJson(const JoinListRow& row) {
  Json join = {{"from", row[0]}, {"to", row[1]}};
  for (std::size_t i = 2; i < kJoinListColumns; ++i) {
    join[std::string(kJoinsRowNames[i])] = NumericValue(row[i]);
  }
  return join;
}

std::string JoinsJson(const std::vector<JoinListRow>& rows, const JoinSettings& settings) {
  Json joins = Json::array();
  for (const JoinListRow& row : rows) joins.push_back(JoinRowJson(row));
  const Json object = {{"settings",
                        {{"ellipsoid", EllipsoidWord(settings.CalculationMode())},
                         {"max_order", settings.MaxOrderText()},
                         {"average_height_m", NumericValue(settings.AverageHeightText())}}},
                       {"joins", std::move(joins)}};
  return object.dump(2) + "\n";
}

}  // namespace modKestralMGA
