#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA {

// Writes each line followed by a line feed (the last one too), bytes as they are, and flushes.
// Every write is checked: false at the first that fails (a full disk, a closed pipe), after
// which nothing more is written.
bool WriteOutputLines(const std::vector<std::string>& lines, std::ostream& out);

// Writes text as it is and flushes; false when the write fails.
bool WriteOutputText(std::string_view text, std::ostream& out);

// Says on err that standard output could not be written ("kestralmga-cli: cannot write to
// standard output") and gives the status of a command that did not produce its result (2).
int OutputWriteFailed(std::ostream& err);

}  // namespace modKestralMGA
