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
#include "geodesy/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

// The results list of the batch program: the lines are kept until the comparison has ended, so
// that nothing reaches standard output from a command that fails.
class KeptResultList final : public ResultList {
 public:
  void Clear() override { m_lines.clear(); }
  void AddLine(std::string line) override { m_lines.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};

}  // namespace

int RunCompareCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.Report) {
    err << kCliName << ": --report is not available in this version\n";
    return kExitFailed;
  }
  StreamMessageSink sink(err);
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink, err)) return kExitFailed;

  CliCompareSettings settings(arguments);
  if (!CheckAccuracyCriterion(settings, sink)) return kExitFailed;
  settings.SetAverageHeightText(FormatNumber(AverageHeight(list), kFormatMetres));
  // The window ends silently here; the batch program says why it produced nothing.
  if (list.RowCount() < 2) {
    sink.Message("Not enough coordinates in list", kJoinComparisonTitle, MessageIcon::Exclamation);
    return kExitFailed;
  }
  Plan plan;
  if (!ReadPlanForCompare(settings.PlanIdentifier(), plan, sink)) return kExitFailed;

  MarkIndex index(list);
  JoinContext context{index, settings};
  KeptResultList results;
  NoPendingEvents noEvents;
  const std::optional<std::int64_t> notAcceptable =
      BuildAndComparePlan(plan, context, settings, results, sink, noEvents);
  if (!notAcceptable) return kExitFailed;
  // The joins report (--report) is written here, from the same plan and list, once it exists.
  if (!WriteOutputLines(results.Lines(), out)) return OutputWriteFailed(err);
  return *notAcceptable > 0 ? kExitNotAcceptable : kExitDone;
}

}  // namespace modKestralMGA
