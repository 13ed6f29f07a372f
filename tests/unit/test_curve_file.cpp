// The curve file: the reverse bearing, the chord rules for every form of curve record, the index
// read once per build, and the messages of a bad curve file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "common/Rounding.h"
#include "plan/CurveFile.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

TEST(CurveFile, ReverseBearingAddsHalfACircleWithinTheCircle) {
  const double cases[][2] = {{45.3, 225.3}, {200.0, 20.0},        {180.0, 0.0},
                             {0.0, 180.0},  {179.5959, 359.5959}, {360.0, 180.0}};
  for (const auto& c : cases) EXPECT_NEAR(ReverseBearing(c[0]), c[1], 1e-12) << c[0];
}

// R = 100 m, arc = 31.4159 m: half angle 0.1570795 rad (8.99999 deg), chord 2 R sin(half) =
// 31.28689 m. R = 1e6 m, arc = 999.5 m: chord 999.49998 m, within 1 m of 999.
TEST(CurveFile, ChordOfEveryFormOfRecord) {
  const double chord100 = 200.0 * std::sin(31.4159 / 100.0 / 2.0);
  EXPECT_EQ(FormatNumber(chord100, "0.0000"), "31.2869");
  const struct {
    const char* record;
    double radius;
    bool usable;
    const char* bearing;  // the chord's, written "0.0000"
    double length;        // metres; 0: the R = 100 m chord
  } cases[] = {
      {"4602,4601,L,45.3000,12.345", 100, true, "225.3000", 12.345},  // chord given, reversed
      {"4601,4602,R,90.0000,999", 100, true, "99.0000", 0},           // tangent, right-hand
      {"4601,4602,L,90.0000,999", 100, true, "81.0000", 0},           // left-hand
      {"4601,4602,l,90.0000,999", 100, true, "99.0000", 0},           // lower-case l turns right
      {"4601,4602, L ,90.0000,999", 100, true, "81.0000", 0},         // blanks around L
      {"4602,4601,R,191.0000,999", 100, true, "20.0000", 0},     // reversed after the correction
      {"4601,4602,R,999,45.3", 100, true, "45.3000", 0},         // value 5 is the bearing
      {"4601,4602,R,45.1000,999", 1e6, true, "45.1000", 999.0},  // 999 within 1 m of the chord
      {"4601,4602,L,999,999", 100, false, "999.0000", 0},        // neither given
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write("plan.cve", std::string(c.record) + "\r\n");
    RecordingSink sink;
    CurveIndex curves(folder / "plan", sink);
    double bearing = -1.0, length = -1.0;
    EXPECT_EQ(GetChordData(4601, 4602, c.radius, c.radius > 100 ? 999.5 : 31.4159, curves, bearing,
                           length),
              c.usable)
        << c.record;
    EXPECT_EQ(FormatNumber(bearing, kFormatBearing), c.bearing) << c.record;
    EXPECT_NEAR(length, c.length > 0 ? c.length : chord100, 1e-9) << c.record;
    EXPECT_EQ(sink.Count(), 0u) << c.record;
  }
}

// No record leaves the outputs; the first record in file order wins, whichever way it is listed;
// a chord beyond the range of a double throws, large but finite values are computed.
TEST(CurveFile, RecordChoiceAndRange) {
  TempFolder folder;
  folder.Write("plan.cve", "5,6,R,10.0000,1\r\n2,1,R,30.0000,3\r\n1,2,R,20.0000,2\r\n");
  folder.Write("tangent.cve", "1,2,R,1e308,999\r\n");
  RecordingSink sink;
  CurveIndex curves(folder / "plan", sink), tangents(folder / "tangent", sink);
  double bearing = 7.0, length = 8.0;
  EXPECT_FALSE(GetChordData(1, 3, 10, 1, curves, bearing, length));
  EXPECT_TRUE(IsExactly(bearing, 7.0) && IsExactly(length, 8.0));
  ASSERT_TRUE(GetChordData(1, 2, 10, 1, curves, bearing, length));
  EXPECT_EQ(FormatNumber(bearing, kFormatBearing), "210.0000");
  EXPECT_TRUE(IsExactly(length, 3.0));
  ASSERT_TRUE(GetChordData(2, 1, 10, 1, curves, bearing, length));
  EXPECT_EQ(FormatNumber(bearing, kFormatBearing), "30.0000");
  EXPECT_THROW(GetChordData(5, 6, 1e-300, 1e300, curves, bearing, length), KestralError);
  EXPECT_THROW(GetChordData(5, 6, 1.7e308, 1.0, curves, bearing, length), KestralError);
  EXPECT_THROW(GetChordData(1, 2, 10.0, 1.0, tangents, bearing, length), KestralError);
  EXPECT_TRUE(GetChordData(5, 6, 0.001, 1000.0, curves, bearing, length));
  EXPECT_TRUE(GetChordData(5, 6, 1e300, 10.0, curves, bearing, length));
  EXPECT_TRUE(GetChordData(5, 6, 10.0, 0.0, curves, bearing, length));
  EXPECT_EQ(sink.Count(), 0u);
}

// Lines of the wrong length are skipped with a message each, in line order; a value that cannot
// be read stops the reading with its message, and the records before it are kept. An upper-cased
// identifier reads the lower-case file. Transcript: tests/data/model/curve_file.txt.
TEST(CurveFile, BadLinesAndValues) {
  const std::pair<const char*, const char*> cases[] = {
      {"empty", ""},
      {"blank lines", "\r\n \r\n"},
      {"wrong lengths", "1,2,R,10.0000\r\n\r\n3,4,R,10.0000,5\r\n5,6,R,1,2,3\r\n7,8"},
      {"text", "3,4,R,10.0000,5\r\n1,2,L,north-east,12.5\r\n5,6,R,1,2,3\r\n7,8,R,1,2\r\n"},
      {"point beyond 32 bits", "3,4,R,10.0000,5\r\n1,9999999999,L,0,1\r\n"},
      {"distance beyond a double", "1,2,R,10.0000,1e999\r\n"},
  };
  TempFolder folder;
  std::string transcript;
  const auto probe = [&](const std::string& what, const std::string& plan) {
    RecordingSink sink;
    CurveIndex curves(plan, sink);
    transcript += "== " + what + ":";
    for (const std::int32_t a : {1, 3, 5, 7}) {
      if (curves.Find(a, a + 1) != nullptr) transcript += std::to_string(a) + ' ';
    }
    transcript += '\n' + Said(sink);
  };
  for (const auto& [what, bytes] : cases) {
    folder.Write("plan.cve", bytes);
    probe(what, folder / "plan");
  }
  std::filesystem::create_directory(folder / "plans");
  folder.Write("plans/abc123.cve", "1,2,R,45.0000,10\r\n");
  probe("upper-cased identifier", folder / "PLANS/ABC123");
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "curve_file.txt");
}

}  // namespace
}  // namespace modKestralMGA
