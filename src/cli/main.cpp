// kestralmga-cli: the batch program. Everything is in RunCli, which the tests call in-process.
#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RunCli.h"
#include "common/AtomicFile.h"

int main(int argc, char** argv) {
  // A closed pipe on standard output is a failed write (status 2), not the end of the process.
  std::signal(SIGPIPE, SIG_IGN);
  // Likewise a file grown past the file-size limit (ulimit -f) is a failed write with its
  // message ("File too large"), not the end of the process with the temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  // Ended by SIGTERM, SIGINT or SIGHUP while a file is being replaced, the program leaves no
  // temporary file beside it.
  modKestralMGA::RemoveTemporaryFileOnSignals();
  try {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return modKestralMGA::RunCli(args, std::cout, std::cerr);
  } catch (...) {
    std::cerr << "kestralmga-cli: the command failed\n";
    return 2;
  }
}
