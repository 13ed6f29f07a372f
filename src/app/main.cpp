// KestralMGA: the main window, started with the screen dump file named by the command line.
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <csignal>
#include <exception>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/QtDialogs.h"
#include "app/frmKestralMGA.h"
#include "common/AtomicFile.h"
#include "reports/ui/ReportFont.h"

int main(int argc, char** argv) {
  // A file grown past the file-size limit (ulimit -f) is a failed save with its message ("File
  // too large"), not the end of the program with the temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  // Ended by SIGTERM, SIGINT or SIGHUP during a save, the program leaves no temporary file beside
  // the saved file.
  modKestralMGA::RemoveTemporaryFileOnSignals();
  QApplication application(argc, argv);  // takes Qt's own options (-platform, -style) first
  QApplication::setApplicationName(QStringLiteral("KestralMGA"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/kestralmga.png")));

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

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
