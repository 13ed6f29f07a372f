#include "exchange/DiagnosisJson.h"

#include <string_view>

#include "exchange/JsonNumbers.h"

namespace modKestralMGA {

namespace {

constexpr std::string_view kFormatHundredths = "0.00";
constexpr std::string_view kFormatTenthMillimetres = "0.0000";

Json SummaryJson(const DiagnosisSummary& summary) {
  return {{"joins_judged", summary.Judged},
          {"acceptable_as_is", summary.AcceptableAsIs},
          {"acceptable_after_fit", summary.AcceptableAfterFit},
          {"not_acceptable", summary.NotAcceptable},
          {"not_compared", summary.NotCompared},
          {"finding", summary.Finding}};
}

Json FitJson(const std::optional<SimilarityFit>& fit) {
  if (!fit) return nullptr;
  return {{"rotation_seconds", RoundedJson(fit->RotationSeconds, kFormatHundredths)},
          {"scale_ppm", RoundedJson(fit->ScalePpm, kFormatHundredths)},
          {"shift_east", RoundedJson(fit->ShiftEast, kFormatTenthMillimetres)},
          {"shift_north", RoundedJson(fit->ShiftNorth, kFormatTenthMillimetres)},
          {"rms_m", RoundedJson(fit->RmsMetres, kFormatTenthMillimetres)},
          {"marks_used", fit->MarksUsed}};
}

Json MarksJson(const Diagnosis& diagnosis) {
  Json marks = Json::array();
  for (const MarkDiagnosis& mark : diagnosis.Marks) {
    marks.push_back({{"psm", diagnosis.PsmName(mark.Key)},
                     {"key", diagnosis.IsNamed(mark.Key) ? Json(nullptr) : Json(mark.Key)},
                     {"joins", mark.Joins},
                     {"failed", mark.Failed},
                     {"residual_east_m", RoundedJson(mark.ResidualEast, kFormatTenthMillimetres)},
                     {"residual_north_m", RoundedJson(mark.ResidualNorth, kFormatTenthMillimetres)},
                     {"suspect", mark.Suspect}});
  }
  return marks;
}

Json FindingsJson(const Diagnosis& diagnosis, Json& renumbering, Json& checks) {
  Json suspects = Json::array();
  for (const Suspect& suspect : diagnosis.Suspects) {
    suspects.push_back({{"psm", diagnosis.PsmName(suspect.Key)}, {"explains", suspect.Explains}});
  }
  renumbering = Json::array();
  for (const Renumbering& found : diagnosis.Renumberings) {
    renumbering.push_back({{"plan_point", found.PlanPoint},
                           {"listed_psm", diagnosis.PsmName(found.ListedKey)},
                           {"distance_m", RoundedJson(found.Distance, kFormatTenthMillimetres)},
                           {"swapped_digits", found.SwappedDigits}});
  }
  checks = Json::array();
  for (const PlanCheck& check : diagnosis.PlanChecks) {
    checks.push_back({{"from", check.From},
                      {"to", check.To},
                      {"bearing_seconds", RoundedJson(check.BearingSeconds, kFormatHundredths)},
                      {"distance_m", RoundedJson(check.Distance, kFormatTenthMillimetres)},
                      {"acceptable", check.Acceptable}});
  }
  return suspects;
}

}  // namespace

std::string DiagnosisJson(const Diagnosis& diagnosis) {
  Json renumbering;
  Json checks;
  Json suspects = FindingsJson(diagnosis, renumbering, checks);
  Json object = {{"summary", SummaryJson(diagnosis.Summary)},
                 {"fit", FitJson(diagnosis.Fit)},
                 {"marks", MarksJson(diagnosis)},
                 {"suspects", std::move(suspects)},
                 {"renumbering", std::move(renumbering)},
                 {"plan_checks", std::move(checks)}};
  return object.dump(2) + "\n";
}

}  // namespace modKestralMGA
