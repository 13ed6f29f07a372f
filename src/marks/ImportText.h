#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Seams.h"
#include "common/TextFile.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// Titles and texts of the delimited text import's messages.
inline constexpr const char* kImportFileErrorTitle = "Import file error";
inline constexpr const char* kImportErrorTitle = "Import error";
inline constexpr const char* kNothingFoundInFile = "Nothing found in file";

// A sample line shorter than this many characters means the file holds nothing to import.
inline constexpr std::size_t kShortestSampleLine = 4;
// What a file to import is, in the refusal of one too large to be it.
inline constexpr std::string_view kImportFileKind = "text file of coordinates";

// The column numbers of the import: for each of the five values, the number (counted from 1,
// from the left) of the numeric field of a line that holds it. A number that no field carries (0,
// a fraction, a negative number) takes nothing.
struct ImportColumnNumbers {
  double Point = 1.0;
  double East = 2.0;
  double North = 3.0;
  double Height = 0.0;
  double Zone = 0.0;
  // Files written where a comma is the decimal mark ("282840,660"): a comma between two digits
  // is that field's decimal point, and the mark list receives a point.
  bool DecimalComma = false;
};

// The column numbers typed into the five boxes, each read by the numeric value rule (an empty
// box or a text without a leading number gives 0).
ImportColumnNumbers ReadImportColumnNumbers(std::string_view point, std::string_view east,
                                            std::string_view north, std::string_view height,
                                            std::string_view zone);

// The numeric fields of a line one after the other: a field is a maximal run of the characters 0
// to 9, "." and "/"; every other byte (blank, tab, comma, semicolon, letters, signs) only
// separates fields. Two exceptions: a minus sign directly before a field's digits, at the start
// of the line or after a blank, tab, comma or semicolon, belongs to the field ("-1.250"), while a
// hyphen between digits still separates ("2019-05-01", "6628-1001"); with decimalComma, a comma
// between two digits is inside the field. Starting at pos, finds the next field, sets field to it
// (as written, commas and all) and pos past it, and returns true; returns false when the line
// holds no further field.
bool NextNumericField(std::string_view line, std::size_t& pos, std::string_view& field,
                      bool decimalComma = false);

// The numeric fields of a line with their numbers, for the user to see which number to type in
// each box: "1: 6628/1001   2: 280000.123   3: 6130000.456" (three blanks between fields), each
// as the import takes it (a decimal comma shown as a point). "" for a line without a field.
std::string NumberedFields(std::string_view line, bool decimalComma = false);

// Cuts one line of a delimited text file into numeric fields and gives each to the first of the
// values Point, East, North, Height and Zone whose column number equals the field's number; a
// field that no column number names is dropped. When the line gave a point, appends the row
// PSM No. = point, East, North, Height, Zone (Order, Datum and Status empty) to list, fields
// copied as they stand, and returns true; otherwise the line adds nothing and it returns false.
// A field longer than kMaxValueLength throws FileError "Value too long at line <lineNumber> of
// <path>".
bool ExtractCoordData(std::string_view newline, const ImportColumnNumbers& columns,
                      std::int64_t lineNumber, const std::string& path, MarkList& list);

// The sample line of a file already read: its first line of at least kShortestSampleLine
// characters, else its last line (a file of short lines), "" for a file without lines.
std::string ShowFirstLineOf(const TextFile& file);

// The sample line of the file at path (see ShowFirstLineOf). A file that cannot be read or is
// refused by the text-file byte rules (missing, a folder, NUL bytes, over 1 GiB) shows its
// description under "Import file error" (critical) and gives "". path is opened; displayPath names
// the file in messages.
std::string ShowFirstLine(const std::string& path, const std::string& displayPath,
                          MessageSink& sink);

// What an import did: the marks it appended and the lines (blank lines aside) that gave none.
struct ImportCount {
  std::size_t Added = 0;
  std::size_t LinesWithoutMark = 0;
};

// Passes every line of a file already read, in order, to ExtractCoordData and counts what it
// did. A refused field throws FileError; the rows appended before it stay.
ImportCount ImportTextLines(const TextFile& file, const ImportColumnNumbers& columns,
                            MarkList& list);

// Reads the file at path and imports its lines as ImportTextLines does. Throws FileError when
// the file cannot be read or is refused (nothing is appended) or when a field is refused (the
// rows before it stay). path is opened; displayPath names the file in messages.
ImportCount ImportTextFile(const std::string& path, const std::string& displayPath,
                           const ImportColumnNumbers& columns, MarkList& list);

// The import message after OK: "12 marks added; 3 lines gave no mark" ("1 mark added", "1 line
// gave no mark", "no line gave no mark" left out), or "No mark added: no line of the file gives a
// point in the Point column" when nothing was added.
std::string ImportCountText(const ImportCount& count);

// One line of the import preview: its line number and the mark it gives (PSM No., East, North,
// Height and Zone as OK would append them), or no mark.
struct ImportPreviewLine {
  std::int64_t LineNumber = 0;
  bool GivesMark = false;
  MarkRow Row;
};

// The first lines (at most count, blank lines included) of a file already read, each cut as OK
// would cut it. A line with a field too long to take ends the preview before it.
std::vector<ImportPreviewLine> PreviewImport(const TextFile& file,
                                             const ImportColumnNumbers& columns, std::size_t count);

// Before an import: when the list has a mark row and its last row is not complete (DataToSave),
// removes that row; only the last row is looked at. Returns true when a row was removed.
bool RemoveIncompleteLastRow(MarkList& list);

// How a whole import went.
enum class ImportOutcome {
  Refused,  // the file could not be read or held no sample line: nothing was appended
  Read,     // every line was read
  Stopped,  // a field was refused part-way; the rows before it were appended
};

// The whole import in one go, as the batch program runs it, reading the file once: removes an
// incomplete last row; takes the sample line, refusing the file as the import command does (its
// "Import file error" message, then "Nothing found in file" under "Import error", exclamation,
// when the sample is shorter than kShortestSampleLine); then imports every line with columns, a
// refused field showing its description under "Import file error" (critical). No average height
// is computed and no repeated marks are removed. path is opened; displayPath names the file in
// messages.
ImportOutcome ImportDelimitedText(const std::string& path, const std::string& displayPath,
                                  const ImportColumnNumbers& columns, MarkList& list,
                                  MessageSink& sink);

}  // namespace modKestralMGA
