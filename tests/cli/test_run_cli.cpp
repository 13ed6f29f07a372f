// The batch program's contract, in-process: exit status, the "<title>: <text>" lines on standard
// error in the order shown, standard output exactly (LF line ends, bytes passed through) and
// nothing on it after status 2.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace modKestralMGA {
namespace {

using testsupport::Check;
using testsupport::CliCase;
using testsupport::CliRun;
using testsupport::Golden;
using testsupport::RunCliOn;

const std::string kData = "tests/data/cli/";
const std::string kMarks = kData + "marks.csv";

// The good plan's output with its heading naming the plan as given in upper case.
std::string GoodInUpperCase() {
  std::string out = Golden("good.stdout");
  return out.replace(out.find("good"), 4, "GOOD");
}

class RunCliTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::EnterSourceFolder(); }
};

TEST_F(RunCliTest, ComparisonsThatRunToTheirEnd) {
  const CliCase cases[] = {
      {"every join acceptable",
       {"compare", "--marks", kMarks, "--plan", kData + "good"},
       0,
       Golden("good.stdout"),
       ""},
      {"the .lns name gives the same plan",
       {"compare", "--marks", kMarks, "--plan", kData + "good.lns"},
       0,
       Golden("good.stdout"),
       ""},
      {"report options without a report change nothing; plane computes on GRS80",
       {"compare", "--no-psm-list", "--marks", kMarks, "--full-joins", "--plan", kData + "good",
        "--ellipsoid", "plane", "--criterion", "Urban Areas", "--max-order", "5"},
       0,
       Golden("good.stdout"),
       ""},
      {"full details",
       {"compare", "--marks", kMarks, "--plan", kData + "good", "--full-details"},
       0,
       Golden("good-details.stdout"),
       ""},
      {"Tertiary Network ticks full details",
       {"compare", "--marks", kMarks, "--plan", kData + "good", "--tertiary"},
       0,
       Golden("good-details.stdout"),
       ""},
      {"two joins not acceptable",
       {"compare", "--marks", kMarks, "--plan", kData + "bad"},
       1,
       Golden("bad.stdout"),
       "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n"},
      // Unsolved points are reported and not counted; the curve file's message comes first.
      {"curve file missing",
       {"compare", "--marks", kMarks, "--plan", kData + "curve"},
       0,
       Golden("curve.stdout"),
       "Get Chord data error: Cannot open tests/data/cli/curve.cve: No such file or directory\n"},
      // The datum line falls back to the plane join for a mark of order 6; --full-details
      // ticks its box after "2 PSM's" cleared it.
      {"datum with full details",
       {"compare", "--full-details", "--marks", kMarks, "--plan", kData + "good", "--datum",
        "6628/1001", "6628/1003"},
       0,
       Golden("datum-details.stdout"),
       ""},
      {"AMG84 changes the combined scale factor",
       {"compare", "--marks", kMarks, "--plan", kData + "good", "--datum", "6628/1001", "6628/1002",
        "--ellipsoid", "amg"},
       0,
       Golden("datum-amg.stdout"),
       ""},
      {"datum texts pass through byte for byte; padding counts bytes",
       {"compare", "--marks", kMarks, "--plan", kData + "good", "--datum", "6628/1001\xE9",
        "6628/1002"},
       0,
       Golden("datum-bytes.stdout"),
       ""},
      {"mark files in order: the first of a repeated mark stays",
       {"compare", "--marks", kMarks, "--marks", kData + "moved.csv", "--plan", kData + "good"},
       0,
       Golden("good.stdout"),
       ""},
      {"mark files in the other order",
       {"compare", "--marks", kData + "moved.csv", "--marks", kMarks, "--plan", kData + "good"},
       1,
       Golden("moved.stdout"),
       "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n"},
      // Files are found whatever the letter case; messages and the heading show the paths as
      // given.
      {"paths as given",
       {"compare", "--marks", kData + "TOOFEW.CSV", "--plan", kData + "GOOD.LNS"},
       0,
       GoodInUpperCase(),
       "Open CSV file error: Lines with too few fields in tests/data/cli/TOOFEW.CSV: 3\n"},
  };
  for (const CliCase& c : cases) Check(c);
}

TEST_F(RunCliTest, CommandsThatCannotProduceTheirResult) {
  const std::string good = kData + "good";
  const std::string notMarks = "Open CSV file error: This is not a Mark Details file\n";
  const std::string noLines = "Valid KESTRAL file error: No lines found in KESTRAL file\n";
  const CliCase cases[] = {
      {"mark details file refused",
       {"compare", "--marks", kMarks, "--marks", kData + "notmarks.csv", "--plan", good},
       2,
       "",
       notMarks},
      {"mark details file whose reading stops at a number out of range",
       {"compare", "--marks", kData + "outofrange.csv", "--plan", good},
       2,
       "",
       "Open CSV file error: Number out of range at line 4 of tests/data/cli/outofrange.csv: "
       "1e400\n"},
      {"mark details file missing",
       {"compare", "--marks", kData + "none.csv", "--plan", good},
       2,
       "",
       "Open CSV file error: Cannot open tests/data/cli/none.csv: No such file or directory\n" +
           notMarks},
      {"refused mark file before the unknown criterion",
       {"compare", "--marks", kData + "notmarks.csv", "--criterion", "urban areas", "--plan", good},
       2,
       "",
       notMarks},
      {"unknown criterion before the count of marks",
       {"compare", "--criterion", "urban areas", "--plan", good},
       2,
       "",
       "Join Comparison: Unknown accuracy criterion: urban areas\n"},
      {"no marks",
       {"compare", "--plan", good},
       2,
       "",
       "Join Comparison: Not enough coordinates in list\n"},
      {"one mark, before the plan",
       {"compare", "--marks", kData + "one.csv", "--plan", kData + "nothere"},
       2,
       "",
       "Join Comparison: Not enough coordinates in list\n"},
      {"no lines file",
       {"compare", "--marks", kMarks, "--plan", kData + "nothere.LNS"},
       2,
       "",
       "Read KESTRAL file error: Cannot find plan file tests/data/cli/nothere\n" + noLines},
      {"empty lines file",
       {"compare", "--marks", kMarks, "--plan", kData + "empty"},
       2,
       "",
       noLines},
      {"unreadable lines",
       {"compare", "--marks", kMarks, "--plan", kData + "header"},
       2,
       "",
       "Load Lines error: Not a number at line 1 of tests/data/cli/header.lns: From\n"},
      {"datum key beyond 32 bits",
       {"compare", "--marks", kMarks, "--plan", good, "--datum", "6628/1001", "99999999999"},
       2,
       "",
       "Join Comparison: PSM number too large for a key: 99999999999\n"},
  };
  for (const CliCase& c : cases) Check(c);
}

TEST_F(RunCliTest, BadArguments) {
  const CliCase cases[] = {
      {"no command",
       {},
       2,
       "",
       "kestralmga-cli: no command given (the commands are compare, joins and save; see --help)\n"},
      {"unknown command",
       {"comapre", "--plan", "x"},
       2,
       "",
       "kestralmga-cli: unknown command comapre (the commands are compare, joins and save)\n"},
      {"compare without --plan",
       {"compare", "--marks", kMarks},
       2,
       "",
       "kestralmga-cli: --plan is required\n"},
      {"empty plan",
       {"compare", "--plan", ""},
       2,
       "",
       "kestralmga-cli: --plan needs a plan identifier or .lns file\n"},
      {"--datum with --tertiary",
       {"compare", "--plan", "x", "--datum", "1", "2", "--tertiary"},
       2,
       "",
       "kestralmga-cli: --datum excludes --tertiary\n"},
      {"--datum with one PSM",
       {"compare", "--plan", "x", "--datum", "1"},
       2,
       "",
       "kestralmga-cli: --datum: At least 2 required but received 1\n"},
      {"unknown ellipsoid",
       {"compare", "--plan", "x", "--ellipsoid", "GRS80"},
       2,
       "",
       "kestralmga-cli: --ellipsoid: GRS80 not in {mga,amg,plane}\n"},
      {"--columns of four",
       {"compare", "--plan", "x", "--import", "a", "--columns", "1,2,3,0"},
       2,
       "",
       "kestralmga-cli: --columns needs five column numbers P,E,N,H,Z: 1,2,3,0\n"},
      {"unknown option",
       {"compare", "--plan", "x", "--verbose"},
       2,
       "",
       "kestralmga-cli: The following argument was not expected: --verbose\n"},
      {"a value too many",
       {"compare", "--plan", "x", "y"},
       2,
       "",
       "kestralmga-cli: The following argument was not expected: y\n"},
  };
  for (const CliCase& c : cases) Check(c);
}

TEST_F(RunCliTest, HelpAndVersion) {
  const CliRun version = RunCliOn({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, "KestralMGA 2.00\n");
  EXPECT_EQ(version.Err, "");

  const CliRun help = RunCliOn({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Err, "");
  const char* everyCommandAndOption[] = {"Usage: kestralmga-cli",
                                         "compare",
                                         "--marks FILE",
                                         "--import FILE",
                                         "--columns P,E,N,H,Z",
                                         "--plan PLAN",
                                         "--criterion TEXT",
                                         "--max-order TEXT",
                                         "--datum",
                                         "--tertiary",
                                         "--full-details",
                                         "--ellipsoid mga|amg|plane",
                                         "--report FILE",
                                         "--pdf FILE",
                                         "--no-psm-list",
                                         "--full-joins",
                                         "--version"};
  for (const char* text : everyCommandAndOption) {
    EXPECT_NE(help.Out.find(text), std::string::npos) << text;
  }

  const CliRun compareHelp = RunCliOn({"compare", "--plan", "x", "--help"});
  EXPECT_EQ(compareHelp.Status, 0);
  EXPECT_NE(compareHelp.Out.find("Usage: kestralmga-cli compare"), std::string::npos);
  EXPECT_NE(compareHelp.Out.find("--datum"), std::string::npos);
}

// Every write to standard output is checked: a failed one ends with status 2 and says so, after
// the messages the command had shown.
TEST_F(RunCliTest, AFailedWriteOfStandardOutput) {
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"compare", "--marks", kMarks, "--plan", kData + "good"}, ""},
      {{"compare", "--marks", kMarks, "--plan", kData + "bad"},
       "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n"},
      {{"--version"}, ""},
      {{"--help"}, ""},
  };
  for (const auto& c : cases) {
    testsupport::FailingBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    EXPECT_EQ(RunCli(c.args, out, err), 2) << c.args.front();
    EXPECT_EQ(err.str(), c.err + "kestralmga-cli: cannot write to standard output\n");
  }
}

}  // namespace
}  // namespace modKestralMGA
