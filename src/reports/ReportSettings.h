#pragma once

#include <optional>

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
  // "Print diagram" is checked: the printed report ends with the join diagram on a page of its
  // own. Off unless the caller offers the option.
  virtual bool PrintDiagram() const { return false; }
  // The exaggeration of the diagram's residual arrows; automatic when none is given.
  virtual std::optional<double> DiagramExaggeration() const { return std::nullopt; }
};

}  // namespace modKestralMGA
