#include "cli/ConvertCommand.h"

#include <filesystem>

#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"
#include "plan/landxml/LandXmlWriter.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {

namespace {

// Today as LandXML dates a file: YYYY-MM-DD.
std::string IsoDate(const std::chrono::year_month_day& date) {
  const auto two = [](unsigned value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
  };
  const int year = static_cast<int>(date.year());
  return FormatNumber(year, kFormatCount) + "-" + two(static_cast<unsigned>(date.month())) + "-" +
         two(static_cast<unsigned>(date.day()));
}

}  // namespace

int RunConvertCommand(const ConvertArguments& arguments, std::ostream& out, std::ostream& err,
                      FileOps& fileOps) {
  StreamMessageSink sink(err);
  const std::string planIdentifier = PlanIdentifierFromName(arguments.Plan);
  Plan plan;
  if (!ReadPlanForCompare(planIdentifier, plan, sink)) return kExitFailed;
  BuildPlanPoints(plan, planIdentifier, sink);
  CurveIndex curves = CurvesOf(plan, planIdentifier, sink);
  const std::string name = std::filesystem::path(planIdentifier).filename().string();
  const std::string text = LandXmlText(plan, curves, name, IsoDate(LocalToday()));
  if (arguments.To == kStandardStream) {
    return WriteOutputText(text, out) ? kExitDone : OutputWriteFailed(err);
  }
  try {
    AtomicWriteFile(arguments.To, text, fileOps);
  } catch (const FileError& error) {
    sink.Message(error.what(), "Convert plan error", MessageIcon::Exclamation);
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace modKestralMGA
