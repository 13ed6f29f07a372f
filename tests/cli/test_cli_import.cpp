// The batch program's --import: delimited text files imported into the mark list in the order
// given with the other mark list options, each with the column numbers of the --columns that
// follows it or else the numbers given last, and the import window's rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "common/ValueList.h"

namespace modKestralMGA {
namespace {

using testsupport::CliRun;
using testsupport::Golden;
using testsupport::RunCliOn;

const std::string kData = "tests/data/cli/";
const std::string kPlan = kData + "good";
// The marks of marks.csv as a surveyor's export: a byte-order mark, a title line, metre units
// after the values, lines ended by carriage returns alone; columns point, east, north, height,
// zone.
const std::string kPoints = kData + "points.txt";
// 6628/1002 moved 0.1 m east, written northing, easting, point: columns 3,2,1.
const std::string kMoved = kData + "moved-points.txt";
// 6628/5555, far from the plan, in the same layout as kMoved.
const std::string kFar = kData + "far-points.txt";
const std::string kNotAcceptable2 = "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n";
const std::string kNotAcceptable3 = "Join Comparison: ***** 3 JOINS WERE NOT ACCEPTABLE *****\n";
const std::string kNothingFound = "Import error: Nothing found in file\n";

struct ImportCase {
  const char* what;
  std::vector<std::string> marks;  // the mark list options; the plan is always kPlan
  int status;
  std::string out;
  std::string err;
};

void CheckAll(const std::vector<ImportCase>& cases) {
  for (const ImportCase& c : cases) {
    std::vector<std::string> args = {"compare", "--plan", kPlan};
    args.insert(args.end(), c.marks.begin(), c.marks.end());
    const CliRun run = RunCliOn(args);
    EXPECT_EQ(run.Status, c.status) << c.what;
    EXPECT_EQ(run.Out, c.out) << c.what;
    EXPECT_EQ(run.Err, c.err) << c.what;
  }
}

class CliImportTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::EnterSourceFolder(); }
};

TEST_F(CliImportTest, ImportsInOrderWithTheirColumnNumbers) {
  // Imported marks have no order, so 6628/1003 (order 6 in marks.csv) is compared here.
  const std::string imported = Golden("imported.stdout");
  CheckAll({
      {"the points with their heights and zones",
       {"--import", kPoints, "--columns", "1,2,3,4,5"},
       0,
       imported,
       ""},
      {"found whatever the letter case",
       {"--import", kData + "POINTS.TXT", "--columns", "1,2,3,4,5"},
       0,
       imported,
       ""},
      // No duplicate removal: the later import's 6628/1002 is the one the comparison finds.
      {"a later import's mark is the one found",
       {"--import", kPoints, "--columns", "1,2,3,4,5", "--import", kMoved, "--columns",
        "3,2,1,0,0"},
       1,
       Golden("imported-moved.stdout"),
       kNotAcceptable3},
      {"the same imports the other way round",
       {"--import", kMoved, "--columns", "3,2,1,0,0", "--import", kPoints, "--columns",
        "1,2,3,4,5"},
       0,
       imported,
       ""},
      // The columns given for the first import carry over to the second; with the initial
      // 1,2,3 the moved file would give no 6628/1002 and the plan's joins would all pass.
      {"columns carried to the next import",
       {"--marks", kData + "marks.csv", "--import", kFar, "--columns", "3 ,2m,1,0,0", "--import",
        kMoved},
       1,
       Golden("moved.stdout"),
       kNotAcceptable2},
      {"columns given again for the next import",
       {"--marks", kData + "marks.csv", "--import", kFar, "--columns", "3,2,1,0,0", "--import",
        kMoved, "--columns", "1,2,3,0,0"},
       0,
       Golden("good.stdout"),
       ""},
      // lone-point.txt leaves 6628/1003 without coordinates as the last row; the next import
      // removes that incomplete row before reading, so 6628/1003 is found again.
      {"an incomplete last row goes before the next import",
       {"--import", kPoints, "--columns", "1,2,3,4,5", "--import", kData + "lone-point.txt",
        "--import", kFar, "--columns", "3,2,1,0,0"},
       0,
       imported,
       ""},
  });
}

TEST_F(CliImportTest, RefusedFilesEndWithStatusTwo) {
  // A field over the value limit, on the second line of a file of its own.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "kestral-cli-import-long";
  std::filesystem::create_directories(folder);
  const std::string longFile = (folder / "long.txt").string();
  {
    std::ofstream out(longFile, std::ios::binary | std::ios::trunc);
    out << "6628/1001 280000 6130000\r\n6628/1002 " << std::string(kMaxValueLength + 1, '1')
        << "\r\n";
  }
  CheckAll({
      {"a missing file, after the marks before it",
       {"--marks", kData + "marks.csv", "--import", kData + "none.txt"},
       2,
       "",
       "Import file error: Cannot open tests/data/cli/none.txt: No such file or directory\n" +
           kNothingFound},
      {"only short lines", {"--import", kData + "short.txt"}, 2, "", kNothingFound},
      {"a field over the limit",
       {"--import", longFile},
       2,
       "",
       "Import file error: Value too long at line 2 of " + longFile + "\n"},
      // The marks list options come first: a refused import ends the command before the plan
      // or the criterion is looked at.
      {"before the unknown criterion",
       {"--import", kData + "short.txt", "--criterion", "urban"},
       2,
       "",
       kNothingFound},
  });
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace modKestralMGA
