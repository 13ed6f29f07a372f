// The built program itself on the example data: what `make run` shows, and a standard output
// that cannot be written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "../unit/TempFolder.h"
#include "CliTestSupport.h"

namespace modKestralMGA {
namespace {

using testsupport::TempFolder;

// Runs the program from the source folder with args (shell words), after the shell words of
// prefix (an environment to run it in), standard output to outPath; returns its exit status and
// its standard error in err.
int RunProgram(const std::string& args, const std::string& prefix, const std::string& outPath,
               const TempFolder& folder, std::string& err) {
  const std::string errPath = folder / "err.txt";
  const std::string command = std::string("cd '") + KESTRAL_SOURCE_DIR + "' && " + prefix + " '" +
                              KESTRAL_CLI_PROGRAM + "' " + args + " >'" + outPath + "' 2>'" +
                              errPath + "'";
  const int status = std::system(command.c_str());
  err = testsupport::ReadBytes(errPath);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliProgram, ComparesTheExamplePlan) {
  TempFolder folder;
  std::string err;
  const std::string outPath = folder / "out.txt";
  EXPECT_EQ(RunProgram("compare --marks examples/marks.csv --plan examples/plan", "", outPath,
                       folder, err),
            1);
  EXPECT_EQ(testsupport::ReadBytes(outPath), testsupport::Golden("example.stdout"));
  EXPECT_EQ(err, "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n");
}

// The program renders the PDF on the offscreen platform without a display, and Qt's own
// diagnostics do not reach standard error.
TEST(CliProgram, PrintsTheExampleReportToAPdfWithoutADisplay) {
  TempFolder folder;
  std::string err;
  const std::string outPath = folder / "out.txt";
  const std::string pdfPath = folder / "report.pdf";
  EXPECT_EQ(
      RunProgram("compare --marks examples/marks.csv --plan examples/plan --pdf '" + pdfPath + "'",
                 "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", outPath, folder, err),
      1);
  EXPECT_EQ(testsupport::ReadBytes(outPath), testsupport::Golden("example.stdout"));
  EXPECT_EQ(err,
            "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n"
            "Print Joins: Printing completed\n");
  EXPECT_EQ(testsupport::ReadBytes(pdfPath).substr(0, 5), "%PDF-");
}

TEST(CliProgram, AFullDiskOnStandardOutput) {
  TempFolder folder;
  std::string err;
  EXPECT_EQ(RunProgram("compare --marks examples/marks.csv --plan examples/plan", "", "/dev/full",
                       folder, err),
            2);
  EXPECT_EQ(err,
            "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n"
            "kestralmga-cli: cannot write to standard output\n");
}

}  // namespace
}  // namespace modKestralMGA
