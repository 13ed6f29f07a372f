// The window and printing tests run on Qt's offscreen platform under a comma-decimal locale
// (de_DE.UTF-8), so that any number read or written through the locale shows as a failure.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#ifdef KESTRAL_WIDGETS
#include <QApplication>
using Application = QApplication;
#else
#include <QGuiApplication>
using Application = QGuiApplication;  // the printer back end needs no widgets
#endif

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "reports/ui/ReportFont.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests (ctest's discovery at build time) needs no application.
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  Application application(argc, argv);
  // The windows' settings go to a store of this run's own, never the user's (each scenario start
  // empties it).
  const QTemporaryDir settings;
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  // So is the configuration folder, where the main window looks for a user's criteria file.
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
  Application::setOrganizationName(QStringLiteral("KestralMGA"));
  Application::setApplicationName(QStringLiteral("KestralMGA"));
  // The font of every printed report, shipped inside the program: as the programs do at start (a
  // failure ends the run with its message).
  modKestralMGA::RegisterReportFont();
  // After the application, which sets the C locale from the environment.
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    std::fprintf(stderr, "The de_DE.UTF-8 locale is missing: run scripts/install-deps\n");
    return 1;
  }
  std::locale::global(std::locale("de_DE.UTF-8"));
  return RUN_ALL_TESTS();
}
