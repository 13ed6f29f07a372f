#include "cli/CompareCommand.h"

#include <optional>
#include <string>
#include <vector>

#include "cli/CliCompareSettings.h"
#include "cli/ExitStatus.h"
#include "cli/MarkSources.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "compare/KeptResultList.h"
#include "geodesy/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "reports/JoinsReport.h"
#include "reports/ReportDate.h"
#include "reports/ui/PdfReport.h"

namespace modKestralMGA {

namespace {

// The joins report of the comparison, as the results window's Print gives it: saved to the
// --report file (as Print to file does) and printed to the --pdf file, each followed by "Print
// Joins: Printing completed". The date line is today's, in English. The report file is replaced
// through fileOps. False after a failure (its message shown).
bool WriteJoinsReports(const CompareArguments& arguments, const Plan& plan, JoinContext& context,
                       const ReportSettings& settings, MessageSink& sink, FileOps& fileOps) {
  if (!arguments.Report && !arguments.Pdf) return true;
  const std::string date = EnglishDateText(LocalToday());
  if (arguments.Report) {
    if (!SaveJoinsReport(*arguments.Report, plan, context, settings, date, sink, fileOps)) {
      return false;
    }
    sink.Message(kPrintingCompletedText, kPrintJoinsTitle, MessageIcon::Exclamation);
  }
  if (arguments.Pdf) {
    if (!PrintJoinsReportToPdf(*arguments.Pdf, plan, context, settings, date, sink)) return false;
    sink.Message(kPrintingCompletedText, kPrintJoinsTitle, MessageIcon::Exclamation);
  }
  return true;
}

}  // namespace

int RunCompareCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                      FileOps& fileOps) {
  StreamMessageSink sink(err);
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink)) return kExitFailed;

  CliCompareSettings settings(arguments);
  if (!CheckAccuracyCriterion(settings, sink)) return kExitFailed;
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
  // Once for the comparison and its reports together.
  const OffGridNotices notices(index, sink, kJoinComparisonTitle);
  JoinContext context{index, settings};
  KeptResultList results;
  NoPendingEvents noEvents;
  const std::optional<std::int64_t> notAcceptable = BuildAndComparePlan(
      settings.PlanIdentifier(), plan, context, settings, results, sink, noEvents);
  if (!notAcceptable) return kExitFailed;
  if (!WriteJoinsReports(arguments, plan, context, settings, sink, fileOps)) return kExitFailed;
  if (!WriteOutputLines(results.Lines(), out)) return OutputWriteFailed(err);
  return *notAcceptable > 0 ? kExitNotAcceptable : kExitDone;
}

}  // namespace modKestralMGA
