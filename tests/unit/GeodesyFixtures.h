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

// A mark list row with the cells a join reads; height, zone, datum and status empty.
inline MarkRow JoinMark(std::string psmNumber, std::string east, std::string north,
                        std::string order = "") {
  return {
      std::move(psmNumber), std::move(east), std::move(north), "", std::move(order), "", "", ""};
}

}  // namespace modKestralMGA
