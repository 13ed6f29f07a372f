#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// Titles of the Mark Details file messages.
inline constexpr const char* kOpenCsvFileErrorTitle = "Open CSV file error";
inline constexpr const char* kSaveCsvFileErrorTitle = "Save CSV file error";
// What the file opened is, in the refusal of one too large to be it: a Mark Details file, or the
// screen dump file named at start-up.
inline constexpr std::string_view kMarkDetailsFileKind = "Mark Details file";
inline constexpr std::string_view kScreenDumpFileKind = "screen dump file";

// The record lengths of a Mark Details line, and the last field the program uses (status).
inline constexpr std::size_t kShortRecordFields = 43;
inline constexpr std::size_t kLongRecordFields = 51;
inline constexpr std::size_t kLastUsedField = 33;

// What reading a Mark Details file met besides marks.
struct MarkDetailsReading {
  std::size_t RowsAdded = 0;
  std::vector<std::int64_t> TooFewFieldsLines;  // lines of fewer than 33 fields: no mark
  std::vector<std::int64_t> MoreFieldsLines;    // lines longer than the record: first fields used
  bool Stopped = false;  // a refused value (or the file itself) ended the reading early
};

// The line written for a complete mark row (43 fields, 42 commas, no line end): field 1 and 2
// from the PSM No. (see SplitPsmNumberForSave), Zone 6, East 7, North 8, Order 12, Datum 14,
// Height 22, Status 33, every other field empty, cells as they stand without quotes; a cell that
// would read back otherwise (a comma in it; a double quote, blank, tab or UTF-8 byte-order mark
// at its start) is written in double quotes with its quotes doubled.
std::string MarkDetailsLine(const MarkRow& row);

// The two saved fields of a PSM No.: when its fifth character is "/", the first four characters
// and the characters from the sixth on; else, when it holds a "/" elsewhere, the text before the
// first "/" and the text after it; else its first four characters and the rest from the fifth.
// Nothing is lost: 66281001 is saved as 6628,1001.
void SplitPsmNumberForSave(std::string_view psmNumber, std::string& sheet, std::string& number);

// The bytes of a saved mark list: the line of every complete row, in order, each ended by CR LF.
std::string SaveDumpText(const MarkList& list);

// Writes SaveDumpText to path, replacing any file there atomically. Throws FileError on failure,
// leaving the earlier file as it was.
void SaveDump(const std::string& path, const MarkList& list, FileOps& ops = SystemFileOps());

}  // namespace modKestralMGA
