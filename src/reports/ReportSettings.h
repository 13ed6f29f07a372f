#pragma once

#include "compare/CompareSettings.h"

namespace modKestralMGA {

// The settings the joins report reads when it runs: those of the comparison (plan identifier,
// criterion, average height, order limit, bearing datum) and the results window's print options.
// The windows implement it over their live controls, the batch program over its arguments.
class ReportSettings : public CompareSettings {
 public:
  // "Print PSM List" is checked: the report opens with the mark list.
  virtual bool PrintPsmList() const = 0;
  // "Print full join details" is checked: acceptable joins get the full block too.
  virtual bool PrintFullJoins() const = 0;
  // "Print diagnosis" is checked: the report ends with the diagnosis of its joins.
  virtual bool PrintDiagnosis() const = 0;
};

}  // namespace modKestralMGA
