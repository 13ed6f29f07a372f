// KestralMGA: the main window, started with the screen dump file named by the command line.
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QSettings>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/QtDialogs.h"
#include "app/frmKestralMGA.h"
#include "common/AtomicFile.h"
#include "common/Version.h"
#include "reports/ui/ReportFont.h"

namespace {

constexpr const char* kUsage =
    " [--reset-settings] [SCREEN-DUMP-FILE]\n"
    "\n"
    "Checks survey plans against Map Grid of Australia coordinates of Permanent Survey Marks.\n"
    "SCREEN-DUMP-FILE is a mark list to open at start (a Mark Details or screen dump file).\n"
    "\n"
    "  --reset-settings  forget the remembered settings (window places, recent files, the\n"
    "                    comparison's settings) before starting\n"
    "  --help            show this text and exit\n"
    "  --version         show the program's version and exit\n"
    "\n"
    "The batch program kestralmga-cli compares plans without a window.\n";

// The command's name as it was started: "KestralMGA" from the build, "kestralmga" installed.
std::string CommandName(int argc, char** argv) {
  const std::string_view path = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  const std::string_view name = path.substr(path.find_last_of('/') + 1);
  return name.empty() ? std::string("KestralMGA") : std::string(name);
}

// --help and --version answer on standard output before any window (or display) is needed.
bool AnsweredOnStandardOutput(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(("Usage: " + CommandName(argc, argv) + kUsage).c_str(), stdout);
      return true;
    }
    if (argument == "--version") {
      std::printf("KestralMGA %s\n", modKestralMGA::kProgramVersion);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredOnStandardOutput(argc, argv)) return std::fflush(stdout) == 0 ? 0 : 2;
  // A file grown past the file-size limit (ulimit -f) is a failed save with its message ("File
  // too large"), not the end of the program with the temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  // Ended by SIGTERM, SIGINT or SIGHUP during a save, the program leaves no temporary file beside
  // the saved file.
  modKestralMGA::RemoveTemporaryFileOnSignals();
  QApplication application(argc, argv);  // takes Qt's own options (-platform, -style) first
  QApplication::setApplicationName(QStringLiteral("KestralMGA"));
  QApplication::setOrganizationName(QStringLiteral("KestralMGA"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kestralmga.png")));

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--reset-settings") {
      QSettings().clear();
      continue;
    }
    arguments.emplace_back(argv[i]);
  }

  QtDialogs dialogs;
  try {
    // Before any window: every printed report, its preview and PDF use this font.
    modKestralMGA::RegisterReportFont();
  } catch (const std::exception& e) {
    // The program still keeps and compares marks; each print command then reports the font.
    dialogs.Message(e.what(), "KestralMGA", modKestralMGA::MessageIcon::Critical);
  }
  frmKestralMGA window(dialogs);
  dialogs.SetParent(&window);
  window.Form_Load(DumpPathFromArguments(arguments));
  window.show();
  return QApplication::exec();
}
