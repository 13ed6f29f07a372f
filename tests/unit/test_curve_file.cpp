// The curve file: the reverse bearing, the chord rules for every form of curve record, the index
// read once per build, and the messages of a bad curve file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "common/NumericValue.h"
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

// Records and expected chords: tests/data/model/curve_chords.txt.
TEST(CurveFile, ChordOfEveryFormOfRecord) {
  const double chord100 = 200.0 * std::sin(31.4159 / 100.0 / 2.0);
  for (const auto& c : TableRows("curve_chords.txt")) {
    TempFolder folder;
    folder.Write("plan.cve", c[0] + "\r\n");
    RecordingSink sink;
    CurveIndex curves(folder / "plan", sink);
    const double radius = NumericValue(c[1]), length = NumericValue(c[4]);
    double bearing = -1.0, chord = -1.0;
    EXPECT_EQ(
        GetChordData(4601, 4602, radius, radius > 100 ? 999.5 : 31.4159, curves, bearing, chord),
        c[2] == "1")
        << c[0];
    EXPECT_EQ(FormatNumber(bearing, kFormatBearing), c[3]) << c[0];
    EXPECT_NEAR(chord, length > 0 ? length : chord100, 1e-9) << c[0];
    EXPECT_EQ(sink.Count(), 0u) << c[0];
  }
}

// No record leaves the outputs; the first record in file order wins, whichever way it is listed;
// a chord beyond the range of a double throws (large but finite radii and a zero arc are computed:
// tests/data/bad/cv-radius-0-001, cv-radius-1e300, cv-arc-0).
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
  EXPECT_EQ(sink.Count(), 0u);
}

// Lines of the wrong length are skipped with a message each, in line order; a value that cannot
// be read stops the reading with its message, and the records before it are kept. An upper-cased
// identifier reads the lower-case file. Transcript: tests/data/model/curve_file.txt (an empty
// file: tests/data/bad/cv-empty).
TEST(CurveFile, BadLinesAndValues) {
  const std::pair<const char*, const char*> cases[] = {
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
    for (const std::int32_t a : {1, 3, 5, 7})
      if (curves.Find(a, a + 1) != nullptr) transcript += std::to_string(a) + ' ';
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
