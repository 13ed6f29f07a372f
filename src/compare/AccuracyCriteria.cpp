#include "compare/AccuracyCriteria.h"

#include <cmath>

#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

// A value of a criterion as its formula shows it: up to eight decimals, trailing zeros and a
// trailing point dropped (206264.80625, 0.05, 10000).
std::string FormulaNumber(double value) {
  std::string text = FormatNumber(value, "0.00000000");
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

double AccuracyCriterion::BearingAllowance(double distance) const {
  return std::atan(Subtended / distance) * SecondsPerRadian + FixedSeconds;
}

double AccuracyCriterion::DistanceAllowance(double distance) const {
  if (LengthDivisor > 0.0) return FixedMetres + distance / LengthDivisor;
  return FixedMetres;
}

std::string AccuracyCriterion::BearingFormula() const {
  std::string text = "Bearing allowance = atan(" + FormulaNumber(Subtended) + " / d) x " +
                     FormulaNumber(SecondsPerRadian);
  if (FixedSeconds > 0.0) text += " + " + FormulaNumber(FixedSeconds);
  return text + " seconds";
}

std::string AccuracyCriterion::DistanceFormula() const {
  std::string text = "Distance allowance = " + FormulaNumber(FixedMetres);
  if (LengthDivisor > 0.0) text += " + d / " + FormulaNumber(LengthDivisor);
  return text + " metres";
}

const AccuracyCriterion* CriteriaTable::Find(std::string_view name) const {
  for (const AccuracyCriterion& known : m_criteria) {
    if (known.Name == name) return &known;
  }
  return nullptr;
}

double AllowableBearingDiff(const AccuracyCriterion* criterion, double distance) {
  return criterion == nullptr ? 0.0 : criterion->BearingAllowance(distance);
}

double AllowableDistanceDiff(const AccuracyCriterion* criterion, double distance) {
  return criterion == nullptr ? distance : criterion->DistanceAllowance(distance);
}

}  // namespace modKestralMGA
