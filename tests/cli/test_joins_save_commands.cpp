// The batch program's joins and save commands: the join calculation window's walk on standard
// output, and the mark list saved by the Save command's rules.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "../unit/TempFolder.h"
#include "CliTestSupport.h"

namespace modKestralMGA {
namespace {

using testsupport::Check;
using testsupport::CliCase;
using testsupport::CliRun;
using testsupport::RunCliOn;
using testsupport::TempFolder;

const std::string kData = "tests/data/cli/";
// 6628/1001 (280000, 6130000) order 1, 6628/1002 (281000, 6131000) order 2, 6628/1003 (280000,
// 6131000) order 6, 6628/1007 (280500, 6130200) order 3; every height 100.000.
const std::string kMarks = kData + "marks.csv";
const std::string kHeader = "From\tTo\tBearing\tDistance\tCombined S. F.\n";

class JoinsSaveTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::EnterSourceFolder(); }
};

// Expected rows: the 1 km diagonal is the worked example (csf 1.00017809 at 100 m, 1413.962 m);
// the other values come from an independent evaluation of the same series (csf 1.0001780832 on
// the Australian National Spheroid, 1.0001918276 at 12.5 m, 1.0001794395 from 6628/1007 to
// 6628/1001, 1.0001780838 for 6628/1002 to 6628/1003 on the Australian National Spheroid) and
// from plane geometry for the plane joins.
TEST_F(JoinsSaveTest, JoinsWalksThePicksInTurn) {
  const CliCase cases[] = {
      {"each pick after the first adds a row; order 6 gives the plane join",
       {"joins", "--marks", kMarks, "6628/1001", "6628/1002", "6628/1003", "6628/1007",
        "6628/1001"},
       0,
       kHeader + "66281001\t66281002\t45.0000\t1413.962\t1.00017809\n"
                 "66281002\t66281003\t270.0000\t1000.000\t1.00000000\n"
                 "66281003\t66281007\t147.5941\t943.398\t1.00000000\n"
                 "66281007\t66281001\t248.1155\t538.420\t1.00017944\n",
       ""},
      {"the Australian National Spheroid, with the order limit raised",
       {"joins", "--marks", kMarks, "--ellipsoid", "amg", "--max-order", "6", "6628/1001",
        "6628/1002", "6628/1003"},
       0,
       kHeader + "66281001\t66281002\t45.0000\t1413.962\t1.00017808\n"
                 "66281002\t66281003\t270.0000\t999.822\t1.00017808\n",
       ""},
      {"plane joins; the same mark twice; a number no row holds gives zeros",
       {"joins", "--marks", kMarks, "--ellipsoid", "plane", "6628/1001", "6628/1002", "6628/1002",
        "6628/9999", "6628/1007"},
       0,
       kHeader + "66281001\t66281002\t45.0000\t1414.214\t1.00000000\n"
                 "66281002\t66281002\t0.0000\t0.000\t1.00000000\n"
                 "66281002\t66289999\t0.0000\t0.000\t0.00000000\n"
                 "66289999\t66281007\t0.0000\t0.000\t0.00000000\n",
       ""},
      {"--height in place of the list's mean; options after the picks",
       {"joins", "--marks", kMarks, "6628/1001", "6628/1002", "--height", "12.5"},
       0,
       kHeader + "66281001\t66281002\t45.0000\t1413.942\t1.00019183\n",
       ""},
      {"a number without a value has key 0, shown empty; bytes pass through",
       {"joins", "--marks", kMarks, "6628/1001", "PSM \xE9"},
       0,
       kHeader + "66281001\t\t0.0000\t0.000\t0.00000000\n",
       ""},
  };
  for (const CliCase& c : cases) Check(c);
}

TEST_F(JoinsSaveTest, JoinsThatCannotProduceTheirRows) {
  const std::string tooFew = "MGA Joins error: Not enough coordinates in list\n";
  const CliCase cases[] = {
      {"no marks", {"joins", "6628/1001", "6628/1002"}, 2, "", tooFew},
      {"one mark",
       {"joins", "--marks", kData + "one.csv", "6628/1001", "6628/1001"},
       2,
       "",
       tooFew},
      {"a later key beyond 32 bits: no rows at all",
       {"joins", "--marks", kMarks, "6628/1001", "6628/1002", "9999/999999", "6628/1001"},
       2,
       "",
       "MGA Joins error: PSM number too large for a key: 9999/999999\n"},
      {"a first pick makes no key; the next join makes the from-mark's",
       {"joins", "--marks", kMarks, "99999999999", "6628/1001"},
       2,
       "",
       "MGA Joins error: PSM number too large for a key: 99999999999\n"},
      {"a refused mark file",
       {"joins", "--marks", kData + "notmarks.csv", "6628/1001", "6628/1002"},
       2,
       "",
       "Open CSV file error: This is not a Mark Details file\n"},
      {"one PSM number",
       {"joins", "--marks", kMarks, "6628/1001"},
       2,
       "",
       "kestralmga-cli: PSM: At least 2 required but received 1\n"},
      {"no PSM number", {"joins", "--marks", kMarks}, 2, "", "kestralmga-cli: PSM is required\n"},
      {"an ellipsoid outside the choices",
       {"joins", "--ellipsoid", "GRS80", "1", "2"},
       2,
       "",
       "kestralmga-cli: --ellipsoid: GRS80 not in {mga,amg,plane}\n"},
  };
  for (const CliCase& c : cases) Check(c);

  testsupport::FailingBuffer buffer;
  std::ostream out(&buffer);
  std::ostringstream err;
  EXPECT_EQ(RunCli({"joins", "--marks", kMarks, "6628/1001", "6628/1002"}, out, err), 2);
  EXPECT_EQ(err.str(), "kestralmga-cli: cannot write to standard output\n");
}

TEST_F(JoinsSaveTest, SaveWritesTheCompleteRowsThatOpenAgain) {
  TempFolder folder;
  // An existing file is replaced whole.
  const std::string saved = folder.Write("saved.csv", "old content that is longer than a line\n");
  EXPECT_EQ(RunCliOn({"save", "--marks", kMarks, "--out", saved}).Status, 0);
  const std::string bytes = testsupport::ReadBytes(saved);
  EXPECT_EQ(bytes.find("old content"), std::string::npos);
  EXPECT_EQ(bytes.substr(0, 14), "6628,1001,,,,5");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(folder.Names(), std::set<std::string>({"saved.csv"}));  // no temporary file left

  // What the saved file gives is what the original gave.
  const std::vector<std::string> walk = {"6628/1001", "6628/1002", "6628/1003", "6628/1007"};
  std::vector<std::string> fromOriginal = {"joins", "--marks", kMarks};
  std::vector<std::string> fromSaved = {"joins", "--marks", saved};
  fromOriginal.insert(fromOriginal.end(), walk.begin(), walk.end());
  fromSaved.insert(fromSaved.end(), walk.begin(), walk.end());
  const CliRun original = RunCliOn(fromOriginal);
  const CliRun again = RunCliOn(fromSaved);
  EXPECT_EQ(again.Status, 0);
  EXPECT_EQ(again.Out, original.Out);
  EXPECT_EQ(again.Err, "");
}

TEST_F(JoinsSaveTest, SavesThatWriteNothing) {
  TempFolder folder;
  const std::string out = folder / "out.csv";
  const CliCase cases[] = {
      {"nothing in the list",
       {"save", "--out", out},
       2,
       "",
       "Save PSM data error: Nothing in list to save\n"},
      {"a refused mark file",
       {"save", "--marks", kMarks, "--marks", kData + "notmarks.csv", "--out", out},
       2,
       "",
       "Open CSV file error: This is not a Mark Details file\n"},
      {"a folder that does not exist",
       {"save", "--marks", kMarks, "--out", folder / "none/out.csv"},
       2,
       "",
       "Save CSV file error: Cannot write " + folder / "none/out.csv" +
           ": No such file or directory\n"},
      {"no --out", {"save", "--marks", kMarks}, 2, "", "kestralmga-cli: --out is required\n"},
      {"an empty --out",
       {"save", "--marks", kMarks, "--out", ""},
       2,
       "",
       "kestralmga-cli: --out needs a file name\n"},
  };
  for (const CliCase& c : cases) Check(c);
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(JoinsSaveTest, HelpShowsBothCommands) {
  const CliRun help = RunCliOn({"--help"});
  EXPECT_EQ(help.Status, 0);
  for (const char* text : {"joins", "PSM", "--height TEXT", "--ellipsoid mga|amg|plane", "save",
                           "--out FILE"}) {
    EXPECT_NE(help.Out.find(text), std::string::npos) << text;
  }
  const CliRun joinsHelp = RunCliOn({"joins", "--help"});
  EXPECT_EQ(joinsHelp.Status, 0);
  EXPECT_NE(joinsHelp.Out.find("Usage: kestralmga-cli joins"), std::string::npos);
  EXPECT_EQ(joinsHelp.Out.find("--plan"), std::string::npos);
  const CliRun saveHelp = RunCliOn({"save", "--help"});
  EXPECT_NE(saveHelp.Out.find("Usage: kestralmga-cli save"), std::string::npos);
}

}  // namespace
}  // namespace modKestralMGA
