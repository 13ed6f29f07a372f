#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA {

// Seconds of arc in a radian, as the shipped criteria use it (not the more precise
// 206264.806247...).
inline constexpr double kSecondsPerRadian = 206264.80625;

// One accuracy criterion, by its text. A join of MGA ground distance d metres is allowed a
// bearing difference of atan(Subtended / d) x SecondsPerRadian + FixedSeconds seconds of arc, and
// a distance difference of FixedMetres + d / LengthDivisor metres (no length term when
// LengthDivisor is 0). The letters of the criteria file: a, K, c, b and p.
struct AccuracyCriterion {
  std::string Name;                             // the text of the criterion box
  double Subtended = 0.0;                       // a: metres subtended at the far end of the join
  double SecondsPerRadian = kSecondsPerRadian;  // K
  double FixedSeconds = 0.0;                    // c: seconds of arc added to the bearing allowance
  double FixedMetres = 0.0;                     // b: metres of the distance allowance
  double LengthDivisor = 0.0;  // p: parts of the join's length allowed (10000: 100 ppm); 0: none
  std::string Source;          // where the tolerance comes from, as its file says
  bool UserDefined = false;    // read from a user's criteria file, not shipped with the program

  // The allowable bearing difference, in seconds of arc, of a join of distance metres (> 0).
  double BearingAllowance(double distance) const;
  // The allowable distance difference, in metres, of a join of distance metres.
  double DistanceAllowance(double distance) const;
  // "Bearing allowance = atan(0.03 / d) x 206264.80625 + 20 seconds", the terms that are 0 left
  // out; numbers with up to eight decimals, trailing zeros dropped.
  std::string BearingFormula() const;
  // "Distance allowance = 0.03 + d / 10000 metres" ("= 0.05 metres" without p).
  std::string DistanceFormula() const;
};

// The criteria the program knows, in the order the criterion box lists them: the shipped five
// first, then those of a user's file.
class CriteriaTable {
 public:
  CriteriaTable() = default;
  explicit CriteriaTable(std::vector<AccuracyCriterion> criteria)
      : m_criteria(std::move(criteria)) {}
  const std::vector<AccuracyCriterion>& All() const { return m_criteria; }
  // The criterion whose text is exactly name (case and blanks counting); nullptr when none is.
  const AccuracyCriterion* Find(std::string_view name) const;
  // The first criterion: the one a new window and the batch program start with.
  const AccuracyCriterion& First() const { return m_criteria.front(); }

 private:
  std::vector<AccuracyCriterion> m_criteria;
};

// The shipped criteria, read once from the criteria file built into the program
// (src/compare/criteria.json); they never change while the program runs.
const CriteriaTable& BuiltInCriteria();

// The allowable bearing difference, in seconds of arc, of a join of MGA ground distance distance
// (metres, greater than 0) under criterion; an unknown criterion (nullptr) allows 0.
double AllowableBearingDiff(const AccuracyCriterion* criterion, double distance);

// The allowable distance difference, in metres, of a join of MGA ground distance distance under
// criterion; an unknown criterion (nullptr) allows the distance itself.
double AllowableDistanceDiff(const AccuracyCriterion* criterion, double distance);

}  // namespace modKestralMGA
