#pragma once

#include <cstdint>
#include <string_view>

#include "common/Seams.h"
#include "common/TextFile.h"
#include "marks/MarkDetailsFile.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

// The commas of a line, commas inside quotes included.
std::int64_t CountCommas(std::string_view line);

// The number of commas in the first physical line of a file already read (after a byte-order
// mark), commas inside quotes included, even when that line is blank. Throws FileError
// "<path> is empty" for a file without any line.
std::int64_t FirstLineCommaCount(const TextFile& file);

// Hands the marks of a file already read to rows, line by line (the rows leave out the repeated
// marks as they go; RowsAdded counts the rows read): the record length is 43 fields
// when commas (the comma count of the first line) is below 44, else 51. A blank line is skipped;
// a line of at least 33 fields but fewer than the record length is padded with empty fields; a
// line of fewer than 33 fields gives no mark; a row whose PSM No. begins with "Map" (a title
// line) is not appended. The row of a mark (fields counted from 1): PSM No. = field 1 trimmed +
// "/" + field 2 trimmed; East 7; North 8; Height 22 when its numeric value is greater than 0,
// else empty; Order 12; Zone 6; Datum 14; Status 33, all as read. A value refused while reading
// (a number beyond the range of a double in East, North or Height; a value over 64 KiB) stops the
// reading at that line with its message under "Open CSV file error" (critical); the rows before
// it stay. The list takes the file's bytes (file.Bytes is left empty) and keeps the cells that lie
// in them in place.
MarkDetailsReading ReadCsvMarkDetailsFrom(TextFile& file, std::int64_t commas,
                                          MarkRowsWithoutRepeats& rows, MessageSink& sink);

}  // namespace modKestralMGA
