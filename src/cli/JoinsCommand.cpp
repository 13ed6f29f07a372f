#include "cli/JoinsCommand.h"

#include <optional>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/GeoJsonOutput.h"
#include "cli/MarkSources.h"
#include "cli/StandardOutput.h"
#include "cli/StreamMessageSink.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "exchange/ResultFormats.h"
#include "markjoins/JoinCalculation.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

// The rows in the format asked for: the header line and the rows' cells separated by tabs, CSV
// or JSON. False when the write fails.
bool WriteJoinRows(const std::vector<JoinListRow>& rows, OutputFormat format,
                   const JoinSettings& settings, std::ostream& out) {
  if (format == OutputFormat::Csv) return WriteOutputText(JoinsCsv(rows), out);
  if (format == OutputFormat::Json) return WriteOutputText(JoinsJson(rows, settings), out);
  std::vector<std::string> lines = {TabSeparatedRow(JoinListHeaderRow())};
  for (const JoinListRow& row : rows) lines.push_back(TabSeparatedRow(row));
  return WriteOutputLines(lines, out);
}

}  // namespace

int RunJoinsCommand(const JoinsArguments& arguments, std::ostream& out, std::ostream& err,
                    FileOps& fileOps) {
  StreamMessageSink sink(err);
  // A height given beyond the limit is refused before the marks are read.
  if (arguments.Height && !CheckAverageHeightText(*arguments.Height, sink, kMgaJoinsErrorTitle)) {
    return kExitFailed;
  }
  MarkList list;
  if (!ApplyMarkSources(arguments.MarkSources, list, sink)) return kExitFailed;
  // The height is taken before the count of rows is checked, as Calculate Joins writes it first.
  const std::string height =
      arguments.Height
          ? *arguments.Height
          : FormatNumber(AverageHeight(list, sink, kMgaJoinsErrorTitle), kFormatMetres);
  if (!CheckEnoughMarksForJoins(list, sink)) return kExitFailed;

  const FixedJoinSettings settings(arguments.MaxOrder, height, arguments.Ellipsoid);
  MarkIndex index(list);
  const OffGridNotices notices(index, sink, kMgaJoinsErrorTitle);
  JoinContext context{index, settings};
  std::vector<JoinListRow> rows;
  std::string from;
  try {
    for (const std::string& picked : arguments.Picks) {
      if (const std::optional<JoinListRow> row = PickMark(context, from, picked)) {
        rows.push_back(*row);
      }
    }
  } catch (const KestralError& error) {
    sink.Message(error.what(), kMgaJoinsErrorTitle, MessageIcon::Exclamation);
    return kExitFailed;
  }
  GeoJsonOutput map(arguments.Map);
  if (!map.Compose([&](const MapDefaults& defaults) { return JoinsGeoJson(rows, index, defaults); },
                   sink) ||
      !map.Save(sink, fileOps)) {
    return kExitFailed;
  }
  const bool written = map.OnStandardOutput()
                           ? WriteOutputText(map.Text(), out)
                           : WriteJoinRows(rows, arguments.Format, settings, out);
  return written ? kExitDone : OutputWriteFailed(err);
}

}  // namespace modKestralMGA
