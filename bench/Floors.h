#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geodesy/JoinSettings.h"

namespace modKestralMGA {

// The floors the benchmarks are held against: the least work that any program must do on the
// same input, measured in the same run so that each figure is a ratio rather than a time.

// Reading a text file: its bytes read whole and split at commas and line ends into fields (views
// of the bytes), nothing else. Returns the number of fields plus their total length, so that the
// work cannot be left out. Throws std::runtime_error when the file cannot be read.
std::size_t ReadAndSplitFloor(const std::string& path);

// The foot-point latitude (radians) of MGA northing N in closed form: the rectifying latitude
// of the meridian distance N' / k0 and the four-term series that turns it into latitude (Helmert
// and Kruger's expansions in the third flattening n). No iteration.
double ClosedFormFootPointLatitude(double N, DistanceCalculationMode mode);

// The bare arithmetic of the MGA joins between every pair of the points (MGA coordinates in
// metres, already in arrays): the mid-point latitude (closed-form foot-point latitude and
// Redfearn's series), the line scale factor (GRS80), the grid distance and grid bearing. Returns
// a sum of them, so that no work can be left out.
double JoinArithmeticFloor(const std::vector<double>& east, const std::vector<double>& north);

// The same joins with the program's own latitude (GridToLatitude's iterated foot-point
// latitude): how far the iteration alone keeps the program from the floor.
double JoinArithmeticIterated(const std::vector<double>& east, const std::vector<double>& north);

}  // namespace modKestralMGA
