#include "marks/MarkCommands.h"

#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"
#include "marks/MarkDetailsFile.h"
#include "marks/MarkDetailsReader.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

constexpr std::int64_t kFewestMarkDetailsCommas = 11;
constexpr std::size_t kLineNumbersShown = 10;

// "<what> <path>: 3, 7, 12" with at most ten line numbers, then ", ..." when there are more.
std::string LinesMessage(const std::string& what, const std::string& path,
                         const std::vector<std::int64_t>& lines) {
  std::string text = what + path + ": ";
  for (std::size_t i = 0; i < lines.size() && i < kLineNumbersShown; ++i) {
    if (i > 0) text += ", ";
    text += FormatNumber(static_cast<double>(lines[i]), kFormatCount);
  }
  if (lines.size() > kLineNumbersShown) text += ", ...";
  return text;
}

// The warnings about odd lines, shown after the command's own steps. Not shown when the reading
// stopped at a refused value: that message says what matters.
void ShowLineWarnings(const MarkDetailsReading& reading, const std::string& displayPath,
                      MessageSink& sink) {
  if (reading.Stopped) return;
  if (!reading.TooFewFieldsLines.empty()) {
    sink.Message(
        LinesMessage("Lines with too few fields in ", displayPath, reading.TooFewFieldsLines),
        kOpenCsvFileErrorTitle, MessageIcon::Exclamation);
  }
  if (!reading.MoreFieldsLines.empty()) {
    sink.Message(LinesMessage("Lines with more fields than expected in ", displayPath,
                              reading.MoreFieldsLines),
                 kOpenCsvFileErrorTitle, MessageIcon::Exclamation);
  }
}

// Reads the file once (kind names what it should be, for the refusal of a file too large); on
// failure shows its description under "Open CSV file error" and gives a comma count of 0.
bool ReadMarkFile(const std::string& path, const std::string& displayPath, std::string_view kind,
                  MessageSink& sink, TextFile& file, std::int64_t& commas) {
  try {
    // Room for the file's bytes and the cells the list writes after them (MarkList::AdoptBytes):
    // at most the file's size and a "/" a line more.
    file = ReadTextFile(path, displayPath, kind, kMaxTextFileBytes, 3);
    commas = FirstLineCommaCount(file);
    return true;
  } catch (const FileError& error) {
    sink.Message(error.what(), kOpenCsvFileErrorTitle, MessageIcon::Critical);
    commas = 0;
    return false;
  }
}

// Reads the marks of the file into the list, takes the average height of the list with every
// mark read (repeats included), then removes the repeated PSM numbers: in one pass, the repeats
// never appended.
MarkDetailsReading ReadWithoutRepeats(TextFile& file, std::int64_t commas, MarkList& list,
                                      MessageSink& sink, OpenResult& result) {
  MarkRowsWithoutRepeats rows(list);
  const MarkDetailsReading reading = ReadCsvMarkDetailsFrom(file, commas, rows, sink);
  result.AverageHeightText = FormatNumber(rows.AverageHeight(), kFormatMetres);
  rows.Finish();
  result.RemovedRepeats = rows.TakeRemoved();
  return reading;
}

}  // namespace

OpenResult OpenMarkDetailsFile(const std::string& path, const std::string& displayPath,
                               MarkList& list, MessageSink& sink) {
  OpenResult result;
  TextFile file;
  std::int64_t commas = 0;
  ReadMarkFile(path, displayPath, kMarkDetailsFileKind, sink, file, commas);
  if (commas < kFewestMarkDetailsCommas) {
    sink.Message("This is not a Mark Details file", kOpenCsvFileErrorTitle, MessageIcon::Critical);
    return result;
  }
  // An empty list (no PSM No. in its first row) is emptied first, so the file's marks start at
  // the first row.
  if (IsGridEmpty(list)) list.Clear();
  const MarkDetailsReading reading = ReadWithoutRepeats(file, commas, list, sink, result);
  if (list.Empty()) list.AppendRow();
  ShowLineWarnings(reading, file.Path, sink);
  result.Outcome = reading.Stopped ? OpenOutcome::Stopped : OpenOutcome::Read;
  return result;
}

OpenResult ReadDumpFileAtStartUp(const std::string& path, MarkList& list, MessageSink& sink) {
  OpenResult result;
  if (path.empty()) return result;
  TextFile file;
  std::int64_t commas = 0;
  ReadMarkFile(path, path, kScreenDumpFileKind, sink, file, commas);
  if (commas < kFewestMarkDetailsCommas) {
    sink.Message("No mark details found in dump file", "Open Dump file error",
                 MessageIcon::Exclamation);
    return result;
  }
  const MarkDetailsReading reading = ReadWithoutRepeats(file, commas, list, sink, result);
  ShowLineWarnings(reading, file.Path, sink);
  result.Outcome = reading.Stopped ? OpenOutcome::Stopped : OpenOutcome::Read;
  return result;
}

bool CheckListToSave(const MarkList& list, MessageSink& sink) {
  // A list of rows none of which is complete would be saved as an empty file over the chosen
  // one: it is refused as an empty list is.
  if (!IsGridEmpty(list)) {
    for (std::size_t row = 0; row < list.RowCount(); ++row) {
      if (DataToSave(list, row)) return true;
    }
  }
  sink.Message("Nothing in list to save", "Save PSM data error", MessageIcon::Exclamation);
  return false;
}

bool SaveMarkDetailsFile(const std::string& path, const MarkList& list, MessageSink& sink,
                         FileOps& ops) {
  try {
    SaveDump(path, list, ops);
    return true;
  } catch (const FileError& error) {
    sink.Message(error.what(), kSaveCsvFileErrorTitle, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace modKestralMGA
