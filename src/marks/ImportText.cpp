#include "marks/ImportText.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "common/ValueList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsFieldCharacter(char c) {
  return IsDigit(c) || c == '.' || c == '/';
}

// A minus sign that belongs to the field after it: directly before its digits (or its decimal
// point), at the start of the line or after a blank, tab, comma or semicolon. A hyphen between
// digits (a date, "6628-1001") separates fields.
bool IsLeadingMinus(std::string_view line, std::size_t pos) {
  if (line[pos] != '-' || pos + 1 >= line.size() || !IsFieldCharacter(line[pos + 1]) ||
      line[pos + 1] == '/') {
    return false;
  }
  if (pos == 0) return true;
  const char before = line[pos - 1];
  return before == ' ' || before == '\t' || before == ',' || before == ';';
}

// Inside a field: a field character, or with a decimal comma a comma between two digits.
bool ContinuesField(std::string_view line, std::size_t pos, bool decimalComma) {
  if (IsFieldCharacter(line[pos])) return true;
  return decimalComma && line[pos] == ',' && pos + 1 < line.size() && IsDigit(line[pos + 1]) &&
         pos > 0 && IsDigit(line[pos - 1]);
}

// A field as the mark list keeps it: a decimal comma becomes the decimal point.
std::string FieldText(std::string_view field, bool decimalComma) {
  std::string text(field);
  if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

// The sample line of ShowFirstLineOf, not copied.
std::string_view SampleLineOf(const TextFile& file) {
  LineSplitter lines(file.Bytes);
  std::string_view line;
  std::string_view last;
  while (lines.Next(line)) {
    last = line;
    if (line.size() >= kShortestSampleLine) break;
  }
  return last;
}

// The mark list columns that receive the five values, in the order their column numbers are
// compared: the first value whose column number equals a field's number takes the field.
constexpr std::array<int, 5> kImportedColumns = {kColPsmNo, kColEast, kColNorth, kColHeight,
                                                 kColZone};

}  // namespace

ImportColumnNumbers ReadImportColumnNumbers(std::string_view point, std::string_view east,
                                            std::string_view north, std::string_view height,
                                            std::string_view zone) {
  ImportColumnNumbers columns;
  columns.Point = NumericValue(point);
  columns.East = NumericValue(east);
  columns.North = NumericValue(north);
  columns.Height = NumericValue(height);
  columns.Zone = NumericValue(zone);
  return columns;
}

bool NextNumericField(std::string_view line, std::size_t& pos, std::string_view& field,
                      bool decimalComma) {
  const std::size_t size = line.size();
  while (pos < size && !IsFieldCharacter(line[pos]) && !IsLeadingMinus(line, pos)) ++pos;
  if (pos >= size) return false;
  const std::size_t start = pos;
  if (line[pos] == '-') ++pos;
  while (pos < size && ContinuesField(line, pos, decimalComma)) ++pos;
  field = line.substr(start, pos - start);
  return true;
}

std::string NumberedFields(std::string_view line, bool decimalComma) {
  std::string text;
  std::size_t pos = 0;
  std::string_view field;
  double number = 0.0;
  while (NextNumericField(line, pos, field, decimalComma)) {
    number += 1.0;
    if (!text.empty()) text += "   ";
    text += FormatNumber(number, kFormatCount);
    text += ": ";
    text += FieldText(field, decimalComma);
  }
  return text;
}

bool ExtractCoordData(std::string_view newline, const ImportColumnNumbers& columns,
                      std::int64_t lineNumber, const std::string& path, MarkList& list) {
  const std::array<double, 5> numbers = {columns.Point, columns.East, columns.North, columns.Height,
                                         columns.Zone};
  MarkRow row;
  std::size_t pos = 0;
  std::string_view field;
  double fieldCount = 0.0;
  while (NextNumericField(newline, pos, field, columns.DecimalComma)) {
    fieldCount += 1.0;
    if (field.size() > kMaxValueLength) ThrowValueTooLong(lineNumber, path);
    for (std::size_t value = 0; value < numbers.size(); ++value) {
      if (IsExactly(numbers[value], fieldCount)) {
        row[static_cast<std::size_t>(kImportedColumns[value])] =
            FieldText(field, columns.DecimalComma);
        break;
      }
    }
  }
  if (row[kColPsmNo].empty()) return false;
  list.AppendRow(row);
  return true;
}

std::string ShowFirstLineOf(const TextFile& file) {
  return std::string(SampleLineOf(file));
}

std::string ShowFirstLine(const std::string& path, const std::string& displayPath,
                          MessageSink& sink) {
  try {
    return ShowFirstLineOf(ReadTextFile(path, displayPath, kImportFileKind));
  } catch (const FileError& error) {
    sink.Message(error.what(), kImportFileErrorTitle, MessageIcon::Critical);
    return {};
  }
}

ImportCount ImportTextLines(const TextFile& file, const ImportColumnNumbers& columns,
                            MarkList& list) {
  // Room for a row a line (LF and CR LF line ends), so that the list grows once.
  list.Reserve(list.RowCount() +
               static_cast<std::size_t>(std::count(file.Bytes.begin(), file.Bytes.end(), '\n')) +
               1);
  LineSplitter lines(file.Bytes);
  std::string_view line;
  ImportCount count;
  while (lines.Next(line)) {
    if (ExtractCoordData(line, columns, lines.LineNumber(), file.Path, list)) {
      ++count.Added;
    } else if (!IsBlankLine(line)) {
      ++count.LinesWithoutMark;
    }
  }
  return count;
}

std::string ImportCountText(const ImportCount& count) {
  if (count.Added == 0)
    return "No mark added: no line of the file gives a point in the Point column";
  const auto counted = [](std::size_t n, const char* one, const char* many) {
    return FormatNumber(static_cast<double>(n), kFormatCount) + (n == 1 ? one : many);
  };
  std::string text = counted(count.Added, " mark added", " marks added");
  if (count.LinesWithoutMark > 0) {
    text += "; " + counted(count.LinesWithoutMark, " line gave no mark", " lines gave no mark");
  }
  return text;
}

std::vector<ImportPreviewLine> PreviewImport(const TextFile& file,
                                             const ImportColumnNumbers& columns,
                                             std::size_t count) {
  std::vector<ImportPreviewLine> preview;
  LineSplitter lines(file.Bytes);
  std::string_view line;
  MarkList row;
  while (preview.size() < count && lines.Next(line)) {
    ImportPreviewLine shown;
    shown.LineNumber = lines.LineNumber();
    try {
      shown.GivesMark = ExtractCoordData(line, columns, shown.LineNumber, file.Path, row);
    } catch (const FileError&) {
      break;  // the import itself stops at this line with its message
    }
    if (shown.GivesMark) {
      shown.Row = row.Row(0).Owned();
      row.Clear();
    }
    preview.push_back(std::move(shown));
  }
  return preview;
}

ImportCount ImportTextFile(const std::string& path, const std::string& displayPath,
                           const ImportColumnNumbers& columns, MarkList& list) {
  return ImportTextLines(ReadTextFile(path, displayPath, kImportFileKind), columns, list);
}

bool RemoveIncompleteLastRow(MarkList& list) {
  if (list.Empty()) return false;
  const std::size_t last = list.RowCount() - 1;
  if (DataToSave(list, last)) return false;
  list.RemoveRow(last);
  return true;
}

ImportOutcome ImportDelimitedText(const std::string& path, const std::string& displayPath,
                                  const ImportColumnNumbers& columns, MarkList& list,
                                  MessageSink& sink) {
  RemoveIncompleteLastRow(list);
  TextFile file;
  try {
    file = ReadTextFile(path, displayPath, kImportFileKind);
  } catch (const FileError& error) {
    sink.Message(error.what(), kImportFileErrorTitle, MessageIcon::Critical);
  }
  if (SampleLineOf(file).size() < kShortestSampleLine) {
    sink.Message(kNothingFoundInFile, kImportErrorTitle, MessageIcon::Exclamation);
    return ImportOutcome::Refused;
  }
  try {
    ImportTextLines(file, columns, list);
  } catch (const FileError& error) {
    sink.Message(error.what(), kImportFileErrorTitle, MessageIcon::Critical);
    return ImportOutcome::Stopped;
  }
  return ImportOutcome::Read;
}

}  // namespace modKestralMGA
