#include "cli/CompareCommand.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCompareSettings.h"
#include "cli/ExitStatus.h"
#include "cli/GeoJsonOutput.h"
#include "cli/MarkSources.h"
#include "cli/PrintPluginLoader.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "compare/CriteriaFile.h"
#include "compare/KeptResultList.h"
#include "compare/MixedMarks.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/DiagnosisText.h"
#include "exchange/DiagnosisCsv.h"
#include "exchange/DiagnosisJson.h"
#include "exchange/ResultFormats.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "reports/JoinDiagram.h"
#include "reports/JoinsReport.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {

namespace {

// Writes one joins report's bytes, composed by compose (false after a failure, its message
// shown), to standard output when name is "-", otherwise to the file through write. False after
// a failure; a failed write of standard output shows its line on err.
template <typename Compose, typename Write>
bool WriteOneReport(const std::string& name, std::ostream& out, std::ostream& err,
                    Compose&& compose, Write&& write) {
  if (name != kStandardStream) return write();
  std::string bytes;
  if (!compose(bytes)) return false;
  if (!WriteOutputText(bytes, out)) {
    OutputWriteFailed(err);
    return false;
  }
  return true;
}

// The joins report of the comparison, as the results window's Print gives it: saved to the
// --report file (as Print to file does) and printed to the --pdf file, each followed by "Print
// Joins: Printing completed"; "-" writes either to out. The date line is today's, in English.
// The saved report takes the comparison's judgements. The files are written through fileOps.
// False after a failure (its message shown).
bool WriteJoinsReports(const CompareArguments& arguments, const Plan& plan, JoinContext& context,
                       const ReportSettings& settings, const ComparedJoins& compared,
                       StreamMessageSink& sink, FileOps& fileOps, std::ostream& out,
                       std::ostream& err) {
  if (!arguments.Report && !arguments.Pdf) return true;
  const std::string date = EnglishDateText(LocalToday());
  if (arguments.Report) {
    const std::string& name = *arguments.Report;
    // On standard output the report goes out whole or not at all, as the result lines do: a
    // report that fails half-way leaves nothing there.
    const bool written = WriteOneReport(
        name, out, err,
        [&](std::string& bytes) {
          const auto keep = [&bytes](std::string_view piece) { bytes.append(piece); };
          return StreamSavedJoinsReport(plan, context, settings, date, keep, sink, &compared);
        },
        [&] {
          return SaveJoinsReport(name, plan, context, settings, date, sink, fileOps, &compared);
        });
    if (!written) return false;
    sink.Message(kPrintingCompletedText, kPrintJoinsTitle, MessageIcon::Exclamation);
  }
  if (arguments.Pdf) {
    const std::string& name = *arguments.Pdf;
    const bool written = WriteOneReport(
        name, out, err,
        [&](std::string& bytes) {
          const PrintFunctions* print = LoadPrintFunctions(name, kPrintJoinsErrorTitle, sink);
          return print && print->RenderPdf(name, plan, context, settings, date, bytes, sink);
        },
        [&] {
          return WriteRenderedFile(
              name, kPrintJoinsErrorTitle, sink, fileOps, [&](std::string& bytes) {
                const PrintFunctions* print = LoadPrintFunctions(name, kPrintJoinsErrorTitle, sink);
                return print && print->RenderPdf(name, plan, context, settings, date, bytes, sink);
              });
        });
    if (!written) return false;
    sink.Message(kPrintingCompletedText, kPrintJoinsTitle, MessageIcon::Exclamation);
  }
  return true;
}

// The join diagram of the comparison drawn into the --diagram file (SVG or PNG by its name), the
// title block dated today in English. False after a failure (its message shown).
bool WriteDiagramPicture(const CompareArguments& arguments, const Plan& plan, JoinContext& context,
                         const ReportSettings& settings, MessageSink& sink, FileOps& fileOps) {
  if (!arguments.Diagram) return true;
  const std::string& name = *arguments.Diagram;
  const PrintFunctions* print = LoadPrintFunctions(name, kSaveDiagramErrorTitle, sink);
  if (!print) return false;
  const JoinDiagram diagram = ComposeJoinDiagram(
      plan, context, settings, EnglishDateText(LocalToday()), arguments.Exaggeration);
  // The arguments refused a name of neither format.
  const DiagramFormat format = DiagramFormatOf(name).value();
  const DiagramPicture picture{arguments.DiagramWidth, arguments.DiagramHeight, false};
  return WriteRenderedFile(name, kSaveDiagramErrorTitle, sink, fileOps, [&](std::string& bytes) {
    return print->RenderPicture(name, format, diagram, picture, bytes, sink);
  });
}

// What a command writes to standard output once the comparison and its reports ran to their
// end: the result lines (their text, each line ended by a line feed), or what is made from the
// comparison's judgements.
using ResultWriter =
    std::function<bool(const Plan& plan, MarkIndex& index, const CliCompareSettings& settings,
                       std::string_view lines, const std::vector<JudgedJoin>& joins)>;

// Writes the compared plan's outputs: the joins reports, the GeoJSON file, then standard output
// (the result lines through write, or the one output named "-" in their place). The status.
int WriteComparison(const CompareArguments& arguments, const Plan& plan, JoinContext& context,
                    const CliCompareSettings& settings, const KeptResultList& results,
                    const ComparedJoins& compared, StreamMessageSink& sink, FileOps& fileOps,
                    std::ostream& out, std::ostream& err, const ResultWriter& write) {
  GeoJsonOutput map(arguments.Map);
  const bool composed = map.Compose(
      [&](const MapDefaults& defaults) {
        return CompareGeoJson(plan, context.Marks, compared.Joins, settings.PlanIdentifier(),
                              defaults);
      },
      sink);
  if (!composed ||
      !WriteJoinsReports(arguments, plan, context, settings, compared, sink, fileOps, out, err) ||
      !WriteDiagramPicture(arguments, plan, context, settings, sink, fileOps) ||
      !map.Save(sink, fileOps)) {
    return kExitFailed;
  }
  // A report or map sent to standard output takes the place of the result lines there.
  const bool reportOnOutput =
      arguments.Report == kStandardStream || arguments.Pdf == kStandardStream;
  const bool written =
      map.OnStandardOutput()
          ? WriteOutputText(map.Text(), out)
          : reportOnOutput || write(plan, context.Marks, settings, results.Text(), compared.Joins);
  return written ? kExitDone : OutputWriteFailed(err);
}

// The compare command's run, with the comparison's judgements kept for write, which writes in
// place of the result lines, when writeReadsJoins.
int RunComparison(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                  FileOps& fileOps, const ResultWriter& write, bool writeReadsJoins) {
  StreamMessageSink sink(err);
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink)) return kExitFailed;

  const std::optional<CriteriaTable> criteria = CriteriaOf(arguments, sink);
  if (!criteria) return kExitFailed;
  CliCompareSettings settings(arguments, *criteria);
  if (!CheckAccuracyCriterion(settings, sink) || !CheckMaxOrder(settings, sink)) {
    return kExitFailed;
  }
  settings.SetAverageHeightText(
      FormatNumber(AverageHeight(list, sink, kJoinComparisonTitle), kFormatMetres));
  // The window ends silently here; the batch program says why it produced nothing.
  if (list.RowCount() < 2) {
    sink.Message("Not enough coordinates in list", kJoinComparisonTitle, MessageIcon::Exclamation);
    return kExitFailed;
  }
  Plan plan;
  if (!ReadPlanForCompare(settings.PlanIdentifier(), plan, sink)) return kExitFailed;
  MarkIndex index(list);
  index.UseNames(plan.Names);
  if (!arguments.AllowMixed && RefuseMixedMarks(plan, index, sink)) return kExitFailed;
  // Once for the comparison and its reports together.
  const OffGridNotices notices(index, sink, kJoinComparisonTitle);
  JoinContext context{index, settings};
  KeptResultList results;
  NoPendingEvents noEvents;
  JudgementCollector judgements;
  // The reports take the comparison's judgements: nothing they depend on changes in between.
  const ComparedJoins compared{plan, judgements.Joins(),
                               ConditionsOf(context, settings.Criterion())};
  // Kept only for what reads them: the writer, the map, and the saved report.
  const bool keepJudgements = writeReadsJoins || arguments.Map.GeoJson || arguments.Report;
  const std::optional<std::int64_t> notAcceptable =
      BuildAndComparePlan(settings.PlanIdentifier(), plan, context, settings, results, sink,
                          noEvents, keepJudgements ? &judgements : nullptr);
  if (!notAcceptable) return kExitFailed;
  const int status = WriteComparison(arguments, plan, context, settings, results, compared, sink,
                                     fileOps, out, err, write);
  if (status != kExitDone) return status;
  return *notAcceptable > 0 ? kExitNotAcceptable : kExitDone;
}

}  // namespace

std::optional<CriteriaTable> CriteriaOf(const CompareArguments& arguments, MessageSink& sink) {
  if (!arguments.CriteriaFile) return BuiltInCriteria();
  try {
    return AddCriteriaFile(BuiltInCriteria(), *arguments.CriteriaFile);
  } catch (const FileError& e) {
    sink.Message(e.what(), kCriteriaFileErrorTitle, MessageIcon::Critical);
    return std::nullopt;
  }
}

int RunCompareCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                      FileOps& fileOps) {
  return RunComparison(
      arguments, out, err, fileOps,
      [&](const Plan& plan, MarkIndex&, const CliCompareSettings& settings, std::string_view lines,
          const std::vector<JudgedJoin>& joins) {
        switch (arguments.Format) {
          case OutputFormat::Csv:
            return WriteOutputText(CompareCsv(plan, joins), out);
          case OutputFormat::Json:
            return WriteOutputText(CompareJson(plan, joins, settings, arguments.Tertiary), out);
          case OutputFormat::Text:
            break;
        }
        return WriteOutputText(lines, out);
      },
      arguments.Format != OutputFormat::Text);
}

int RunDiagnoseCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                       FileOps& fileOps) {
  return RunComparison(
      arguments, out, err, fileOps,
      [&](const Plan& plan, MarkIndex& index, const CliCompareSettings& settings, std::string_view,
          const std::vector<JudgedJoin>& joins) {
        const Diagnosis diagnosis = Diagnose(plan, index, joins, settings.Criterion());
        switch (arguments.Format) {
          case OutputFormat::Csv:
            return WriteOutputText(DiagnosisCsv(diagnosis), out);
          case OutputFormat::Json:
            return WriteOutputText(DiagnosisJson(diagnosis), out);
          case OutputFormat::Text:
            break;
        }
        return WriteOutputLines(DiagnosisLines(diagnosis, settings.PlanIdentifier()), out);
      },
      true);
}

}  // namespace modKestralMGA
