// The lines file (its plan identifier rule: tests/data/core/text.tsv): the count of its records,
// the reading of its records and the refusals of bad input (transcript:
// tests/data/model/lines_file.txt), and the marking of usable lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CompareFixtures.h"
#include "plan/LinesFile.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// Each file (tests/data/model/lines_cases.txt) checked, then loaded from the bytes the check
// read: the count of non-blank lines, the result, the records (those before a bad line stay) and
// the messages.
TEST(LinesFile, ChecksAndLoadsEachFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "folder.lns");
  std::string transcript;
  const auto load = [&](const std::string& what, const std::string& plan) {
    RecordingSink sink;
    LinesFileText text;
    Plan tables;
    transcript += "== " + what + ": " + std::to_string(ValidKESTRALfile(plan, sink, text));
    transcript += " -> " + std::to_string(LoadLines(plan, text, sink, tables)) + "\n";
    for (const PlanLine& l : tables.PlanLines) {
      transcript += std::to_string(l.FromPoint) + "," + std::to_string(l.ToPoint) + "," +
                    FormatNumber(l.Bearing, "0.000000000000") + "," +
                    FormatNumber(l.Distance, "0.000000000000") + "," + std::to_string(l.InUse) +
                    "\n";
    }
    transcript += Said(sink);
  };
  for (const auto& c : TableRows("lines_cases.txt")) {
    folder.Write("plan.lns", c[1]);
    load(c[0], folder / "plan");
  }
  load("missing", folder / "missing");
  load("a folder", folder / "folder");
  // An upper-cased identifier opens the lower-case file; messages show the formed name.
  std::filesystem::create_directory(folder / "plans");
  folder.Write("plans/abc123.lns", "4601,4602,90,10\r\n4602,4603\r\n");
  load("upper-cased identifier", folder / "PLANS/ABC123");
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "lines_file.txt");
}

// The file is read once: the load takes the bytes the check read, unless they are another plan's.
TEST(LinesFile, LoadUsesTheBytesReadByTheCheck) {
  TempFolder folder;
  folder.Write("plan.lns", "1,2,90,10\r\n");
  const std::string plan = folder / "plan";
  RecordingSink sink;
  LinesFileText text;
  ASSERT_EQ(ValidKESTRALfile(plan, sink, text), 1);
  folder.Write("plan.lns", "7,8,0,1\r\n9,10,0,1\r\n");  // changed after the check
  Plan tables, other, missing;
  ASSERT_EQ(LoadLines(plan, text, sink, tables), 1);
  ASSERT_EQ(tables.PlanLines.size(), 1u);
  EXPECT_EQ(LoadLines(plan + "x", text, sink, missing), 0);
  EXPECT_EQ(sink.Count(), 1u);
  ASSERT_EQ(LoadLines(plan, LinesFileText{}, sink, other), 1);
  EXPECT_EQ(other.PlanLines.size(), 2u);
}

TEST(LinesFile, OnlyExactly999StaysOutOfUse) {
  Plan tables;
  const double bearings[] = {999.0, 999.0000001, 998.9999999, 0.0, 360.0, 1025.5, -10.3};
  for (const double bearing : bearings) tables.PlanLines.push_back({1, 2, bearing, 1.0, 0});
  MarkLinesInUse(tables);
  for (std::size_t i = 0; i < std::size(bearings); ++i)
    EXPECT_EQ(tables.PlanLines[i].InUse, i == 0 ? 0 : 1) << bearings[i];
}

}  // namespace
}  // namespace modKestralMGA
