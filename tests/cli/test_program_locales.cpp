// The built batch program itself, without a display: its golden runs give the same bytes under
// LC_ALL=C and under LC_ALL=de_DE.UTF-8 (a comma-decimal locale), in status, both streams, saved
// files and PDF text. The PDF run matters most: Qt adopts the environment's locale when it
// starts, and its own diagnostics must not reach standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;

struct ProgramRun {
  int Status = -1;
  std::string Out, Err, Saved, Report;
  std::vector<std::vector<std::string>> PdfLines;
  bool operator==(const ProgramRun&) const = default;
};

// Runs the program from the source folder with args (shell words, {folder} a folder of the
// run's own) under LC_ALL=locale, standard output to outPath (a file in that folder when empty).
ProgramRun RunUnder(const std::string& locale, std::string args, std::string outPath = "") {
  testsupport::TempFolder folder;
  for (std::size_t at; (at = args.find("{folder}")) != std::string::npos;) {
    args.replace(at, 8, folder.Path());
  }
  if (outPath.empty()) outPath = folder / "out";
  const std::string command =
      std::string("cd '") + KESTRAL_SOURCE_DIR + "' && env -u LANG -u " +
      "LANGUAGE -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=" + locale + " '" +
      KESTRAL_CLI_PROGRAM + "' " + args + " >'" + outPath + "' 2>'" + folder / "err" + "'";
  const int status = std::system(command.c_str());
  ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                 ReadBytes(folder / "out"),
                 ReadBytes(folder / "err"),
                 ReadBytes(folder / "saved.csv"),
                 ReadBytes(folder / "report.txt"),
                 {}};
  if (!ReadBytes(folder / "report.pdf").empty()) {
    run.PdfLines = testsupport::PdfPageLines(
        testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, folder / "report.pdf"));
  }
  return run;
}

const std::string kExample = "compare --marks examples/marks.csv --plan examples/plan";
const std::string kOneNotAcceptable = "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n";

TEST(ProgramLocales, GoldenRunsGiveTheSameBytesUnderEveryLocale) {
  const std::string compare = "compare --marks tests/data/cli/marks.csv --plan tests/data/cli/";
  const std::string done = "Print Joins: Printing completed\n";
  const struct {
    std::string Args;
    int Status;
    std::string Golden;  // the expected standard output in tests/data/cli/expected ("": none)
    std::string Err;
  } cases[] = {
      {compare + "good", 0, "good.stdout", ""},
      {compare + "bad", 1, "bad.stdout",
       "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n"},
      {compare + "good --full-details --datum 6628/1001 6628/1003", 0, "datum-details.stdout", ""},
      {compare + "good --datum 6628/1001 6628/1002 --ellipsoid amg", 0, "datum-amg.stdout", ""},
      {kExample + " --full-joins --report {folder}/report.txt --pdf {folder}/report.pdf", 1,
       "example.stdout", kOneNotAcceptable + done + done},
      {"joins --marks tests/data/cli/marks.csv --height 12.5 6628/1001 6628/1002 6628/1007", 0, "",
       ""},
      {"save --marks tests/data/cli/marks.csv --out {folder}/saved.csv", 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args);
    const ProgramRun plain = RunUnder("C", c.Args);
    const ProgramRun comma = RunUnder("de_DE.UTF-8", c.Args);
    EXPECT_EQ(plain.Status, c.Status);
    EXPECT_EQ(plain.Err, c.Err);
    if (!c.Golden.empty()) {
      EXPECT_EQ(plain.Out, ReadBytes(std::string(KESTRAL_SOURCE_DIR) + "/tests/data/cli/expected/" +
                                     c.Golden));
    }
    if (c.Args.find("--pdf") != std::string::npos) {
      EXPECT_FALSE(plain.Report.empty() || plain.PdfLines.empty()) << "no report written";
    }
    EXPECT_TRUE(plain == comma) << "LC_ALL=C:\n"
                                << plain.Out << plain.Err << plain.Report << "LC_ALL=de_DE.UTF-8:\n"
                                << comma.Out << comma.Err << comma.Report;
  }
}

TEST(ProgramLocales, AFullDiskOnStandardOutput) {
  const ProgramRun run = RunUnder("C", kExample, "/dev/full");
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, kOneNotAcceptable + "kestralmga-cli: cannot write to standard output\n");
}

}  // namespace
}  // namespace modKestralMGA
