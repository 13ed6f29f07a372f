#include "reports/JoinsReport.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "compare/JoinJudgement.h"
#include "diagnosis/Diagnosis.h"
#include "diagnosis/DiagnosisText.h"
#include "marks/MarkListRules.h"
#include "plan/PointNames.h"
#include "reports/BearingDatumReport.h"
#include "reports/PsmListReport.h"

namespace modKestralMGA {

namespace {

// The columns of the full block: "To" and the second point number, the bearings, the
// distances, and "(KESTRAL)"/"(MGA)".
struct BlockColumns {
  int To;
  int Bearing;
  int Distance;
  int Source;
};
constexpr BlockColumns kPrintedColumns = {15, 30, 45, 60};
constexpr BlockColumns kSavedColumns = {12, 25, 40, 55};

// The columns of the verdict lines, the same in both forms.
constexpr int kNotAcceptableColumn = 25;
constexpr int kNotAvailableColumn = 30;
constexpr int kAcceptableColumn = 35;

constexpr std::string_view kRule =
    "-----------------------------------------------------------------";

void WriteLine(std::string_view text, ColumnWriter& out) {
  out.Text(text);
  out.EndLine();
}

void WriteHeading(const ReportSettings& settings, const std::string& dateText, ColumnWriter& out) {
  WriteLine(kRule, out);
  WriteLine("Joins between Permanent Survey Marks in plan " + settings.PlanIdentifier(), out);
  WriteLine(kRule, out);
  WriteLine("Printed on " + dateText, out);
  WriteLine("Accuracy Criterion = " + settings.AccuracyCriterionText(), out);
  // A criterion of the user's own file is not one every reader knows: its formulas go with it.
  if (const AccuracyCriterion* criterion = settings.Criterion();
      criterion != nullptr && criterion->UserDefined) {
    WriteLine(criterion->BearingFormula(), out);
    WriteLine(criterion->DistanceFormula(), out);
  }
  WriteLine("Average Height of survey = " + settings.AverageHeightText() + " metres", out);
  out.EndLine();
}

// The two PSMs of a join as the report shows them (PointName).
struct JoinNames {
  std::string From;
  std::string To;
};

// One side of the join in the full block: the two point numbers, bearing, distance, source.
void WriteJoinLine(const JoinNames& names, double bearing, double distance, std::string_view source,
                   const BlockColumns& columns, ColumnWriter& out) {
  out.Field(1, names.From);
  out.Field(columns.To, names.To);
  out.Field(columns.Bearing, NumberText(bearing, kFormatBearing));
  out.Field(columns.Distance, NumberText(distance, kFormatMetres));
  out.Field(columns.Source, source);
  out.EndLine();
}

// "Diff in bearing = 17.0 sec. Allowable = 10.3 sec.", and so for the distance in metres.
void WriteDifference(std::string_view quantity, double difference, double allowable,
                     std::string_view format, std::string_view unit, ColumnWriter& out) {
  out.Text("Diff in ");
  out.Text(quantity);
  out.Text(" = ");
  out.Text(NumberText(difference, format));
  out.Text(" ");
  out.Text(unit);
  out.Text(" Allowable = ");
  out.Text(NumberText(allowable, format));
  out.Text(" ");
  out.Text(unit);
  out.EndLine();
}

// The six lines of the full block, before its verdict line.
void WriteFullBlock(const JoinNames& names, const JoinJudgement& join, const BlockColumns& columns,
                    ColumnWriter& out) {
  out.Field(1, "From");
  out.Field(columns.To, "To");
  out.Field(columns.Bearing, "Bearing");
  out.Field(columns.Distance, "Distance");
  out.EndLine();
  WriteJoinLine(names, join.PlanBearing, join.PlanDistance, "(KESTRAL)", columns, out);
  WriteJoinLine(names, join.MgaBearing, join.MgaDistance, "(MGA)", columns, out);
  out.Text("Combined Scale Factor = ");
  out.Text(NumberText(join.Csf, kFormatScaleFactor));
  out.EndLine();
  WriteDifference("bearing", join.BearingDiff, join.AllowableBearing, kFormatSeconds, "sec.", out);
  WriteDifference("distance", join.DistanceDiff, join.AllowableDistance, kFormatMetres, "m", out);
}

// The block of one pair, and the empty line after it.
void WriteJoinBlock(const JoinNames& names, const JoinJudgement& join, bool fullJoins,
                    const BlockColumns& columns, ColumnWriter& out) {
  const std::string_view verdict = VerdictText(join.Verdict);
  const bool fullBlock = join.Verdict == JoinVerdict::NotAcceptable ||
                         (join.Verdict == JoinVerdict::Acceptable && fullJoins);
  if (fullBlock) {
    WriteFullBlock(names, join, columns, out);
  } else {
    out.Field(1, names.From);
    out.Text(" to ");
    out.Text(names.To);
  }
  switch (join.Verdict) {
    case JoinVerdict::NotAcceptable:
      out.Field(kNotAcceptableColumn, verdict);
      break;
    case JoinVerdict::Acceptable:
      out.Field(kAcceptableColumn, verdict);
      break;
    case JoinVerdict::ScaledCoordinates:
    case JoinVerdict::MgaNotAvailable:
    case JoinVerdict::PlanNotAvailable:
      out.Field(kNotAvailableColumn, verdict);
      break;
  }
  out.EndLine();
  out.EndLine();
}

// The printed page holds lines this long in the report's font; a longer line of the diagnosis
// (the finding, a renumbering) goes on under itself, indented.
constexpr std::size_t kPrintedWidth = 80;
constexpr std::string_view kContinued = "    ";

// line on the printed page: broken at the last blank that keeps each piece within the width (or
// at the width, when a piece has no blank), every piece after the first indented.
void WritePrintedLine(std::string_view line, ColumnWriter& out) {
  std::string_view indent;
  while (indent.size() + line.size() > kPrintedWidth) {
    const std::size_t room = kPrintedWidth - indent.size();
    std::size_t cut = line.rfind(' ', room);
    if (cut == std::string_view::npos || cut == 0) cut = room;
    out.Text(indent);
    WriteLine(line.substr(0, cut), out);
    line.remove_prefix(cut);
    while (line.starts_with(' ')) line.remove_prefix(1);
    indent = kContinued;
  }
  out.Text(indent);
  WriteLine(line, out);
}

// The diagnosis of the joins the report judged, after the last block: the title between two
// rules, then the diagnosis as its text gives it (on the printed page, long lines broken).
void WriteDiagnosisSection(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                           const std::vector<JudgedJoin>& joins, const AccuracyCriterion* criterion,
                           ReportForm form, ColumnWriter& out) {
  const Diagnosis diagnosis = Diagnose(plan, context.Marks, joins, criterion);
  const std::vector<std::string> lines = DiagnosisLines(diagnosis, settings.PlanIdentifier());
  WriteLine(kRule, out);
  WriteLine(lines.front(), out);
  WriteLine(kRule, out);
  for (auto line = std::next(lines.begin()); line != lines.end(); ++line) {
    if (form == ReportForm::Printed) {
      WritePrintedLine(*line, out);
    } else {
      WriteLine(*line, out);
    }
  }
}

// The judgement of each pair of PSMs in the report's order: the comparison's, when it was given
// for this plan under the conditions the report judges in and lists the pair where the report
// comes to it; otherwise the pair judged afresh.
class PairJudge {
 public:
  PairJudge(const Plan& plan, JoinContext& context, const AccuracyCriterion* criterion,
            const ComparedJoins* compared)
      : m_context(context), m_criterion(criterion) {
    if (compared != nullptr && &compared->ComparedPlan == &plan &&
        compared->Conditions == ConditionsOf(context, criterion)) {
      m_compared = &compared->Joins;
    }
  }

  JoinJudgement operator()(const Plan& plan, std::size_t fromEntry, std::size_t toEntry) {
    if (m_compared != nullptr && m_next < m_compared->size()) {
      const JudgedJoin& judged = (*m_compared)[m_next++];
      if (judged.FromEntry == fromEntry && judged.ToEntry == toEntry) return judged.Judgement;
    }
    m_compared = nullptr;
    return JudgeJoin(plan.PlanPoints[fromEntry], plan.PlanPoints[toEntry], m_context, m_criterion);
  }

 private:
  JoinContext& m_context;
  const AccuracyCriterion* m_criterion;
  const std::vector<JudgedJoin>* m_compared = nullptr;
  std::size_t m_next = 0;
};

// Runs a report routine in the trap of its command: a failure shows its description under
// title (exclamation) and gives false.
template <typename Routine>
bool InReportTrap(const char* title, MessageSink& sink, Routine&& routine) {
  try {
    return routine();
  } catch (const std::exception& failure) {
    sink.Message(failure.what(), title, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace

bool WriteJoinsReport(ReportForm form, const Plan& plan, JoinContext& context,
                      const ReportSettings& settings, const std::string& dateText,
                      ColumnWriter& out, MessageSink& sink, const ComparedJoins* compared) {
  if (!CheckAccuracyCriterion(settings, sink)) return false;
  // The commands refuse such a height before they start; the report never shows one.
  const std::string height = settings.AverageHeightText();
  if (!HeightWithinLimit(height)) throw KestralError(HeightBeyondLimitText(height));
  const AccuracyCriterion* criterion = settings.Criterion();
  const bool fullJoins = settings.PrintFullJoins();
  const BlockColumns& columns = form == ReportForm::Printed ? kPrintedColumns : kSavedColumns;

  if (settings.PrintPsmList()) {
    if (form == ReportForm::Printed) {
      PrintPSMList(context.Marks.List(), settings.PlanIdentifier(), out);
      out.EndLine();
    } else {
      WriteSavedPsmList(context.Marks.List(), settings.PlanIdentifier(), out);
    }
  }
  WriteHeading(settings, dateText, out);
  if (settings.TwoPsms()) BearingDatumReport(plan, context, settings, out, sink);

  // The diagnosis studies the judgements the blocks were written from: no join is judged twice.
  JudgementCollector judgements;
  PairJudge judge(plan, context, criterion, compared);
  const std::int64_t last =
      std::min<std::int64_t>(plan.PlanPointCount, std::ssize(plan.PlanPoints) - 1);
  for (std::int64_t i = 0; i < last; ++i) {
    const auto fromEntry = static_cast<std::size_t>(i);
    const PlanPoint& from = plan.PlanPoints[fromEntry];
    if (from.PointNo <= kHighestOrdinaryPoint) continue;
    for (std::int64_t j = i + 1; j <= last; ++j) {
      const auto toEntry = static_cast<std::size_t>(j);
      const PlanPoint& to = plan.PlanPoints[toEntry];
      if (to.PointNo <= kHighestOrdinaryPoint) continue;
      const JoinJudgement join = judge(plan, fromEntry, toEntry);
      if (settings.PrintDiagnosis()) judgements.Judged(fromEntry, toEntry, join);
      WriteJoinBlock({PointName(plan, from.PointNo), PointName(plan, to.PointNo)}, join, fullJoins,
                     columns, out);
    }
  }
  if (settings.PrintDiagnosis()) {
    WriteDiagnosisSection(plan, context, settings, judgements.Joins(), criterion, form, out);
  }
  return true;
}

bool PrintJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                      const std::string& dateText, ColumnWriter& printer, MessageSink& sink) {
  return InReportTrap(kPrintJoinsErrorTitle, sink, [&] {
    return WriteJoinsReport(ReportForm::Printed, plan, context, settings, dateText, printer, sink);
  });
}

bool StreamSavedJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                            const std::string& dateText, const TextColumnWriter::Output& output,
                            MessageSink& sink, const ComparedJoins* compared) {
  return InReportTrap(kSaveJoinsErrorTitle, sink, [&] {
    TextColumnWriter text(output);
    if (!WriteJoinsReport(ReportForm::Saved, plan, context, settings, dateText, text, sink,
                          compared)) {
      return false;
    }
    text.Finish();
    return true;
  });
}

bool SaveJoinsReport(const std::string& path, const Plan& plan, JoinContext& context,
                     const ReportSettings& settings, const std::string& dateText, MessageSink& sink,
                     FileOps& ops, const ComparedJoins* compared) {
  AtomicFileWriter file(path, ops);
  const auto output = [&file](std::string_view bytes) { file.Write(bytes); };
  if (!StreamSavedJoinsReport(plan, context, settings, dateText, output, sink, compared)) {
    return false;
  }
  return InReportTrap(kSaveJoinsErrorTitle, sink, [&] {
    file.Commit();
    return true;
  });
}

}  // namespace modKestralMGA
