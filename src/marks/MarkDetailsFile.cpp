#include "marks/MarkDetailsFile.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>

#include "common/Errors.h"
#include "common/NumericValue.h"
#include "common/TextFile.h"
#include "common/ValueList.h"
#include "geodesy/Keys.h"
#include "marks/MarkDetailsReader.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

// The fields of a mark, counted from 1, that the program reads and writes.
constexpr std::size_t kFieldSheet = 1;
constexpr std::size_t kFieldNumber = 2;
constexpr std::size_t kFieldZone = 6;
constexpr std::size_t kFieldEast = 7;
constexpr std::size_t kFieldNorth = 8;
constexpr std::size_t kFieldOrder = 12;
constexpr std::size_t kFieldDatum = 14;
constexpr std::size_t kFieldHeight = 22;
constexpr std::size_t kFieldStatus = 33;

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view FieldOf(std::span<const std::string_view> fields, std::size_t number) {
  return number <= fields.size() ? fields[number - 1] : std::string_view();
}

// The fields of a Mark Details line up to the status (field 33), and how many the line holds.
struct MarkLineFields {
  std::array<std::string_view, kLastUsedField> First{};  // empty past Count
  std::size_t Count = 0;
};

constexpr bool IsUsedField(std::size_t field) {
  return field == kFieldSheet || field == kFieldNumber || field == kFieldZone ||
         field == kFieldEast || field == kFieldNorth || field == kFieldOrder ||
         field == kFieldDatum || field == kFieldHeight || field == kFieldStatus;
}

// The fields of a line without double quotes, as the value-list splitter gives them (a comma
// ends a value; blanks and tabs before a value are skipped), in one pass that keeps only the
// fields the program reads and counts the others.
void SplitPlainMarkLine(std::string_view line, MarkLineFields& fields) {
  fields = MarkLineFields{};
  const char* p = line.data();
  const char* const end = p + line.size();
  for (std::size_t field = 1; field <= kLastUsedField; ++field) {
    const char* start = p;
    while (p < end && *p != ',') ++p;
    if (IsUsedField(field)) {
      while (start < p && (*start == ' ' || *start == '\t')) ++start;
      fields.First[field - 1] = std::string_view(start, static_cast<std::size_t>(p - start));
    }
    if (p == end) {
      fields.Count = field;
      return;
    }
    ++p;  // the comma: one more value follows, if only an empty one
  }
  fields.Count = kLastUsedField + 1 + static_cast<std::size_t>(std::count(p, end, ','));
}

// The fields of any line: a line that holds double quotes, or is long enough for a value to be
// refused, goes through the value-list splitter.
void SplitMarkLine(std::string_view line, std::int64_t lineNumber, const std::string& path,
                   ValueLineSplitter& splitter, MarkLineFields& fields) {
  if (line.size() <= kMaxValueLength && line.find('"') == std::string_view::npos) {
    SplitPlainMarkLine(line, fields);
    return;
  }
  const std::vector<std::string_view>& values =
      splitter.Split(line, lineNumber, path, kLastUsedField);
  fields = MarkLineFields{};
  fields.Count = splitter.Count();
  std::copy_n(values.begin(), std::min(values.size(), fields.First.size()), fields.First.begin());
}

// The PSM No. of a mark: field 1 trimmed, "/", field 2 trimmed. When the two fields stand in the
// bytes with only their comma between them, that comma becomes the "/" and the cell is left in
// place; otherwise it is made in spare.
std::string_view PsmNumberOf(std::string_view sheet, std::string_view number, std::span<char> bytes,
                             std::string& spare) {
  const char* const between = sheet.data() + sheet.size();
  if (!sheet.empty() && !number.empty() && between + 1 == number.data() &&
      sheet.data() >= bytes.data() &&
      number.data() + number.size() <= bytes.data() + bytes.size() && *between == ',') {
    bytes[static_cast<std::size_t>(between - bytes.data())] = '/';
    return {sheet.data(), sheet.size() + 1 + number.size()};
  }
  spare.assign(sheet).append(1, '/').append(number);
  return spare;
}

// The mark of a line's fields, its cells lying in the line (or in spare for a PSM No. made anew,
// or in the value splitter's own bytes for a value that had quotes).
ReadMarkRow RowFromFields(std::span<const std::string_view> fields, std::span<char> bytes,
                          std::string& spare) {
  ReadMarkRow row;
  MarkCellViews& cells = row.Cells;
  cells[kColPsmNo] = PsmNumberOf(Trim(FieldOf(fields, kFieldSheet)),
                                 Trim(FieldOf(fields, kFieldNumber)), bytes, spare);
  cells[kColEast] = FieldOf(fields, kFieldEast);
  cells[kColNorth] = FieldOf(fields, kFieldNorth);
  const std::string_view height = FieldOf(fields, kFieldHeight);
  const double value = NumericValue(height);
  if (value > 0.0) {
    cells[kColHeight] = height;
    if (value <= kHeightLimit) row.Height = value;  // as HeightWithinLimit reads the cell
  }
  cells[kColOrder] = FieldOf(fields, kFieldOrder);
  cells[kColZone] = FieldOf(fields, kFieldZone);
  cells[kColDatum] = FieldOf(fields, kFieldDatum);
  cells[kColStatus] = FieldOf(fields, kFieldStatus);
  return row;
}

// True when a cell written as it stands would read back otherwise: a comma splits it, a leading
// double quote starts a quoted value, leading blanks and tabs are skipped, and a leading UTF-8
// byte-order mark is dropped when the cell opens the file.
bool NeedsQuotes(std::string_view cell) {
  if (cell.empty()) return false;
  return cell.find(',') != std::string_view::npos || cell.front() == '"' || cell.front() == ' ' ||
         cell.front() == '\t' || cell.starts_with("\xEF\xBB\xBF");
}

// A cell written into the file: as it stands, unless it would read back otherwise (NeedsQuotes);
// such a cell is written in double quotes with its quotes doubled.
void AppendCell(std::string& line, std::string_view cell) {
  if (!NeedsQuotes(cell)) {
    line += cell;
    return;
  }
  line += '"';
  for (const char c : cell) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

// True when a value of this length with or without an exponent letter could read as a number
// beyond the range of a double: without an exponent, fewer than 309 characters hold fewer than
// 309 digits, a number below 1e308.
bool CouldBeOutOfRange(std::string_view value) {
  if (value.size() >= 309) return true;
  for (const char c : value) {
    if (c == 'e' || c == 'E') return true;
  }
  return false;
}

// Throws the refusal of a value that overflows the range of a double.
void CheckInRange(std::string_view value, std::int64_t lineNumber, const std::string& displayPath) {
  if (!CouldBeOutOfRange(value)) return;
  if (ReadNumericValue(value).Status == NumberStatus::OutOfRange) {
    throw FileError(RefusedValueMessage("Number out of range", value, lineNumber, displayPath));
  }
}

// The marks of the file's bytes, adopted by the list, each handed to rows.
MarkDetailsReading ReadRows(TextFile& file, std::int64_t commas, MarkRowsWithoutRepeats& rows,
                            MessageSink& sink) {
  const std::size_t recordLength = commas < 44 ? kShortRecordFields : kLongRecordFields;
  MarkDetailsReading reading;
  // Room for a row a line (exact for LF and CR LF line ends), so that the list grows once.
  const std::size_t lineCount =
      static_cast<std::size_t>(std::count(file.Bytes.begin(), file.Bytes.end(), '\n')) + 1;
  rows.Reserve(lineCount);
  // The cells of a line that are not in place take no more bytes than the line and one "/".
  const std::size_t size = file.Bytes.size();
  const std::span<char> bytes = rows.AdoptBytes(std::move(file.Bytes), size + lineCount);
  LineSplitter lines(std::string_view(bytes.data(), bytes.size()));
  ValueLineSplitter splitter;
  MarkLineFields fields;
  std::string spare;
  std::string_view line;
  try {
    while (lines.Next(line)) {
      if (IsBlankLine(line)) continue;
      const std::int64_t lineNumber = lines.LineNumber();
      SplitMarkLine(line, lineNumber, file.Path, splitter, fields);
      if (fields.Count < kLastUsedField) {
        reading.TooFewFieldsLines.push_back(lineNumber);
        continue;
      }
      if (fields.Count > recordLength) reading.MoreFieldsLines.push_back(lineNumber);
      CheckInRange(FieldOf(fields.First, kFieldEast), lineNumber, file.Path);
      CheckInRange(FieldOf(fields.First, kFieldNorth), lineNumber, file.Path);
      CheckInRange(FieldOf(fields.First, kFieldHeight), lineNumber, file.Path);
      ReadMarkRow row = RowFromFields(fields.First, bytes, spare);
      if (row.Cells[kColPsmNo].starts_with("Map")) continue;  // the title line
      row.Key = TryPsmKey(row.Cells[kColPsmNo]);
      rows.Append(row);
      ++reading.RowsAdded;
    }
  } catch (const FileError& error) {
    reading.Stopped = true;
    sink.Message(error.what(), kOpenCsvFileErrorTitle, MessageIcon::Critical);
  }
  return reading;
}

// MarkDetailsLine of a row's cells.
std::string LineOfCells(const MarkCellViews& row) {
  std::string sheet;
  std::string number;
  SplitPsmNumberForSave(row[kColPsmNo], sheet, number);
  std::string line;
  line.reserve(128);
  for (std::size_t field = 1; field <= kShortRecordFields; ++field) {
    if (field > 1) line += ',';
    switch (field) {
      case kFieldSheet:
        AppendCell(line, sheet);
        break;
      case kFieldNumber:
        AppendCell(line, number);
        break;
      case kFieldZone:
        AppendCell(line, row[kColZone]);
        break;
      case kFieldEast:
        AppendCell(line, row[kColEast]);
        break;
      case kFieldNorth:
        AppendCell(line, row[kColNorth]);
        break;
      case kFieldOrder:
        AppendCell(line, row[kColOrder]);
        break;
      case kFieldDatum:
        AppendCell(line, row[kColDatum]);
        break;
      case kFieldHeight:
        AppendCell(line, row[kColHeight]);
        break;
      case kFieldStatus:
        AppendCell(line, row[kColStatus]);
        break;
      default:
        break;
    }
  }
  return line;
}

}  // namespace

std::int64_t CountCommas(std::string_view line) {
  return static_cast<std::int64_t>(std::count(line.begin(), line.end(), ','));
}

std::int64_t FirstLineCommaCount(const TextFile& file) {
  LineSplitter lines(file.Bytes);
  std::string_view first;
  if (!lines.Next(first)) throw FileError(file.Path + " is empty");
  return CountCommas(first);
}

MarkDetailsReading ReadCsvMarkDetailsFrom(TextFile& file, std::int64_t commas,
                                          MarkRowsWithoutRepeats& rows, MessageSink& sink) {
  return ReadRows(file, commas, rows, sink);
}

void SplitPsmNumberForSave(std::string_view psmNumber, std::string& sheet, std::string& number) {
  if (psmNumber.size() >= 5 && psmNumber[4] == '/') {
    sheet = psmNumber.substr(0, 4);
    number = psmNumber.substr(5);
    return;
  }
  const std::size_t slash = psmNumber.find('/');
  if (slash != std::string_view::npos) {
    sheet = psmNumber.substr(0, slash);
    number = psmNumber.substr(slash + 1);
    return;
  }
  sheet = psmNumber.substr(0, std::min<std::size_t>(4, psmNumber.size()));
  number = psmNumber.size() > 4 ? psmNumber.substr(4) : std::string();
}

std::string MarkDetailsLine(const MarkRow& row) {
  MarkCellViews cells;
  std::copy(row.begin(), row.end(), cells.begin());
  return LineOfCells(cells);
}

std::string SaveDumpText(const MarkList& list) {
  std::string text;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    if (!DataToSave(list, row)) continue;
    text += LineOfCells(list.Row(row).Cells());
    text += "\r\n";
  }
  return text;
}

void SaveDump(const std::string& path, const MarkList& list, FileOps& ops) {
  AtomicWriteFile(path, SaveDumpText(list), ops);
}

}  // namespace modKestralMGA
