#include "diagnosis/DiagnosisText.h"

#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kJoinsColumn = 15;
constexpr std::size_t kFailedColumn = 23;
constexpr std::size_t kEastColumn = 31;
constexpr std::size_t kNorthColumn = 43;
constexpr std::size_t kSuspectColumn = 55;

std::string Counted(const char* label, int count) {
  return std::string(label) + FormatNumber(count, kFormatCount);
}

std::string Residual(const std::optional<double>& metres) {
  return metres ? FormatNumber(*metres, kFormatMetres) : "-";
}

void AddSummary(const DiagnosisSummary& summary, std::vector<std::string>& lines) {
  lines.push_back(Counted("Joins judged: ", summary.Judged));
  lines.push_back(Counted("Acceptable as-is: ", summary.AcceptableAsIs));
  lines.push_back(Counted("Acceptable after fit: ", summary.AcceptableAfterFit));
  lines.push_back(Counted("Not acceptable: ", summary.NotAcceptable));
  lines.push_back(Counted("Not compared: ", summary.NotCompared));
  lines.push_back("Finding: " + summary.Finding);
}

void AddFit(const std::optional<SimilarityFit>& fit, std::vector<std::string>& lines) {
  lines.push_back("");
  lines.push_back(DiagnosisFitLine(fit));
  if (!fit) return;
  lines.push_back("Shift east " + FormatNumber(fit->ShiftEast, kFormatMetres) + " m, north " +
                  FormatNumber(fit->ShiftNorth, kFormatMetres) + " m");
}

void AddMarks(const Diagnosis& diagnosis, std::vector<std::string>& lines) {
  lines.push_back("");
  lines.push_back("PSM            Joins   Failed  Res. East   Res. North");
  for (const MarkDiagnosis& mark : diagnosis.Marks) {
    std::string line = diagnosis.PsmName(mark.Key);
    PadToColumn(line, kJoinsColumn);
    line += FormatNumber(mark.Joins, kFormatCount);
    PadToColumn(line, kFailedColumn);
    line += FormatNumber(mark.Failed, kFormatCount);
    PadToColumn(line, kEastColumn);
    line += Residual(mark.ResidualEast);
    PadToColumn(line, kNorthColumn);
    line += Residual(mark.ResidualNorth);
    if (mark.Suspect) {
      PadToColumn(line, kSuspectColumn);
      line += "suspect";
    } else if (!mark.Listed) {
      PadToColumn(line, kSuspectColumn);
      line += "not in list";
    } else if (mark.Joins == 0) {
      PadToColumn(line, kSuspectColumn);
      line += "not compared";
    }
    lines.push_back(std::move(line));
  }
}

}  // namespace

std::vector<std::string> DiagnosisLines(const Diagnosis& diagnosis,
                                        const std::string& planIdentifier) {
  std::vector<std::string> lines;
  lines.push_back("Diagnosis of PSM joins for " + planIdentifier);
  lines.push_back("");
  AddSummary(diagnosis.Summary, lines);
  AddFit(diagnosis.Fit, lines);
  AddMarks(diagnosis, lines);
  const std::vector<std::string> findings = DiagnosisFindingLines(diagnosis);
  if (!findings.empty()) {
    lines.push_back("");
    lines.insert(lines.end(), findings.begin(), findings.end());
  }
  return lines;
}

std::string DiagnosisFitLine(const std::optional<SimilarityFit>& fit) {
  if (!fit) return "Fit: fewer than two PSMs with MGA coordinates";
  return "Fit from " + Counted("", fit->MarksUsed) + " marks: rotation " +
         FormatNumber(fit->RotationSeconds, kFormatSeconds) + " sec, scale " +
         FormatNumber(fit->ScalePpm, kFormatSeconds) + " ppm, RMS " +
         (fit->RmsMetres ? FormatNumber(*fit->RmsMetres, kFormatMetres) + " m" : "-");
}

std::vector<std::string> DiagnosisFindingLines(const Diagnosis& diagnosis) {
  std::vector<std::string> lines;
  for (const Suspect& suspect : diagnosis.Suspects) {
    lines.push_back("Suspect " + diagnosis.PsmName(suspect.Key) + " explains " +
                    Counted("", suspect.Explains) + " failed joins");
  }
  for (const Renumbering& found : diagnosis.Renumberings) {
    lines.push_back("Plan point " + FormatNumber(found.PlanPoint, kFormatKey) +
                    " stands where the list has " + diagnosis.PsmName(found.ListedKey) + " (" +
                    FormatNumber(found.Distance, kFormatMetres) + " m" +
                    (found.SwappedDigits ? ", two neighbouring digits swapped)" : ")"));
  }
  for (const PlanCheck& check : diagnosis.PlanChecks) {
    if (check.Acceptable) break;
    lines.push_back("line " + FormatNumber(check.From, kFormatKey) + "-" +
                    FormatNumber(check.To, kFormatKey) +
                    " does not close: " + FormatNumber(check.Distance, kFormatMetres) + " m, " +
                    FormatNumber(check.BearingSeconds, kFormatSeconds) + " s");
  }
  return lines;
}

}  // namespace modKestralMGA
