#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/AtomicFile.h"

namespace modKestralMGA {

// The batch program kestralmga-cli on its arguments (without the program's name): results on
// out, messages on err ("<title>: <text>" for the commands' message boxes, "kestralmga-cli: " +
// reason for arguments it cannot run with). Returns the exit status: 0 done (for compare, every
// join acceptable), 1 compare done with a join not acceptable, 2 the command could not produce
// its result (bad arguments, a refused or unreadable input, a failed write of out); after 2
// nothing has been written to out (but a report named "-" that was written before a later
// output failed). --help and --version write to out and return 0. An output
// named "-" (--out, --report, --pdf) is written to out; --marks or --import "-" reads the
// process's standard input. Outputs that would overwrite each other or an input are refused
// before any work (status 2).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// RunCli with the file operations through which the commands write their files (save --out,
// compare --report and --pdf): tests pass operations that fail on purpose.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileOps& fileOps);

}  // namespace modKestralMGA
