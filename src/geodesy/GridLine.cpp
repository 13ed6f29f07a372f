#include "geodesy/GridLine.h"

#include <cmath>

#include "geodesy/Angles.h"

namespace modKestralMGA {

double PlaneDistance(double dE, double dN) {
  const double distance = std::sqrt(dE * dE + dN * dN);
  return std::isinf(distance) ? std::hypot(dE, dN) : distance;
}

GridLine GridLineBetween(double fromEast, double fromNorth, double toEast, double toNorth) {
  const double dE = toEast - fromEast;
  const double dN = toNorth - fromNorth;
  return {RadiansToDMS(GridBearing(dE, dN)), PlaneDistance(dE, dN)};
}

}  // namespace modKestralMGA
