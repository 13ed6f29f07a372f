#include "cli/StandardOutput.h"

#include "cli/CliArguments.h"
#include "cli/ExitStatus.h"

namespace modKestralMGA {

bool WriteOutputLines(const std::vector<std::string>& lines, std::ostream& out) {
  for (const std::string& line : lines) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.put('\n');
    if (!out) return false;
  }
  out.flush();
  return static_cast<bool>(out);
}

bool WriteOutputText(std::string_view text, std::ostream& out) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  return static_cast<bool>(out);
}

int OutputWriteFailed(std::ostream& err) {
  err << kCliName << ": cannot write to standard output\n";
  err.flush();
  return kExitFailed;
}

}  // namespace modKestralMGA
