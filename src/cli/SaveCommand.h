#pragma once

#include <ostream>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"

namespace modKestralMGA {

// The save command: fills the mark list from its options and saves it with the Save command's
// rules: an empty list, or one with no complete row, is refused ("Save PSM data error: Nothing in
// list to save") and the --out file is not touched; the complete rows are written to the --out
// file, which is replaced whole only when all of it was written ("Save CSV file error: " + the
// reason otherwise); a device or FIFO is written in place. --out "-" writes the file's bytes to
// out instead; otherwise nothing goes to out. Returns 0, or 2 when the file was not written. The
// file is written through fileOps.
int RunSaveCommand(const SaveArguments& arguments, std::ostream& out, std::ostream& err,
                   FileOps& fileOps = SystemFileOps());

}  // namespace modKestralMGA
