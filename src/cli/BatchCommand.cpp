#include "cli/BatchCommand.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliCompareSettings.h"
#include "cli/CompareCommand.h"
#include "cli/ExitStatus.h"
#include "cli/MarkSources.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/PathResolve.h"
#include "common/TextFile.h"
#include "compare/ComparePSMJoins.h"
#include "compare/KeptResultList.h"
#include "compare/MixedMarks.h"
#include "exchange/BatchSummary.h"
#include "exchange/ResultFormats.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "reports/JoinsReport.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {

namespace {

namespace fs = std::filesystem;

// True for a file name ending in ".lns" in any letter case.
bool IsLinesFile(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".lns";
}

// The plans the arguments name, in order: each folder replaced by its .lns files (with those of
// its subfolders, in name order), then the lines of --plans-from (blank lines skipped). Says on
// err and gives nothing when --plans-from cannot be read or no plan is found.
std::optional<std::vector<std::string>> PlansOf(const BatchArguments& arguments,
                                                std::ostream& err) {
  std::vector<std::string> plans;
  for (const std::string& name : arguments.Plans) {
    std::error_code error;
    if (!fs::is_directory(name, error)) {
      plans.push_back(PlanIdentifierFromName(name));
      continue;
    }
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(name, error)) {
      if (entry.is_regular_file(error) && IsLinesFile(entry.path())) {
        found.push_back(PlanIdentifierFromName(entry.path().string()));
      }
    }
    std::sort(found.begin(), found.end());
    plans.insert(plans.end(), found.begin(), found.end());
  }
  if (arguments.PlansFrom) {
    // Read by the text-file rules of every file the program reads ("-" is standard input).
    const std::string& name = *arguments.PlansFrom;
    TextFile file;
    try {
      file = ReadTextFile(name == kStandardStream ? "/dev/stdin" : ResolvePath(name),
                          name == kStandardStream ? kStandardInputName : name, "list of plans");
    } catch (const FileError& error) {
      err << kCliName << ": --plans-from: " << error.what() << '\n';
      return std::nullopt;
    }
    LineSplitter lines(file.Bytes);
    for (std::string_view line; lines.Next(line);) {
      if (!IsBlankLine(line)) plans.push_back(PlanIdentifierFromName(std::string(line)));
    }
  }
  if (plans.empty()) {
    err << kCliName << ": no plan to compare\n";
    return std::nullopt;
  }
  return plans;
}

// What every plan's comparison shares, read-only while the threads run.
struct SharedBatch {
  const BatchArguments& Arguments;
  MarkIndex& Index;
  std::string AverageHeight;
  std::string Date;
  FileOps& Files;
  // The atomic file writer keeps one pending temporary file for its signal handler: the reports
  // are saved one at a time.
  std::mutex& ReportSaving;
  const CriteriaTable& Criteria;  // the shipped criteria and --criteria's
};

// The first line of messages, without its line feed.
std::string FirstLine(const std::string& messages) {
  return messages.substr(0, messages.find('\n'));
}

// Saves the compared plan's joins report in the --reports folder, when given, as the plan's file
// name + ".txt"; the failure's message, empty when saved.
std::string SaveReportOf(const SharedBatch& batch, const Plan& plan, JoinContext& context,
                         const CliCompareSettings& settings, const ComparedJoins& compared,
                         std::ostringstream& said, MessageSink& sink) {
  const std::optional<std::string>& folder = batch.Arguments.Reports;
  if (!folder) return {};
  const std::size_t before = said.str().size();
  const std::string name = fs::path(settings.PlanIdentifier()).filename().string() + ".txt";
  const std::lock_guard<std::mutex> saving(batch.ReportSaving);
  if (SaveJoinsReport((fs::path(*folder) / name).string(), plan, context, settings, batch.Date,
                      sink, batch.Files, &compared)) {
    return {};
  }
  return FirstLine(said.str().substr(before));
}

// Compares one plan: its summary, and its messages (each line prefixed with the plan) added to
// messages.
PlanSummary CompareOnePlan(const SharedBatch& batch, const std::string& planName,
                           std::string& messages) {
  std::ostringstream said;
  StreamMessageSink sink(said);
  CompareArguments compareArguments = batch.Arguments.Settings;
  compareArguments.Plan = planName;
  CliCompareSettings settings(compareArguments, batch.Criteria);
  settings.SetAverageHeightText(batch.AverageHeight);
  PlanSummary summary;
  summary.Plan = settings.PlanIdentifier();
  try {
    Plan plan;
    const bool read = ReadPlanForCompare(summary.Plan, plan, sink);
    // The shared index only reads; a plan with named marks looks them up in an index of its own.
    std::optional<MarkIndex> namedIndex;
    if (read && !plan.Names.Empty()) {
      namedIndex.emplace(batch.Index.List());
      namedIndex->UseNames(plan.Names);
    }
    JoinContext context{namedIndex ? *namedIndex : batch.Index, settings};
    KeptResultList results;
    NoPendingEvents noEvents;
    JudgementCollector judgements;
    MarkIndex& index = namedIndex ? *namedIndex : batch.Index;
    const ComparedJoins compared{plan, judgements.Joins(),
                                 ConditionsOf(context, settings.Criterion())};
    if (!read || (!compareArguments.AllowMixed && RefuseMixedMarks(plan, index, sink)) ||
        !BuildAndComparePlan(summary.Plan, plan, context, settings, results, sink, noEvents,
                             &judgements)) {
      summary.Failure = FirstLine(said.str());
    } else {
      summary.Counts = SummaryOf(judgements.Joins());
      summary.Worst = WorstJudgedJoin(plan, judgements.Joins());
      summary.Failure = SaveReportOf(batch, plan, context, settings, compared, said, sink);
    }
  } catch (const std::exception& error) {
    summary.Failure = error.what();
    said << error.what() << '\n';
  }
  std::istringstream lines(said.str());
  for (std::string line; std::getline(lines, line);) messages += summary.Plan + ": " + line + "\n";
  return summary;
}

// One plan's outcome, once its comparison is done.
struct PlanOutcome {
  PlanSummary Summary;
  std::string Messages;
};

// Compares the plans on jobs threads and hands each outcome to write in the order of plans, as
// soon as it and those before it are done. write returns false when it cannot write: the
// comparisons still end, nothing more is written, and false is returned.
template <typename Write>
bool ComparePlansInOrder(const SharedBatch& batch, const std::vector<std::string>& plans,
                         unsigned jobs, Write&& write) {
  std::vector<std::optional<PlanOutcome>> outcomes(plans.size());
  std::mutex mutex;
  std::condition_variable done;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next++) < plans.size();) {
      PlanOutcome outcome;
      outcome.Summary = CompareOnePlan(batch, plans[i], outcome.Messages);
      {
        const std::lock_guard<std::mutex> lock(mutex);
        outcomes[i] = std::move(outcome);
      }
      done.notify_all();
    }
  };
  bool written = true;
  {
    std::vector<std::jthread> threads;
    for (unsigned t = 0; t < std::min<std::size_t>(jobs, plans.size()); ++t) {
      threads.emplace_back(work);
    }
    for (std::size_t i = 0; i < plans.size(); ++i) {
      std::unique_lock<std::mutex> lock(mutex);
      done.wait(lock, [&] { return outcomes[i].has_value(); });
      PlanOutcome outcome = std::move(*outcomes[i]);
      outcomes[i].reset();
      lock.unlock();
      written = written && write(outcome);
    }
  }
  return written;
}

}  // namespace

int RunBatchCommand(const BatchArguments& arguments, std::ostream& out, std::ostream& err,
                    FileOps& fileOps) {
  StreamMessageSink sink(err);
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink)) return kExitFailed;
  const std::optional<CriteriaTable> criteria = CriteriaOf(arguments.Settings, sink);
  if (!criteria) return kExitFailed;
  CliCompareSettings settings(arguments.Settings, *criteria);
  if (!CheckAccuracyCriterion(settings, sink) || !CheckMaxOrder(settings, sink)) {
    return kExitFailed;
  }
  const std::string height =
      FormatNumber(AverageHeight(list, sink, kJoinComparisonTitle), kFormatMetres);
  if (list.RowCount() < 2) {
    sink.Message("Not enough coordinates in list", kJoinComparisonTitle, MessageIcon::Exclamation);
    return kExitFailed;
  }
  const std::optional<std::vector<std::string>> plans = PlansOf(arguments, err);
  if (!plans) return kExitFailed;
  std::error_code error;
  if (arguments.Reports && !fs::create_directories(*arguments.Reports, error) && error) {
    err << kCliName << ": cannot make the folder " << *arguments.Reports << '\n';
    return kExitFailed;
  }
  MarkIndex index(list);
  {
    // Every mark is read before the threads share the index; an off-grid one is told once here.
    const OffGridNotices notices(index, sink, kJoinComparisonTitle);
    index.ReadEveryRow();
  }
  std::mutex reportSaving;
  const std::string date = EnglishDateText(LocalToday());
  const SharedBatch batch{arguments, index, height, date, fileOps, reportSaving, *criteria};
  const unsigned jobs =
      arguments.Jobs > 0 ? arguments.Jobs : std::max(1u, std::thread::hardware_concurrency());
  bool failed = false;
  bool notAcceptable = false;
  const std::string header = arguments.Format == OutputFormat::Text  ? SummaryTableHeader(*plans)
                             : arguments.Format == OutputFormat::Csv ? SummaryCsvHeader()
                                                                     : std::string();
  const bool written =
      WriteOutputText(header, out) &&
      ComparePlansInOrder(batch, *plans, jobs, [&](const PlanOutcome& outcome) {
        const PlanSummary& summary = outcome.Summary;
        failed |= !summary.Failure.empty();
        notAcceptable |= summary.Counts.NotAcceptable > 0;
        err << outcome.Messages;
        err.flush();
        return WriteOutputText(arguments.Format == OutputFormat::Text
                                   ? SummaryTableLine(summary, *plans)
                               : arguments.Format == OutputFormat::Csv ? SummaryCsvRecord(summary)
                                                                       : SummaryJsonLine(summary),
                               out);
      });
  if (!written) return OutputWriteFailed(err);
  return failed ? kExitFailed : notAcceptable ? kExitNotAcceptable : kExitDone;
}

}  // namespace modKestralMGA
