#pragma once

#include <ostream>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"

namespace modKestralMGA {

// The batch command: fills the mark list from its options once (its messages on err), refuses an
// unknown criterion or order limit and a list of fewer than two rows as compare does, and takes
// the list's average height; then compares each plan (the plans given, those of --plans-from and
// the .lns files of the folders given, searched with their subfolders in name order) against
// that one list, on --jobs threads that share the list and its index, read before they start.
// Standard output holds one summary a plan in the order of the plans (BatchSummary: a text table
// with its header line, CSV with its header, or JSON Lines), each written as soon as it and those
// before it are done. Each plan's messages go to err, in the same order, as "<plan>: <title>:
// <text>". With --reports, each compared plan's joins report is saved in that folder (made when
// missing) as the plan's file name + ".txt", through fileOps. Returns 2 when the command could
// not run (the mark list, the settings, --plans-from unreadable, no plan found, standard output)
// or a plan could not be compared or its report written (the other plans still run, and the
// summary says why), else 1 when a join was not acceptable, else 0.
int RunBatchCommand(const BatchArguments& arguments, std::ostream& out, std::ostream& err,
                    FileOps& fileOps = SystemFileOps());

}  // namespace modKestralMGA
