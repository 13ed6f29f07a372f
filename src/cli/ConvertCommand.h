#pragma once

#include <ostream>
#include <string>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"

namespace modKestralMGA {

// Writes the plan as a LandXML 1.2 file (LandXmlText), dated today: the plan is read and its
// points built as the Compare command does, with its messages on err ("<title>: <text>"). Status
// 0 when written, 2 when the plan cannot be read or the file cannot be written.
int RunConvertCommand(const ConvertArguments& arguments, std::ostream& out, std::ostream& err,
                      FileOps& fileOps);

}  // namespace modKestralMGA
