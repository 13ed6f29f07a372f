#pragma once

#include <string>

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
  // "2 PSM's" is chosen as the bearing datum.
  virtual bool TwoPsms() const = 0;
  // The datum PSM numbers, From and To, as typed.
  virtual std::string Datum1Text() const = 0;
  virtual std::string Datum2Text() const = 0;
  // "Show full join details" is ticked.
  virtual bool FullDetails() const = 0;
};

}  // namespace modKestralMGA
