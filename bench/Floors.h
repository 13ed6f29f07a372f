#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace modKestralMGA {

// The floors the benchmarks are held against: the least work that any program must do on the
// same input, measured in the same run so that each figure is a ratio rather than a time.

// Reading a text file: its bytes read whole and split at commas and line ends into fields (views
// of the bytes), nothing else. Returns the number of fields plus their total length, so that the
// work cannot be left out. Throws std::runtime_error when the file cannot be read.
std::size_t ReadAndSplitFloor(const std::string& path);

// The bare arithmetic of the joins between every pair of the points (MGA coordinates in metres,
// already in arrays): the mid-point latitude by GridToLatitude and the line scale factor by
// LineScaleFactor (GRS80), as a combined-scale-factor join computes them. Returns the sum of the
// scale factors.
double JoinArithmeticFloor(const std::vector<double>& east, const std::vector<double>& north);

}  // namespace modKestralMGA
