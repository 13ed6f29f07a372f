#pragma once

#include <string_view>

namespace modKestralMGA {

// pi, computed as 4 * atan(1).
double Pi();

// The angle of a ddd.mmss text (45.3015 is 45 deg 30 min 15 sec), in radians. The two characters
// after the first "." are the minutes, the next two the seconds, the rest is ignored; each piece
// is read by the numeric value rule, and 1e-09 is added to the minutes and to the seconds. The
// degrees are the numeric value of the whole text rounded down. A text without "." is whole
// degrees. The empty text gives 0.
double DMSToRadians(std::string_view text);

// The angle, in radians, of a ddd.mmss number as it reads once written with "0.0000": the same
// double as DMSToRadians(FormatNumber(bearing, "0.0000")) for every bearing (so compared at
// whole seconds), without writing the text where the digits follow from the number itself.
double WrittenDMSToRadians(double bearing);

// An angle in radians as a ddd.mmss number D + M/100 + S/10000 with whole seconds: the angle is
// brought into [0, 2 pi) by at most one correction each way, seconds round half to even, and
// carries of 60 seconds and 60 minutes go up (359 deg 59 min 59.6 sec gives 360.0000).
double RadiansToDMS(double angle);

// The whole-circle grid bearing, in radians, of a line with easting difference dE and northing
// difference dN (metres, to minus from). Results lie in (-pi/2, 3 pi/2]: a line heading
// north-west gives the negative arctangent, which RadiansToDMS shows between 270 and 360.
double GridBearing(double dE, double dN);

}  // namespace modKestralMGA
