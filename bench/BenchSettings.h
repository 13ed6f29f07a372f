#pragma once

#include <string>
#include <utility>

#include "common/Seams.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

// The window's settings as the benchmarks fix them: "Urban Areas", no bearing datum, GRS80, every
// generated order (1 to 6) compared, so that every join is computed in full; the average height
// and plan identifier as given; the joins report with full join details and without the PSM list.
class BenchSettings final : public ReportSettings {
 public:
  BenchSettings(std::string planIdentifier, std::string averageHeight)
      : m_planIdentifier(std::move(planIdentifier)), m_averageHeight(std::move(averageHeight)) {}
  std::string MaxOrderText() const override { return "6"; }
  std::string AverageHeightText() const override { return m_averageHeight; }
  DistanceCalculationMode CalculationMode() const override {
    return DistanceCalculationMode::MGA94_2020;
  }
  std::string PlanIdentifier() const override { return m_planIdentifier; }
  std::string AccuracyCriterionText() const override { return "Urban Areas"; }
  bool TwoPsms() const override { return false; }
  std::string Datum1Text() const override { return {}; }
  std::string Datum2Text() const override { return {}; }
  bool FullDetails() const override { return false; }
  bool PrintPsmList() const override { return false; }
  bool PrintFullJoins() const override { return true; }
  bool PrintDiagnosis() const override { return false; }

 private:
  std::string m_planIdentifier;
  std::string m_averageHeight;
};

// Messages are counted and otherwise dropped.
class CountingSink final : public MessageSink {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override { ++Count; }
  long Count = 0;
};

}  // namespace modKestralMGA
