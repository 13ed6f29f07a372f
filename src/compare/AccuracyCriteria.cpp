#include "compare/AccuracyCriteria.h"

#include <cmath>
#include <cstddef>
#include <optional>

namespace modKestralMGA {

namespace {

// The allowances of one criterion: the bearing allowance is the angle that `subtended` metres
// make over the join, plus `fixedSeconds`; the distance allowance is `fixedMetres` plus the join
// distance divided by `lengthDivisor` (no length term when it is 0).
struct CriterionRule {
  double Subtended;
  double FixedSeconds;
  double FixedMetres;
  double LengthDivisor;
};

// In the order of kAccuracyCriteria: Urban Areas, Rural Areas, Adelaide City, URBAN SURVEY
// (prior Feb 2019) with 100 ppm, RURAL SURVEY (prior Feb 2019) with 200 ppm.
constexpr std::array<CriterionRule, kAccuracyCriteria.size()> kRules = {{
    {0.05, 0.0, 0.05, 0.0},
    {0.15, 0.0, 0.15, 0.0},
    {0.03, 0.0, 0.03, 0.0},
    {0.03, 20.0, 0.03, 10000.0},
    {0.1, 40.0, 0.1, 5000.0},
}};

// The rule of the first criterion whose text equals criterion exactly; nothing when none does.
std::optional<CriterionRule> RuleOf(std::string_view criterion) {
  for (std::size_t i = 0; i < kAccuracyCriteria.size(); ++i) {
    if (kAccuracyCriteria[i] == criterion) return kRules[i];
  }
  return std::nullopt;
}

}  // namespace

bool IsKnownCriterion(std::string_view criterion) {
  return RuleOf(criterion).has_value();
}

double AllowableBearingDiff(std::string_view criterion, const double& distance) {
  const std::optional<CriterionRule> rule = RuleOf(criterion);
  if (!rule) return 0.0;
  return std::atan(rule->Subtended / distance) * kSecondsPerRadian + rule->FixedSeconds;
}

double AllowableDistanceDiff(std::string_view criterion, const double& distance) {
  const std::optional<CriterionRule> rule = RuleOf(criterion);
  if (!rule) return distance;
  if (rule->LengthDivisor > 0.0) return rule->FixedMetres + distance / rule->LengthDivisor;
  return rule->FixedMetres;
}

}  // namespace modKestralMGA
