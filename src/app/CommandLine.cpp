#include "app/CommandLine.h"

#include "common/PathResolve.h"

std::string DumpPathFromArguments(const std::vector<std::string>& arguments) {
  std::string joined;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) joined += ' ';
    joined += arguments[i];
  }
  const bool quoted = joined.size() >= 2 && joined.front() == '"' && joined.back() == '"';
  if (quoted && !modKestralMGA::FileExists(joined)) {
    std::string unquoted = joined.substr(1, joined.size() - 2);
    if (modKestralMGA::FileExists(unquoted)) return unquoted;
  }
  return joined;
}
