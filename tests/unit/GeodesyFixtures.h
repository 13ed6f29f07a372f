#pragma once

#include <string>
#include <utility>

#include "geodesy/JoinSettings.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The ellipsoid choices by the ellipsoid they compute on.
inline constexpr auto kGrs80 = DistanceCalculationMode::MGA94_2020;
inline constexpr auto kAns = DistanceCalculationMode::AMG84;
inline constexpr auto kPlane = DistanceCalculationMode::Plane;
// The ellipsoid choice named "GRS80", "ANS" or "Plane" in a case file.
inline DistanceCalculationMode ModeNamed(const std::string& name) {
  return name == "GRS80" ? kGrs80 : name == "ANS" ? kAns : kPlane;
}

// A mark list row with the cells a join reads; height, zone, datum and status empty.
inline MarkRow JoinMark(std::string psmNumber, std::string east, std::string north,
                        std::string order = "") {
  return {
      std::move(psmNumber), std::move(east), std::move(north), "", std::move(order), "", "", ""};
}

}  // namespace modKestralMGA
