#include "diagnosis/DiagnosisFinding.h"

#include <cmath>
#include <optional>

#include "common/NumberFormat.h"
#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

namespace {

std::string Count(int count, const char* one, const char* many) {
  return FormatNumber(count, kFormatCount) + " " + (count == 1 ? one : many);
}

std::string Metres(double metres) {
  return FormatNumber(metres, kFormatMetres) + " m";
}

std::string RenumberingFinding(const Diagnosis& diagnosis, const Renumbering& found) {
  return "Plan point " + FormatNumber(found.PlanPoint, kFormatKey) + " stands where the list has " +
         diagnosis.PsmName(found.ListedKey) +
         (found.SwappedDigits ? " (two neighbouring digits swapped)." : ".");
}

std::string PlanCheckFinding(const PlanCheck& check) {
  return "Line " + FormatNumber(check.From, kFormatKey) + "-" + FormatNumber(check.To, kFormatKey) +
         " does not close: " + Metres(check.Distance) + ", " +
         FormatNumber(check.BearingSeconds, kFormatSeconds) +
         " s; check its bearing and distance in the lines file.";
}

std::optional<double> ResidualOf(const Diagnosis& diagnosis, std::int32_t key) {
  for (const MarkDiagnosis& mark : diagnosis.Marks) {
    if (mark.Key == key && mark.ResidualEast && mark.ResidualNorth) {
      return std::hypot(*mark.ResidualEast, *mark.ResidualNorth);
    }
  }
  return std::nullopt;
}

std::string SuspectsFinding(const Diagnosis& diagnosis, int failedAsIs) {
  std::string names;
  int explained = 0;
  for (std::size_t i = 0; i < diagnosis.Suspects.size(); ++i) {
    const Suspect& suspect = diagnosis.Suspects[i];
    if (i > 0) names += i + 1 == diagnosis.Suspects.size() ? " and " : ", ";
    names += diagnosis.PsmName(suspect.Key);
    if (const std::optional<double> moved = ResidualOf(diagnosis, suspect.Key)) {
      names += " (" + Metres(*moved) + ")";
    }
    explained += suspect.Explains;
  }
  const bool one = diagnosis.Suspects.size() == 1;
  return std::string(one ? "Mark " : "Marks ") + names + (one ? " has" : " have") +
         " likely moved: " + (one ? "it explains " : "they explain ") +
         FormatNumber(explained, kFormatCount) + " of the " +
         Count(failedAsIs, "join not acceptable.", "joins not acceptable.");
}

std::string FitFinding(const Diagnosis& diagnosis, int failedAsIs) {
  const SimilarityFit& fit = *diagnosis.Fit;
  return FormatNumber(diagnosis.Summary.AcceptableAfterFit, kFormatCount) + " of the " +
         Count(failedAsIs, "join not acceptable", "joins not acceptable") +
         " pass after a rotation of " + FormatNumber(fit.RotationSeconds, kFormatSeconds) +
         " s and a scale of " + FormatNumber(fit.ScalePpm, kFormatSeconds) +
         " ppm: look at the plan's bearing datum and the average height, not at the marks.";
}

int UnlistedMarks(const Diagnosis& diagnosis) {
  int count = 0;
  for (const MarkDiagnosis& mark : diagnosis.Marks) count += mark.Listed ? 0 : 1;
  return count;
}

}  // namespace

std::string DiagnosisFinding(const Diagnosis& diagnosis) {
  const DiagnosisSummary& summary = diagnosis.Summary;
  const int failedAsIs = summary.AcceptableAfterFit + summary.NotAcceptable;
  const int unlisted = UnlistedMarks(diagnosis);
  if (!diagnosis.Renumberings.empty())
    return RenumberingFinding(diagnosis, diagnosis.Renumberings.front());
  if (!diagnosis.PlanChecks.empty() && !diagnosis.PlanChecks.front().Acceptable) {
    return PlanCheckFinding(diagnosis.PlanChecks.front());
  }
  if (!diagnosis.Suspects.empty()) return SuspectsFinding(diagnosis, failedAsIs);
  if (failedAsIs > 0 && diagnosis.Fit && 2 * summary.AcceptableAfterFit >= failedAsIs) {
    return FitFinding(diagnosis, failedAsIs);
  }
  if (failedAsIs > 0) {
    return Count(failedAsIs, "join is", "joins are") +
           " not acceptable and no single mark, rotation or scale explains " +
           (failedAsIs == 1 ? "it." : "them.");
  }
  if (summary.AcceptableAsIs == 0) {
    return unlisted > 0 ? "No join could be compared: " +
                              Count(unlisted, "PSM of the plan is", "PSMs of the plan are") +
                              " not in the mark list."
                        : "No join between two PSMs of the plan could be compared.";
  }
  if (unlisted > 0) {
    return "Every compared join is acceptable as it stands; " +
           Count(unlisted, "PSM of the plan is", "PSMs of the plan are") + " not in the mark list.";
  }
  return "Every compared join is acceptable as it stands.";
}

}  // namespace modKestralMGA
