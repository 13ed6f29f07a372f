#include "plan/LinesFile.h"

#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "common/PathResolve.h"
#include "common/Rounding.h"
#include "common/TextFile.h"
#include "common/ValueList.h"
#include "plan/PlanValues.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kLineValueCount = 4;
constexpr double kNoBearing = 999.0;
constexpr std::string_view kLinesFileKind = "lines file";

std::int64_t CountRecordLines(std::string_view bytes) {
  std::int64_t count = 0;
  LineSplitter lines(bytes);
  std::string_view line;
  while (lines.Next(line)) {
    if (!IsBlankLine(line)) ++count;
  }
  return count;
}

// Fills plan.PlanLines from bytes, which hold `records` non-blank lines; throws FileError at the
// first line it refuses, leaving the records before it in place and the refused one zero.
void ReadRecords(std::string_view bytes, std::int64_t records, const std::string& fileName,
                 Plan& plan) {
  plan.PlanLines.assign(static_cast<std::size_t>(records), PlanLine{});
  ValueLineSplitter splitter;
  LineSplitter lines(bytes);
  std::string_view line;
  std::size_t index = 0;
  while (lines.Next(line)) {
    if (IsBlankLine(line)) continue;
    const std::int64_t lineNumber = lines.LineNumber();
    const std::vector<std::string_view>& values =
        splitter.Split(line, lineNumber, fileName, kLineValueCount);
    if (splitter.Count() != kLineValueCount) {
      throw FileError(ValueCountMessage(lineNumber, fileName, splitter.Count(), kLineValueCount));
    }
    PlanLine record;
    record.FromPoint = ReadPointNumber(values[0], lineNumber, fileName);
    record.ToPoint = ReadPointNumber(values[1], lineNumber, fileName);
    record.Bearing = ReadPlanNumber(values[2], lineNumber, fileName);
    record.Distance = ReadPlanNumber(values[3], lineNumber, fileName);
    plan.PlanLines[index++] = record;
  }
}

}  // namespace

std::string PlanIdentifierFromName(const std::string& name) {
  constexpr std::string_view kExtension = ".LNS";
  if (name.size() < kExtension.size()) return name;
  const std::size_t start = name.size() - kExtension.size();
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    char c = name[start + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kExtension[i]) return name;
  }
  return name.substr(0, start);
}

std::string LinesFileName(const std::string& planIdentifier) {
  return planIdentifier + ".lns";
}

std::int64_t ValidKESTRALfile(const std::string& planIdentifier, MessageSink& sink,
                              LinesFileText& text) {
  text = LinesFileText{};
  const std::string fileName = LinesFileName(planIdentifier);
  if (!FileExists(fileName)) {
    sink.Message("Cannot find plan file " + planIdentifier, kReadKestralFileErrorTitle,
                 MessageIcon::Exclamation);
    return 0;
  }
  try {
    text.Bytes = ReadTextFile(ResolvePath(fileName), fileName, kLinesFileKind).Bytes;
  } catch (const FileError& error) {
    sink.Message(error.what(), kReadKestralFileErrorTitle, MessageIcon::Exclamation);
    return 0;
  }
  text.PlanIdentifier = planIdentifier;
  text.Read = true;
  text.RecordCount = CountRecordLines(text.Bytes);
  return text.RecordCount;
}

int LoadLines(const std::string& planIdentifier, const LinesFileText& alreadyRead,
              MessageSink& sink, Plan& plan) {
  const std::string fileName = LinesFileName(planIdentifier);
  try {
    if (alreadyRead.Read && alreadyRead.PlanIdentifier == planIdentifier) {
      ReadRecords(alreadyRead.Bytes, alreadyRead.RecordCount, fileName, plan);
    } else {
      const ByteBuffer bytes = ReadTextFile(ResolvePath(fileName), fileName, kLinesFileKind).Bytes;
      ReadRecords(bytes, CountRecordLines(bytes), fileName, plan);
    }
  } catch (const FileError& error) {
    sink.Message(error.what(), kLoadLinesErrorTitle, MessageIcon::Exclamation);
    return 0;
  }
  return 1;
}

int LoadLines(const std::string& planIdentifier, MessageSink& sink, Plan& plan) {
  return LoadLines(planIdentifier, LinesFileText{}, sink, plan);
}

void MarkLinesInUse(Plan& plan) {
  for (PlanLine& line : plan.PlanLines) {
    if (!IsExactly(line.Bearing, kNoBearing)) line.InUse = 1;
  }
}

}  // namespace modKestralMGA
