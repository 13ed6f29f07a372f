#pragma once

#include <string>

#include "common/ColumnWriter.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The main window's Print of the PSM list: the title of its completion notice (information icon)
// and of its failures (exclamation icon), and its refusal of an empty list.
inline constexpr const char* kPrintPsmListTitle = "Print PSM list";
inline constexpr const char* kPrintPsmListErrorTitle = "Print PSM list error";
inline constexpr const char* kNothingInListToPrint = "Nothing in list to print";

// The printed PSM list: at column 10 "Permanent Survey Mark List for " and the plan identifier
// ("Permanent Survey Mark List" alone when the identifier is empty), an empty line, the column
// headings "PSM", "East", "North", "Height", "Order", "Zone", "Datum", "Status" at columns 1, 15,
// 30, 45, 56, 63, 69 and 79, an empty line, then every row of the list with its eight cells as
// they stand at those columns, one line a row. Starts no print job and sets no font.
void PrintPSMList(const MarkList& marks, const std::string& planIdentifier, ColumnWriter& out);

// The saved joins report's PSM list: "Permanent Survey Mark List for " and the plan identifier
// at column 1 (also when it is empty), an empty line, the first seven headings at their columns
// (no "Status"), an empty line, every row's first seven cells, then an empty line.
void WriteSavedPsmList(const MarkList& marks, const std::string& planIdentifier, ColumnWriter& out);

}  // namespace modKestralMGA
