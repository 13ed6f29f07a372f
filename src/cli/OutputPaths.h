#pragma once

#include "cli/CliArguments.h"

namespace modKestralMGA {

// Refuses, before any work, a command whose outputs would overwrite each other or one of its own
// inputs: --report, --pdf and --geojson naming the same file, or an output (--report, --pdf,
// --geojson, save's --out) naming an input (a --marks or --import file, the plan's lines or curve
// file), or two inputs reading standard input ("<option> and <option> both read standard
// input": two of --marks -, --import - and batch's --plans-from -). Throws
// BadArguments "<output option> and <other option> name the same file". Two names are the same
// file when both exist and are one file (device and inode, links followed); otherwise when their
// absolute paths, normalised, are equal. Inputs are resolved without regard to letter case, as
// the commands open them. "-" names standard output as an output (so two outputs "-" are the
// same) and standard input as an input (never the same as an output).
void CheckOutputsAreNotInputs(const CliArguments& arguments);

}  // namespace modKestralMGA
