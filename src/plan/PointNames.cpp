#include "plan/PointNames.h"

#include "common/NumberFormat.h"

namespace modKestralMGA {

std::string PointName(const Plan& plan, std::int32_t pointNo) {
  if (!plan.Names.Empty()) {
    const auto named = plan.Names.WrittenName.find(pointNo);
    if (named != plan.Names.WrittenName.end()) return named->second;
  }
  return FormatNumber(static_cast<double>(pointNo), kFormatKey);
}

}  // namespace modKestralMGA
