#pragma once

namespace modKestralMGA {

// The length in metres of a straight line with easting and northing differences dE and dN
// (metres): sqrt(dE^2 + dN^2) as written, so that every ordinary length keeps its last bit; where
// the squares overflow a double though the length does not (differences beyond about 1e154 m),
// the length computed without that overflow. Infinite only for a length beyond the range of a
// double.
double PlaneDistance(double dE, double dN);

// A straight line on the grid: its whole-circle grid bearing as a ddd.mmss number and its length
// in metres.
struct GridLine {
  double Bearing = 0.0;
  double Distance = 0.0;
};

// The straight grid line from (fromEast, fromNorth) to (toEast, toNorth), all in metres: bearing
// RadiansToDMS(GridBearing(dE, dN)), length PlaneDistance(dE, dN).
GridLine GridLineBetween(double fromEast, double fromNorth, double toEast, double toNorth);

}  // namespace modKestralMGA
