#pragma once

#include <vector>

#include "cli/CliArguments.h"
#include "common/Seams.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// Fills the mark list from the mark list options, in the order given: --marks opens a Mark
// Details or screen dump file with the Open command's rules (a file ending in ".xml" adds the
// monuments of a LandXML file that carry MGA coordinates: ImportLandXmlMarks); --import imports a
// delimited text file with its column numbers (each read by the numeric value rule) and the import
// window's rules: an incomplete last row removed first, the sample line's refusal ("Nothing found
// in file"), every line imported, no average height and no duplicate removal. The path as given
// names the file in messages; the file opened is that path resolved without regard to letter
// case. "-" reads standard input, named "standard input" in messages. Messages go to sink. False
// when a source was refused (a Mark Details file with fewer than 11 commas in its first line, a
// file that cannot be read, a value refused while reading): the command then ends with status 2.
bool ApplyMarkSources(const std::vector<MarkSource>& sources, MarkList& list, MessageSink& sink);

}  // namespace modKestralMGA
