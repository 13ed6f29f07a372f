#include "compare/AccuracyCriteria.h"

#include <cmath>

namespace modKestralMGA {

const AccuracyCriterion* FindCriterion(std::string_view criterion) {
  for (const AccuracyCriterion& known : kAccuracyCriteria) {
    if (known.Name == criterion) return &known;
  }
  return nullptr;
}

bool IsKnownCriterion(std::string_view criterion) {
  return FindCriterion(criterion) != nullptr;
}

double AllowableBearingDiff(std::string_view criterion, double distance) {
  const AccuracyCriterion* rule = FindCriterion(criterion);
  if (rule == nullptr) return 0.0;
  return std::atan(rule->Subtended / distance) * kSecondsPerRadian + rule->FixedSeconds;
}

double AllowableDistanceDiff(std::string_view criterion, double distance) {
  const AccuracyCriterion* rule = FindCriterion(criterion);
  if (rule == nullptr) return distance;
  if (rule->LengthDivisor > 0.0) return rule->FixedMetres + distance / rule->LengthDivisor;
  return rule->FixedMetres;
}

}  // namespace modKestralMGA
