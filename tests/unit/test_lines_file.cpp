// The lines file: the plan identifier rule, the check that the file exists and how many records
// it holds, the reading of its records, the refusals of bad input, and the marking of usable
// lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/Rounding.h"
#include "plan/LinesFile.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingSink;
using testsupport::TempFolder;

TEST(PlanIdentifierFromName, DropsOnlyALnsExtensionInAnyCase) {
  const struct {
    std::string name;
    std::string identifier;
  } cases[] = {
      {"D:\\plans\\1234.LNS", "D:\\plans\\1234"},
      {"D:\\plans\\1234.lns", "D:\\plans\\1234"},
      {"/data/plans/abc.LnS", "/data/plans/abc"},
      {"/data/plans/abc.lnsx", "/data/plans/abc.lnsx"},
      {"PLAN.LNS", "PLAN"},
      {".lns", ""},
      {"lns", "lns"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlanIdentifierFromName(c.name), c.identifier) << c.name;
  }
}

TEST(ValidKESTRALfile, MissingFileNamesThePlanIdentifier) {
  TempFolder folder;
  const std::string plan = folder / "1234";
  RecordingSink sink;
  LinesFileText text;
  EXPECT_EQ(ValidKESTRALfile(plan, sink, text), 0);
  EXPECT_FALSE(text.Read);
  const std::vector<RecordingSink::Entry> expected = {
      {"Cannot find plan file " + plan, "Read KESTRAL file error", MessageIcon::Exclamation}};
  EXPECT_EQ(sink.Entries(), expected);
}

TEST(ValidKESTRALfile, CountsNonBlankLinesOnly) {
  const struct {
    const char* what;
    std::string bytes;
    std::int64_t count;
  } cases[] = {
      {"empty file", "", 0},
      {"blank lines only", "\r\n  \r\n\t\r\n", 0},
      {"one record without line end", "4601,4602,90.0000,100", 1},
      {"CR LF, blank line inside and after", "1,2,0,1\r\n\r\n2,3,0,1\r\n\r\n", 2},
      {"LF and CR line ends", "1,2,0,1\n2,3,0,1\r3,4,0,1\n", 3},
      {"byte-order mark and end-of-file byte",
       "\xEF\xBB\xBF"
       "1,2,0,1\r\n\x1A",
       1},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("plan.lns", c.bytes);
    RecordingSink sink;
    LinesFileText text;
    EXPECT_EQ(ValidKESTRALfile(folder / "plan", sink, text), c.count) << c.what;
    EXPECT_TRUE(sink.Entries().empty()) << c.what;
  }
}

TEST(ValidKESTRALfile, UnreadableFileGivesItsDescription) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "folder.lns");
  folder.Write("binary.lns", std::string("4601,4602\0,1,2\r\n", 16));
  const struct {
    const char* plan;
    std::string text;  // after the path of <plan>.lns
  } cases[] = {
      {"folder", ": Is a directory"},
      {"binary", " is not a plain text file (UTF-16 or binary); save it as plain text"},
  };
  for (const auto& c : cases) {
    const std::string plan = folder / c.plan;
    RecordingSink sink;
    LinesFileText text;
    EXPECT_EQ(ValidKESTRALfile(plan, sink, text), 0) << c.plan;
    const std::string expectedText =
        (c.text[0] == ':' ? "Cannot open " : "") + plan + ".lns" + c.text;
    const std::vector<RecordingSink::Entry> expected = {
        {expectedText, "Read KESTRAL file error", MessageIcon::Exclamation}};
    EXPECT_EQ(sink.Entries(), expected);
  }
}

TEST(LoadLines, ReadsEveryRecordOfAWellFormedFile) {
  TempFolder folder;
  folder.Write("plan.lns",
               "4601,4602,999,0\r\n"
               "4601,27,1025.5,31.416\r\n"
               "\r\n"
               "  10 ,\"4601\", 90.0000 ,50.25\r\n"
               "4600.5,4601.5,,-0.5e1\r\n"
               "-2147483648,2147483647,45.3015,1E2\r\n");
  RecordingSink sink;
  LinesFileText text;
  const std::string plan = folder / "plan";
  ASSERT_EQ(ValidKESTRALfile(plan, sink, text), 5);
  Plan tables;
  ASSERT_EQ(LoadLines(plan, text, sink, tables), 1);
  EXPECT_TRUE(sink.Entries().empty());
  const struct {
    std::int32_t from, to;
    double bearing, distance;
  } expected[] = {
      {4601, 4602, 999.0, 0.0},
      {4601, 27, 1025.5, 31.416},  // a curve of radius 25.5 m, arc 31.416 m
      {10, 4601, 90.0, 50.25},
      {4600, 4602, 0.0, -5.0},  // point numbers round half to even; an empty value is 0
      {-2147483648, 2147483647, 45.3015, 100.0},
  };
  ASSERT_EQ(tables.PlanLines.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const PlanLine& line = tables.PlanLines[i];
    EXPECT_EQ(line.FromPoint, expected[i].from) << i;
    EXPECT_EQ(line.ToPoint, expected[i].to) << i;
    EXPECT_TRUE(IsExactly(line.Bearing, expected[i].bearing)) << i << ": " << line.Bearing;
    EXPECT_TRUE(IsExactly(line.Distance, expected[i].distance)) << i << ": " << line.Distance;
    EXPECT_EQ(line.InUse, 0) << i;
  }
}

TEST(LoadLines, UsesTheBytesReadByTheCheck) {
  TempFolder folder;
  folder.Write("plan.lns", "1,2,90,10\r\n");
  const std::string plan = folder / "plan";
  RecordingSink sink;
  LinesFileText text;
  ASSERT_EQ(ValidKESTRALfile(plan, sink, text), 1);
  folder.Write("plan.lns", "7,8,0,1\r\n9,10,0,1\r\n");  // changed after the check

  Plan tables;
  ASSERT_EQ(LoadLines(plan, text, sink, tables), 1);
  ASSERT_EQ(tables.PlanLines.size(), 1u);
  EXPECT_EQ(tables.PlanLines[0].FromPoint, 1);

  // Bytes of another plan are not taken: the file is read.
  Plan other;
  ASSERT_EQ(LoadLines(plan + "x", text, sink, other), 0);
  const std::vector<RecordingSink::Entry> expected = {
      {"Cannot open " + plan + "x.lns: No such file or directory", "Load Lines error",
       MessageIcon::Exclamation}};
  EXPECT_EQ(sink.Entries(), expected);
  ASSERT_EQ(LoadLines(plan, LinesFileText{}, sink, other), 1);
  EXPECT_EQ(other.PlanLines.size(), 2u);
}

TEST(LoadLines, UpperCasedIdentifierOpensTheFileAndMessagesShowTheFormedName) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "plans");
  folder.Write("plans/abc123.lns", "4601,4602,90,10\r\n4602,4603\r\n");
  const std::string plan = folder / "PLANS/ABC123";
  RecordingSink sink;
  LinesFileText text;
  ASSERT_EQ(ValidKESTRALfile(plan, sink, text), 2);
  Plan tables;
  EXPECT_EQ(LoadLines(plan, text, sink, tables), 0);
  const std::vector<RecordingSink::Entry> expected = {
      {"Line 2 of " + plan + ".lns has 2 values, 4 expected", "Load Lines error",
       MessageIcon::Exclamation}};
  EXPECT_EQ(sink.Entries(), expected);
}

// Each bad file fails the read with its message, and the records before the bad line stay.
TEST(LoadLines, BadInputFailsWithTheLineAndValue) {
  const struct {
    const char* what;
    std::string bytes;
    std::string message;  // after "<plan>.lns" is put for %
    std::size_t recordsKept;
  } cases[] = {
      {"header line of text", "From,To,Bearing,Distance\r\n1,2,0,1\r\n",
       "Not a number at line 1 of %: From", 0},
      {"header line without commas", "PLAN 1234 LINES\r\n1,2,0,1\r\n",
       "Line 1 of % has 1 values, 4 expected", 0},
      {"truncated record", "1,2,0,1\r\n2,3,45.3000\r\n3,4,0,1\r\n",
       "Line 2 of % has 3 values, 4 expected", 1},
      {"truncated last line", "1,2,0,1\r\n2,3", "Line 2 of % has 2 values, 4 expected", 1},
      {"five values", "1,2,0,1,7\r\n", "Line 1 of % has 5 values, 4 expected", 0},
      {"trailing comma", "1,2,0,1,\r\n", "Line 1 of % has 5 values, 4 expected", 0},
      {"blank lines counted in line numbers", "1,2,0,1\r\n\r\n\r\n2,x,0,1\r\n",
       "Not a number at line 4 of %: x", 1},
      {"point number beyond 32 bits", "1,2,0,1\r\n4294967296,2,0,1\r\n",
       "Point number out of range at line 2 of %: 4294967296", 1},
      {"point number rounding beyond 32 bits", "2147483647.5,2,0,1\r\n",
       "Point number out of range at line 1 of %: 2147483647.5", 0},
      {"distance beyond a double", "1,2,0, 1e400 \r\n", "Number out of range at line 1 of %: 1e400",
       0},
      {"radius beyond a double", "1,2,1e400,10\r\n", "Number out of range at line 1 of %: 1e400",
       0},
      {"exponent without digits", "1,2,1e,10\r\n", "Not a number at line 1 of %: 1e", 0},
      {"infinity", "1,2,0,infinity\r\n", "Not a number at line 1 of %: infinity", 0},
      {"trailing text", "1,2,45.30abc,10\r\n", "Not a number at line 1 of %: 45.30abc", 0},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("plan.lns", c.bytes);
    const std::string plan = folder / "plan";
    RecordingSink sink;
    LinesFileText text;
    ASSERT_GE(ValidKESTRALfile(plan, sink, text), 1) << c.what;
    Plan tables;
    EXPECT_EQ(LoadLines(plan, text, sink, tables), 0) << c.what;
    std::string message = c.message;
    message.replace(message.find('%'), 1, plan + ".lns");
    const std::vector<RecordingSink::Entry> expected = {
        {message, "Load Lines error", MessageIcon::Exclamation}};
    EXPECT_EQ(sink.Entries(), expected) << c.what;
    for (std::size_t i = 0; i < c.recordsKept; ++i) {
      EXPECT_NE(tables.PlanLines.at(i).ToPoint, 0) << c.what << ": record " << i;
    }
    if (c.recordsKept < tables.PlanLines.size()) {
      EXPECT_EQ(tables.PlanLines[c.recordsKept].ToPoint, 0) << c.what;
    }
  }
}

TEST(MarkLinesInUse, OnlyExactly999StaysOutOfUse) {
  Plan tables;
  const double bearings[] = {999.0, 999.0000001, 998.9999999, 0.0, 360.0, 500.0, 1025.5, -10.3};
  for (const double bearing : bearings) tables.PlanLines.push_back({1, 2, bearing, 1.0, 0});
  MarkLinesInUse(tables);
  const std::int16_t expected[] = {0, 1, 1, 1, 1, 1, 1, 1};
  for (std::size_t i = 0; i < std::size(bearings); ++i) {
    EXPECT_EQ(tables.PlanLines[i].InUse, expected[i]) << bearings[i];
  }
}

}  // namespace
}  // namespace modKestralMGA
