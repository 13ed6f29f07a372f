#include "exchange/DiagnosisCsv.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "common/NumberFormat.h"
#include "exchange/CsvText.h"

namespace modKestralMGA {

namespace {

constexpr std::string_view kFormatTenthMillimetres = "0.0000";

std::string Residual(const std::optional<double>& metres) {
  return metres ? FormatNumber(*metres, kFormatTenthMillimetres) : std::string();
}

std::string Count(int count) {
  return FormatNumber(static_cast<double>(count), kFormatCount);
}

}  // namespace

std::string DiagnosisCsv(const Diagnosis& diagnosis) {
  std::string csv = CsvRecord({"psm", "key", "listed", "joins", "failed", "suspect", "explains",
                               "residual_east_m", "residual_north_m"});
  for (const MarkDiagnosis& mark : diagnosis.Marks) {
    const auto suspect = std::find_if(diagnosis.Suspects.begin(), diagnosis.Suspects.end(),
                                      [&](const Suspect& found) { return found.Key == mark.Key; });
    csv += CsvRecord({diagnosis.PsmName(mark.Key),
                      diagnosis.IsNamed(mark.Key) ? "" : FormatNumber(mark.Key, kFormatKey),
                      mark.Listed ? "yes" : "no", Count(mark.Joins), Count(mark.Failed),
                      mark.Suspect ? "yes" : "no",
                      suspect == diagnosis.Suspects.end() ? "" : Count(suspect->Explains),
                      Residual(mark.ResidualEast), Residual(mark.ResidualNorth)});
  }
  return csv;
}

}  // namespace modKestralMGA
