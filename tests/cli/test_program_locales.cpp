// The built batch program gives the same bytes whatever the locale of its environment: its
// golden runs under LC_ALL=C and under LC_ALL=de_DE.UTF-8 (a comma-decimal locale) give the
// same status, standard output, standard error, saved files and PDF text, and the golden
// outputs. The PDF run matters most: Qt adopts the environment's locale when it starts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"
#include "CliTestSupport.h"

namespace modKestralMGA {
namespace {

using testsupport::Golden;
using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kData = "tests/data/cli/";
const std::string kMarks = kData + "marks.csv";

// What one run of the program gave: status, both streams, and the files it wrote.
struct ProgramRun {
  int Status = -1;
  std::string Out;
  std::string Err;
  std::string Saved;
  std::string Report;
  std::vector<std::vector<std::string>> PdfLines;
  bool operator==(const ProgramRun&) const = default;
};

// Runs the program from the source folder with args (shell words, where {folder} stands for a
// folder of the run's own) under LC_ALL=locale.
ProgramRun RunUnder(const std::string& locale, std::string args) {
  TempFolder folder;
  for (std::size_t at; (at = args.find("{folder}")) != std::string::npos;) {
    args.replace(at, 8, folder.Path());
  }
  const std::string command = std::string("cd '") + KESTRAL_SOURCE_DIR + "' && env -u LANG -u " +
                              "LANGUAGE -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=" + locale + " '" +
                              KESTRAL_CLI_PROGRAM + "' " + args + " >'" + folder / "out" + "' 2>'" +
                              folder / "err" + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Out = ReadBytes(folder / "out");
  run.Err = ReadBytes(folder / "err");
  run.Saved = ReadBytes(folder / "saved.csv");
  run.Report = ReadBytes(folder / "report.txt");
  if (!ReadBytes(folder / "report.pdf").empty()) {
    run.PdfLines = testsupport::PdfPageLines(
        testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, folder / "report.pdf"));
  }
  return run;
}

TEST(ProgramLocales, GoldenRunsGiveTheSameBytesUnderEveryLocale) {
  const std::string compare = "compare --marks " + kMarks + " --plan " + kData;
  struct Case {
    std::string Args;
    int Status;
    std::string Golden;  // the expected standard output ("" for none to compare)
  };
  const Case cases[] = {
      {compare + "good", 0, "good.stdout"},
      {compare + "bad", 1, "bad.stdout"},
      {compare + "good --full-details --datum 6628/1001 6628/1003", 0, "datum-details.stdout"},
      {compare + "good --datum 6628/1001 6628/1002 --ellipsoid amg", 0, "datum-amg.stdout"},
      {compare + "bad --full-joins --report {folder}/report.txt --pdf {folder}/report.pdf", 1,
       "bad.stdout"},
      {"joins --marks " + kMarks + " --height 12.5 6628/1001 6628/1002 6628/1007", 0, ""},
      {"save --marks " + kMarks + " --out {folder}/saved.csv", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args);
    const ProgramRun plain = RunUnder("C", c.Args);
    const ProgramRun comma = RunUnder("de_DE.UTF-8", c.Args);
    EXPECT_EQ(plain.Status, c.Status);
    if (!c.Golden.empty()) {
      EXPECT_EQ(plain.Out, Golden(c.Golden));
    }
    if (c.Args.find("--pdf") != std::string::npos) {
      EXPECT_FALSE(plain.Report.empty() || plain.PdfLines.empty()) << "no report written";
    }
    EXPECT_TRUE(plain == comma) << "LC_ALL=C:\n"
                                << plain.Out << plain.Err << plain.Report << "LC_ALL=de_DE.UTF-8:\n"
                                << comma.Out << comma.Err << comma.Report;
  }
}

}  // namespace
}  // namespace modKestralMGA
