// Angles in ddd.mmss notation and grid bearings.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "geodesy/Angles.h"

namespace modKestralMGA {
namespace {

double Radians(double degrees, double minutes, double seconds) {
  return Pi() * (degrees + minutes / 60.0 + seconds / 3600.0) / 180.0;
}

std::string Dms(double radians) {
  return FormatNumber(RadiansToDMS(radians), kFormatBearing);
}

TEST(Angles, DMSToRadiansReadsMinutesAndSecondsAsTwoCharacterGroups) {
  struct Case {
    const char* text;
    double degrees, minutes, seconds;
  };
  const Case cases[] = {
      {"123.4530", 123, 45, 30},  {"123", 123, 0, 0},        {"123.45", 123, 45, 0},
      {"123.4", 123, 4, 0},        // one digit after the point is 4 minutes, not 40
      {"123.45305", 123, 45, 30},  // the fifth decimal is ignored
      {"5.0709", 5, 7, 9},        {"359.5959", 359, 59, 59}, {"", 0, 0, 0},
      {"abc", 0, 0, 0},
  };
  for (const Case& c : cases) {
    // 1e-09 minutes and seconds are added to every text with a point: at most 3e-13 rad.
    EXPECT_NEAR(DMSToRadians(c.text), Radians(c.degrees, c.minutes, c.seconds), 1e-12) << c.text;
  }
}

TEST(Angles, RadiansToDMSRoundsSecondsAndCarries) {
  struct Case {
    double radians;
    const char* expected;
    const char* why;
  };
  const Case cases[] = {
      {Radians(10, 20, 59.4), "10.2059", "seconds round down"},
      {Radians(10, 20, 59.6), "10.2100", "60 seconds carry into the minutes"},
      {Radians(10, 59, 59.6), "11.0000", "60 minutes carry into the degrees"},
      {Radians(359, 59, 59.6), "360.0000", "the degrees never wrap"},
      {2.0 * Pi(), "0.0000", "a full circle comes down once"},
      {-Pi() / 2.0, "270.0000", "a negative angle goes up once"},
      {Radians(200, 0, 0), "200.0000", "an angle from pi to 2 pi keeps its value"},
      // Angles found by searching neighbouring doubles so that the seconds come out as exactly
      // a half: halves go to the even second (std::round would give 0.0031 and 0.0032).
      {0x1.361a1ee9b94e1p-13, "0.0030", "30.5 seconds exactly"},
      {0x1.4044f1c33915fp-13, "0.0032", "31.5 seconds exactly"},
      {Radians(1, 0, 30.5), "1.0030", "a hair below 30.5 seconds"},
  };
  for (const Case& c : cases) EXPECT_EQ(Dms(c.radians), c.expected) << c.why;
}

// The ddd.mmss text of a whole-second angle, written digit by digit rather than through the
// program's formats: 7 degrees 5 minutes 9 seconds is "7.0509".
std::string DmsText(int totalSeconds) {
  char degrees[8];
  char* end = std::to_chars(degrees, degrees + sizeof degrees, totalSeconds / 3600).ptr;
  std::string text(degrees, end);
  text += '.';
  const int minutes = totalSeconds / 60 % 60;
  const int seconds = totalSeconds % 60;
  for (const int digit : {minutes / 10, minutes % 10, seconds / 10, seconds % 10}) {
    text += static_cast<char>('0' + digit);
  }
  return text;
}

// All 1,296,000 whole-second bearings of the circle go from their ddd.mmss text to radians and
// back to the same text.
TEST(Angles, EveryWholeSecondSurvivesTheRoundTrip) {
  int failures = 0;
  for (int total = 0; total < 360 * 3600; ++total) {
    const std::string text = DmsText(total);
    const std::string back = FormatNumber(RadiansToDMS(DMSToRadians(text)), kFormatBearing);
    if (back != text && ++failures <= 10) ADD_FAILURE() << text << " came back as " << back;
  }
  EXPECT_EQ(failures, 0);
}

TEST(Angles, GridBearingCoversEveryQuadrantAndAxis) {
  struct Case {
    double dE, dN, expected;
    const char* line;
  };
  const double pi = Pi();
  const Case cases[] = {
      {1, 1, pi / 4, "north-east"},
      {1, -1, 3 * pi / 4, "south-east"},
      {-1, -1, 5 * pi / 4, "south-west"},
      {-1, 1, -pi / 4, "north-west: negative"},
      {0, 0, 0, "no line"},
      {0, 5, 0, "north"},
      {0, -5, pi, "south"},
      {5, 0, pi / 2, "east"},
      {-5, 0, 3 * pi / 2, "west"},
      {1e-3, -1e6, pi - 1e-9, "just east of south"},
      {-1e-3, 1e6, -1e-9, "just west of north"},
  };
  for (const Case& c : cases) {
    const double bearing = GridBearing(c.dE, c.dN);
    EXPECT_NEAR(bearing, c.expected, 1e-15) << c.line;
    EXPECT_GT(bearing, -pi / 2);
    EXPECT_LE(bearing, 3 * pi / 2);
  }
  // North-west lines come out negative and are shown between 270 and 360.
  EXPECT_EQ(Dms(GridBearing(-1.0, 1.0)), "315.0000");
}

// The written angle of a bearing, found without writing the text, must be the text's angle bit
// for bit: at every whole second of the circle as RadiansToDMS gives it (and as D + M/100 +
// S/10000), and at random numbers: across the circle, a hair either side of a half of the last
// place written, and of any size and sign.
TEST(Angles, WrittenDMSToRadiansIsTheAngleOfTheWrittenText) {
  const auto viaText = [](double bearing) {
    return DMSToRadians(FormatNumber(bearing, kFormatBearing));
  };
  const auto check = [&](double bearing) {
    const double fast = WrittenDMSToRadians(bearing);
    const double text = viaText(bearing);
    return IsExactly(fast, text) && std::signbit(fast) == std::signbit(text);
  };
  for (int total = 0; total < 360 * 3600; ++total) {
    const double made = RadiansToDMS(Radians(0, 0, total));
    ASSERT_TRUE(check(made)) << FormatNumber(made, kFormatBearing);
    const double summed = total / 3600 + (total / 60 % 60) / 100.0 + (total % 60) / 10000.0;
    ASSERT_TRUE(check(summed)) << FormatNumber(summed, kFormatBearing);
  }
  std::mt19937_64 random(20240611);  // the engine's output is fixed by the standard
  const auto fraction = [&] { return static_cast<double>(random() >> 11) * 0x1.0p-53; };
  for (int i = 0; i < 100000; ++i) {
    const double across = 400.0 * fraction();
    const double half = (std::floor(3600000.0 * fraction()) + 0.5) / 10000.0;
    const double nearHalf = std::nextafter(half, i % 2 == 0 ? 0.0 : 1e9);
    const double anySize = std::ldexp(fraction(), static_cast<int>(random() % 120) - 60) *
                           (random() % 2 == 0 ? 1.0 : -1.0);
    for (const double bearing : {across, half, nearHalf, anySize}) {
      ASSERT_TRUE(check(bearing)) << FormatNumber(bearing, "0.000000000000");
    }
  }
  for (const double bearing :
       {-0.0, 0.0, 999.0, 1e9, std::nextafter(1e9, 0.0), 1e300,
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_TRUE(check(bearing)) << FormatNumber(bearing, "0.0000");
  }
}

}  // namespace
}  // namespace modKestralMGA
