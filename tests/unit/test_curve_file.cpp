// The curve file: the reverse bearing, the chord rules for every form of curve record, the index
// read once per build, and the messages of a missing or bad curve file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "plan/CurveFile.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingSink;
using testsupport::TempFolder;

TEST(ReverseBearing, AddsHalfACircleWithinTheCircle) {
  const struct {
    double bearing, reverse;
  } cases[] = {
      {45.3, 225.3}, {200.0, 20.0},        {180.0, 0.0},
      {0.0, 180.0},  {179.5959, 359.5959}, {360.0, 180.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(ReverseBearing(c.bearing), c.reverse, 1e-12) << c.bearing;
  }
}

// One call of GetChordData against a curve file of one record.
struct ChordCase {
  const char* what;
  const char* record;
  std::int32_t p1, p2;
  double radius, arc;
  bool usable;
  const char* bearing;  // the chord bearing written "0.0000"
  double length;        // metres
};

TEST(GetChordData, EveryFormOfRecord) {
  // R = 100 m, arc = 31.4159 m: half angle 0.1570795 rad (8.99999 deg), chord 2 R sin(half) =
  // 31.28689... m. R = 1e6 m, arc = 999.5 m: chord 999.49998 m, within 1 m of 999.
  const double chord100 = 200.0 * std::sin(31.4159 / 100.0 / 2.0);
  const ChordCase cases[] = {
      {"chord given, listed the other way", "4602,4601,L,45.3000,12.345", 4601, 4602, 100, 12.35,
       true, "225.3000", 12.345},
      {"chord given, listed this way", "4601,4602,L,45.3000,12.345", 4601, 4602, 100, 12.35, true,
       "45.3000", 12.345},
      {"tangent bearing, right-hand curve", "4601,4602,R,90.0000,999", 4601, 4602, 100, 31.4159,
       true, "99.0000", chord100},
      {"tangent bearing, left-hand curve", "4601,4602,L,90.0000,999", 4601, 4602, 100, 31.4159,
       true, "81.0000", chord100},
      {"tangent, lower-case l turns right", "4601,4602,l,90.0000,999", 4601, 4602, 100, 31.4159,
       true, "99.0000", chord100},
      {"tangent, blanks around L", "4601,4602, L ,90.0000,999", 4601, 4602, 100, 31.4159, true,
       "81.0000", chord100},
      {"tangent, reversed after the correction", "4602,4601,R,191.0000,999", 4601, 4602, 100,
       31.4159, true, "20.0000", chord100},
      {"bearing not given: value 5 is the bearing", "4601,4602,R,999,45.3", 4601, 4602, 100,
       31.4159, true, "45.3000", chord100},
      {"distance 999 within 1 m of the chord", "4601,4602,R,45.1000,999", 4601, 4602, 1e6, 999.5,
       true, "45.1000", 999.0},
      {"neither given", "4601,4602,L,999,999", 4601, 4602, 100, 31.4159, false, "999.0000",
       chord100},
  };
  for (const ChordCase& c : cases) {
    TempFolder folder;
    folder.Write("plan.cve", std::string(c.record) + "\r\n");
    RecordingSink sink;
    CurveIndex curves(folder / "plan", sink);
    double bearing = -1.0;
    double length = -1.0;
    EXPECT_EQ(GetChordData(c.p1, c.p2, c.radius, c.arc, curves, bearing, length), c.usable)
        << c.what;
    EXPECT_EQ(FormatNumber(bearing, kFormatBearing), c.bearing) << c.what;
    EXPECT_NEAR(length, c.length, 1e-9) << c.what;
    EXPECT_TRUE(sink.Entries().empty()) << c.what;
  }
  EXPECT_EQ(FormatNumber(chord100, "0.0000"), "31.2869");
}

TEST(GetChordData, NoRecordLeavesTheOutputsAndFirstRecordInFileOrderWins) {
  TempFolder folder;
  folder.Write("plan.cve",
               "5,6,R,10.0000,1\r\n"
               "2,1,R,30.0000,3\r\n"
               "1,2,R,20.0000,2\r\n");
  RecordingSink sink;
  CurveIndex curves(folder / "plan", sink);
  double bearing = 7.0;
  double length = 8.0;
  EXPECT_FALSE(GetChordData(1, 3, 10, 1, curves, bearing, length));
  EXPECT_TRUE(IsExactly(bearing, 7.0) && IsExactly(length, 8.0));
  ASSERT_TRUE(GetChordData(1, 2, 10, 1, curves, bearing, length));
  EXPECT_EQ(FormatNumber(bearing, kFormatBearing), "210.0000");  // 2,1 comes first: reversed
  EXPECT_TRUE(IsExactly(length, 3.0));
  ASSERT_TRUE(GetChordData(2, 1, 10, 1, curves, bearing, length));
  EXPECT_EQ(FormatNumber(bearing, kFormatBearing), "30.0000");
}

TEST(GetChordData, ChordBeyondTheRangeOfADoubleThrows) {
  TempFolder folder;
  folder.Write("plan.cve", "1,2,R,10.0000,5\r\n");
  RecordingSink sink;
  CurveIndex curves(folder / "plan", sink);
  double bearing = 0.0;
  double length = 0.0;
  EXPECT_THROW(GetChordData(1, 2, 1e-300, 1e300, curves, bearing, length), KestralError);
  EXPECT_THROW(GetChordData(1, 2, 1.7e308, 1.0, curves, bearing, length), KestralError);
  // A tangent bearing whose angle overflows.
  folder.Write("tangent.cve", "1,2,R,1e308,999\r\n");
  CurveIndex tangents(folder / "tangent", sink);
  EXPECT_THROW(GetChordData(1, 2, 10.0, 1.0, tangents, bearing, length), KestralError);
  // Large but finite values are computed: arc 1000 m on radius 0.001 m, radius 1e300 m, arc 0.
  EXPECT_TRUE(GetChordData(1, 2, 0.001, 1000.0, curves, bearing, length));
  EXPECT_TRUE(GetChordData(1, 2, 1e300, 10.0, curves, bearing, length));
  EXPECT_TRUE(GetChordData(1, 2, 10.0, 0.0, curves, bearing, length));
}

TEST(CurveIndex, MissingFileGivesOneMessageAndNoRecords) {
  TempFolder folder;
  const std::string plan = folder / "PLAN";
  RecordingSink sink;
  CurveIndex curves(plan, sink);
  EXPECT_FALSE(curves.Loaded());
  EXPECT_EQ(curves.Find(1, 2), nullptr);
  EXPECT_TRUE(curves.Loaded());
  EXPECT_EQ(curves.Find(3, 4), nullptr);
  double bearing = 0.0;
  double length = 0.0;
  EXPECT_FALSE(GetChordData(1, 2, 10, 1, curves, bearing, length));
  const std::vector<RecordingSink::Entry> expected = {
      {"Cannot open " + plan + ".cve: No such file or directory", "Get Chord data error",
       MessageIcon::Exclamation}};
  EXPECT_EQ(sink.Entries(), expected);
}

TEST(CurveIndex, ReadsTheLowerCaseFileForAnUpperCasedIdentifier) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "plans");
  folder.Write("plans/abc123.cve", "1,2,R,45.0000,10\r\n");
  RecordingSink sink;
  CurveIndex curves(folder / "PLANS/ABC123", sink);
  EXPECT_NE(curves.Find(2, 1), nullptr);
  EXPECT_TRUE(sink.Entries().empty());
}

// Lines of the wrong length are skipped with a message each, in line order; a value that cannot
// be read stops the reading with its message, and the records before it are kept.
TEST(CurveIndex, BadLinesAndValues) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> messages;  // "%" stands for the file name
    std::vector<std::pair<std::int32_t, std::int32_t>> found, notFound;
  } cases[] = {
      {"empty file", "", {}, {}, {{1, 2}}},
      {"blank lines only", "\r\n \r\n", {}, {}, {{1, 2}}},
      {"truncated and long records skipped",
       "1,2,R,10.0000\r\n\r\n3,4,R,10.0000,5\r\n5,6,R,1,2,3\r\n7,8",
       {"Line 1 of % has 4 values, 5 expected", "Line 4 of % has 6 values, 5 expected",
        "Line 5 of % has 2 values, 5 expected"},
       {{3, 4}},
       {{1, 2}, {5, 6}, {7, 8}}},
      {"record whose fields are text",
       "3,4,R,10.0000,5\r\n1,2,L,north-east,12.5\r\n5,6,R,1,2,3\r\n7,8,R,1,2\r\n",
       {"Not a number at line 2 of %: north-east"},
       {{3, 4}},
       {{1, 2}, {7, 8}}},
      {"point number beyond 32 bits",
       "3,4,R,10.0000,5\r\n1,9999999999,L,0,1\r\n",
       {"Point number out of range at line 2 of %: 9999999999"},
       {{3, 4}},
       {{1, 2}}},
      {"distance beyond a double",
       "1,2,R,10.0000,1e999\r\n",
       {"Number out of range at line 1 of %: 1e999"},
       {},
       {{1, 2}}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("plan.cve", c.bytes);
    const std::string plan = folder / "plan";
    RecordingSink sink;
    CurveIndex curves(plan, sink);
    for (const auto& [a, b] : c.found) EXPECT_NE(curves.Find(a, b), nullptr) << c.what;
    for (const auto& [a, b] : c.notFound) EXPECT_EQ(curves.Find(a, b), nullptr) << c.what;
    std::vector<RecordingSink::Entry> expected;
    for (std::string text : c.messages) {
      text.replace(text.find('%'), 1, plan + ".cve");
      expected.push_back({text, "Get Chord data error", MessageIcon::Exclamation});
    }
    EXPECT_EQ(sink.Entries(), expected) << c.what;
  }
}

}  // namespace
}  // namespace modKestralMGA
