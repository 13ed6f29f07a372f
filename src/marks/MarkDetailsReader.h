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

// NumCsvFields of a file already read, so that a command reads its file once. Throws FileError
// "<path> is empty" for a file without any line.
std::int64_t NumCsvFieldsOf(const TextFile& file);

// ReadCsvMarkDetails of a file already read.
MarkDetailsReading ReadCsvMarkDetailsFrom(const TextFile& file, std::int64_t nofields,
                                          MarkList& list, MessageSink& sink);

// The same reading with every row handed to rows, which leaves out the repeated marks as it goes
// (RowsAdded counts the rows read).
MarkDetailsReading ReadCsvMarkDetailsFrom(const TextFile& file, std::int64_t nofields,
                                          MarkRowsWithoutRepeats& rows, MessageSink& sink);

}  // namespace modKestralMGA
