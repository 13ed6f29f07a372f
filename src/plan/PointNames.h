#pragma once

#include <cstdint>
#include <string>

#include "plan/Plan.h"

namespace modKestralMGA {

// A plan point as the results and reports show it: a named mark (plan.Names) by its name as the
// plan writes it, any other point by its number written "#".
std::string PointName(const Plan& plan, std::int32_t pointNo);

}  // namespace modKestralMGA
