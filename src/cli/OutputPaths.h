#pragma once

#include "cli/CliArguments.h"

namespace modKestralMGA {

// Refuses, before any work, a command whose outputs would overwrite each other or one of its own
// inputs: --report and --pdf naming the same file, or an output (--report, --pdf, save's --out)
// naming an input (a --marks or --import file, the plan's lines or curve file). Throws
// BadArguments "<output option> and <other option> name the same file". Two names are the same
// file when both exist and are one file (device and inode, links followed); otherwise when their
// absolute paths, normalised, are equal. Inputs are resolved without regard to letter case, as
// the commands open them. "-" names standard output as an output (so two outputs "-" are the
// same) and standard input as an input (never the same as an output).
void CheckOutputsAreNotInputs(const CliArguments& arguments);

}  // namespace modKestralMGA
