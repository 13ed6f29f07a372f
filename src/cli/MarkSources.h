#pragma once

#include <ostream>
#include <vector>

#include "cli/CliArguments.h"
#include "common/Seams.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// Fills the mark list from the mark list options, in the order given: --marks opens a Mark
// Details or screen dump file with the Open command's rules (the path as given names the file in
// messages; the file opened is that path resolved without regard to letter case). Messages go to
// sink. False when a source was refused (a Mark Details file with fewer than 11 commas in its
// first line, or one that cannot be read; --import, which this version cannot read yet, said on
// err): the command then ends with status 2.
bool ApplyMarkSources(const std::vector<MarkSource>& sources, MarkList& list, MessageSink& sink,
                      std::ostream& err);

}  // namespace modKestralMGA
