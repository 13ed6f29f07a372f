#pragma once

#include <ostream>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"

namespace modKestralMGA {

// The joins command: refuses a --height beyond 100000 m ("MGA Joins error: Average Height beyond
// 100000 m: " + the text), fills the mark list from its options, takes the average height
// (--height, or the list's mean written with "0.000", as Calculate Joins writes it, each Height
// beyond the limit left out with a line saying so), needs two rows in the
// list ("MGA Joins error: Not enough coordinates in list"), then picks the PSM numbers in turn as
// the join calculation window does: each after the first adds the join from the one before.
// Standard output: the header line "From<TAB>To<TAB>Bearing<TAB>Distance<TAB>Combined S. F." and
// one line per join row, the five cell texts separated by tabs, each ended by a line feed. A PSM
// number whose key does not fit 32 bits ends the command ("MGA Joins error: PSM number too large
// for a key: " + the number) with no row written. A mark on no grid gives a row of zeros and,
// once, "MGA Joins error: <PSM No.> lies outside every MGA zone (...): taken as without
// coordinates". With --format csv or json the rows are written as JoinsCsv or JoinsJson give
// them. --geojson writes JoinsGeoJson's map of the rows through fileOps, or to standard output
// ("-") in place of the rows; marks it refuses, or a failed write, end the command under "Save
// GeoJSON file error". Returns 0, or 2 when the command could not produce its rows.
int RunJoinsCommand(const JoinsArguments& arguments, std::ostream& out, std::ostream& err,
                    FileOps& fileOps = SystemFileOps());

}  // namespace modKestralMGA
