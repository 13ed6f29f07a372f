#pragma once

#include <string>

#include "compare/AccuracyCriteria.h"
#include "geodesy/JoinSettings.h"

namespace modKestralMGA {

// The main window's settings that the comparison reads at the moment it needs them, besides
// those of the joins: the window implements it over its live controls, the batch program over
// its arguments.
class CompareSettings : public JoinSettings {
 public:
  // The plan identifier (txtPlan): the path of the plan's files without extension.
  virtual std::string PlanIdentifier() const = 0;
  // The text of the accuracy criterion box.
  virtual std::string AccuracyCriterionText() const = 0;
  // The criteria the criterion box offers: the shipped ones unless a user's file adds more.
  virtual const CriteriaTable& Criteria() const { return BuiltInCriteria(); }
  // The criterion the box names now; nullptr when its text is none of the criteria.
  const AccuracyCriterion* Criterion() const { return Criteria().Find(AccuracyCriterionText()); }
  // "2 PSM's" is chosen as the bearing datum.
  virtual bool TwoPsms() const = 0;
  // The datum PSM numbers, From and To, as typed.
  virtual std::string Datum1Text() const = 0;
  virtual std::string Datum2Text() const = 0;
  // "Show full join details" is ticked.
  virtual bool FullDetails() const = 0;
};

}  // namespace modKestralMGA
