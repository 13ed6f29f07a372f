#include "reports/JoinsReport.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <iterator>
#include <string>
#include <string_view>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "compare/JoinJudgement.h"
#include "marks/MarkListRules.h"
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

std::string PointNumber(const PlanPoint& point) {
  return FormatNumber(static_cast<double>(point.PointNo), kFormatKey);
}

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
  WriteLine("Average Height of survey = " + settings.AverageHeightText() + " metres", out);
  out.EndLine();
}

// One side of the join in the full block: the two point numbers, bearing, distance, source.
void WriteJoinLine(const PlanPoint& from, const PlanPoint& to, double bearing, double distance,
                   std::string_view source, const BlockColumns& columns, ColumnWriter& out) {
  out.Field(1, PointNumber(from));
  out.Field(columns.To, PointNumber(to));
  out.Field(columns.Bearing, FormatNumber(bearing, kFormatBearing));
  out.Field(columns.Distance, FormatNumber(distance, kFormatMetres));
  out.Field(columns.Source, source);
  out.EndLine();
}

// "Diff in bearing = 17.0 sec. Allowable = 10.3 sec.", and so for the distance in metres.
void WriteDifference(std::string_view quantity, double difference, double allowable,
                     std::string_view format, std::string_view unit, ColumnWriter& out) {
  out.Text("Diff in ");
  out.Text(quantity);
  out.Text(" = ");
  out.Text(FormatNumber(difference, format));
  out.Text(" ");
  out.Text(unit);
  out.Text(" Allowable = ");
  out.Text(FormatNumber(allowable, format));
  out.Text(" ");
  out.Text(unit);
  out.EndLine();
}

// The six lines of the full block, before its verdict line.
void WriteFullBlock(const PlanPoint& from, const PlanPoint& to, const JoinJudgement& join,
                    const BlockColumns& columns, ColumnWriter& out) {
  out.Field(1, "From");
  out.Field(columns.To, "To");
  out.Field(columns.Bearing, "Bearing");
  out.Field(columns.Distance, "Distance");
  out.EndLine();
  WriteJoinLine(from, to, join.PlanBearing, join.PlanDistance, "(KESTRAL)", columns, out);
  WriteJoinLine(from, to, join.MgaBearing, join.MgaDistance, "(MGA)", columns, out);
  out.Text("Combined Scale Factor = ");
  out.Text(FormatNumber(join.Csf, kFormatScaleFactor));
  out.EndLine();
  WriteDifference("bearing", join.BearingDiff, join.AllowableBearing, kFormatSeconds, "sec.", out);
  WriteDifference("distance", join.DistanceDiff, join.AllowableDistance, kFormatMetres, "m", out);
}

// The block of one pair, and the empty line after it.
void WriteJoinBlock(const PlanPoint& from, const PlanPoint& to, const JoinJudgement& join,
                    bool fullJoins, const BlockColumns& columns, ColumnWriter& out) {
  const std::string_view verdict = VerdictText(join.Verdict);
  const bool fullBlock = join.Verdict == JoinVerdict::NotAcceptable ||
                         (join.Verdict == JoinVerdict::Acceptable && fullJoins);
  if (fullBlock) {
    WriteFullBlock(from, to, join, columns, out);
  } else {
    out.Field(1, PointNumber(from));
    out.Text(" to ");
    out.Text(PointNumber(to));
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
                      ColumnWriter& out, MessageSink& sink) {
  if (!CheckAccuracyCriterion(settings, sink)) return false;
  // The commands refuse such a height before they start; the report never shows one.
  const std::string height = settings.AverageHeightText();
  if (!HeightWithinLimit(height)) throw KestralError(HeightBeyondLimitText(height));
  const std::string criterion = settings.AccuracyCriterionText();
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

  const std::int64_t last =
      std::min<std::int64_t>(plan.PlanPointCount, std::ssize(plan.PlanPoints) - 1);
  for (std::int64_t i = 0; i < last; ++i) {
    const PlanPoint& from = plan.PlanPoints[static_cast<std::size_t>(i)];
    if (from.PointNo <= kHighestOrdinaryPoint) continue;
    for (std::int64_t j = i + 1; j <= last; ++j) {
      const PlanPoint& to = plan.PlanPoints[static_cast<std::size_t>(j)];
      if (to.PointNo <= kHighestOrdinaryPoint) continue;
      WriteJoinBlock(from, to, JudgeJoin(from, to, context, criterion), fullJoins, columns, out);
    }
  }
  return true;
}

bool PrintJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                      const std::string& dateText, ColumnWriter& printer, MessageSink& sink) {
  return InReportTrap(kPrintJoinsErrorTitle, sink, [&] {
    return WriteJoinsReport(ReportForm::Printed, plan, context, settings, dateText, printer, sink);
  });
}

bool ComposeSavedJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                             const std::string& dateText, std::string& bytes, MessageSink& sink) {
  return InReportTrap(kSaveJoinsErrorTitle, sink, [&] {
    TextColumnWriter text;
    if (!WriteJoinsReport(ReportForm::Saved, plan, context, settings, dateText, text, sink)) {
      return false;
    }
    bytes = text.Bytes();
    return true;
  });
}

bool SaveJoinsReport(const std::string& path, const Plan& plan, JoinContext& context,
                     const ReportSettings& settings, const std::string& dateText, MessageSink& sink,
                     FileOps& ops) {
  std::string bytes;
  if (!ComposeSavedJoinsReport(plan, context, settings, dateText, bytes, sink)) return false;
  return InReportTrap(kSaveJoinsErrorTitle, sink, [&] {
    AtomicWriteFile(path, bytes, ops);
    return true;
  });
}

}  // namespace modKestralMGA
