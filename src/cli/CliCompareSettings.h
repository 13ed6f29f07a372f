#pragma once

#include <optional>
#include <string>
#include <utility>

#include "cli/CliArguments.h"
#include "plan/LinesFile.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

// The main window's settings, and the results window's print options, as the compare command's
// arguments give them. The plan identifier is the --plan name after the .LNS rule; the average
// height is the text the command writes (the list's mean with "0.000"), "0.000" until then.
class CliCompareSettings final : public ReportSettings {
 public:
  // criteria: those the criterion is looked up in (the shipped ones and --criteria's), which
  // outlive the settings.
  explicit CliCompareSettings(const CompareArguments& arguments,
                              const CriteriaTable& criteria = BuiltInCriteria())
      : m_arguments(arguments),
        m_planIdentifier(PlanIdentifierFromName(arguments.Plan)),
        m_criteria(&criteria) {}

  void SetAverageHeightText(std::string text) { m_averageHeight = std::move(text); }

  std::string MaxOrderText() const override { return m_arguments.MaxOrder; }
  std::string AverageHeightText() const override { return m_averageHeight; }
  DistanceCalculationMode CalculationMode() const override { return m_arguments.Ellipsoid; }
  std::string PlanIdentifier() const override { return m_planIdentifier; }
  std::string AccuracyCriterionText() const override { return m_arguments.Criterion; }
  const CriteriaTable& Criteria() const override { return *m_criteria; }
  bool TwoPsms() const override { return m_arguments.Datum.has_value(); }
  std::string Datum1Text() const override { return TwoPsms() ? m_arguments.Datum->first : ""; }
  std::string Datum2Text() const override { return TwoPsms() ? m_arguments.Datum->second : ""; }
  bool FullDetails() const override { return m_arguments.ShowFullDetails(); }
  bool PrintPsmList() const override { return !m_arguments.NoPsmList; }
  bool PrintFullJoins() const override { return m_arguments.PrintFullJoins(); }
  bool PrintDiagnosis() const override { return m_arguments.Diagnosis; }
  bool PrintDiagram() const override { return m_arguments.PrintDiagram; }
  std::optional<double> DiagramExaggeration() const override { return m_arguments.Exaggeration; }

 private:
  CompareArguments m_arguments;
  std::string m_planIdentifier;
  const CriteriaTable* m_criteria;
  std::string m_averageHeight = "0.000";
};

}  // namespace modKestralMGA
