#pragma once

// A small plan with every kind of join block, its mark list, and report settings held as plain
// values, for the tests of the joins report.
#include <string>
#include <utility>
#include <vector>

#include "markjoins/MarkIndex.h"
#include "markjoins/MarkJoins.h"
#include "marks/MarkList.h"
#include "plan/Plan.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA::testsupport {

// Report (and comparison) settings as fixed values that a test sets.
struct FixedReportSettings final : ReportSettings {
  std::string m_plan = "C:\\PLANS\\DP1234";
  std::string m_criterion = "Urban Areas";
  std::string m_maxOrder = "5";
  std::string m_averageHeight = "100.000";
  DistanceCalculationMode m_mode = DistanceCalculationMode::MGA94_2020;
  bool m_twoPsms = false;
  std::string m_datum1;
  std::string m_datum2;
  bool m_fullDetails = false;
  bool m_printPsmList = true;
  bool m_printFullJoins = false;
  bool m_printDiagnosis = false;
  bool m_printDiagram = false;

  std::string MaxOrderText() const override { return m_maxOrder; }
  std::string AverageHeightText() const override { return m_averageHeight; }
  DistanceCalculationMode CalculationMode() const override { return m_mode; }
  std::string PlanIdentifier() const override { return m_plan; }
  std::string AccuracyCriterionText() const override { return m_criterion; }
  bool TwoPsms() const override { return m_twoPsms; }
  std::string Datum1Text() const override { return m_datum1; }
  std::string Datum2Text() const override { return m_datum2; }
  bool FullDetails() const override { return m_fullDetails; }
  bool PrintPsmList() const override { return m_printPsmList; }
  bool PrintFullJoins() const override { return m_printFullJoins; }
  bool PrintDiagnosis() const override { return m_printDiagnosis; }
  bool PrintDiagram() const override { return m_printDiagram; }

  // "2 PSM's" with the two datum PSM numbers.
  void SetDatum(std::string from, std::string to) {
    m_twoPsms = true;
    m_datum1 = std::move(from);
    m_datum2 = std::move(to);
  }
};

// The marks: 1001 and 1002 are the worked example of the combined scale factor (45.0000,
// 1413.9617536 m at ground, csf 1.000178087433 at 100 m); 1003 lies 1000 m due east of 1001;
// 1004 has order 6, above the default limit 5. 1005 and 1006 are not listed.
inline MarkList ReportMarks() {
  MarkList marks;
  marks.AppendRow({"6628/1001", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", ""});
  marks.AppendRow({"6628/1002", "281000.000", "6131000.000", "101.500", "1", "54", "GDA2020", ""});
  marks.AppendRow(
      {"6628/1003", "281000.000", "6130000.000", "98.250", "2", "54", "GDA2020", "Disturbed"});
  marks.AppendRow({"6628/1004", "280500.000", "6130500.000", "", "6", "54", "GDA2020", ""});
  return marks;
}

// The plan, in entry order: an ordinary point 100 (never joined); 1001 and 1002 one ground
// distance of the worked example apart (999.822 m each way, plan distance 1413.962 m); 1003
// placed 0.080 m too far east of where 1000 m of ground would put it; 1004; 1005 (not listed);
// 1006, which no line reached.
inline Plan ReportPlan() {
  Plan plan;
  plan.PlanPoints = {
      {100, 1000.000, 0.000, 1},         {66281001, 1000.000, 1000.000, 1},
      {66281002, 1999.822, 1999.822, 1}, {66281003, 1999.902, 1000.000, 1},
      {66281004, 1499.911, 1499.911, 1}, {66281005, 500.000, 1500.000, 1},
      {66281006, 0.000, 0.000, 0},       {0, 0.0, 0.0, 0},
  };
  plan.PlanPointCount = 6;  // the last entry is spare, as the plan build leaves it
  return plan;
}

// The fixture marks and plan with settings that a test adjusts, and the join context over them.
struct ReportData {
  MarkList marks = ReportMarks();
  Plan plan = ReportPlan();
  FixedReportSettings settings;
  MarkIndex index{marks};
  JoinContext context{index, settings};
};

}  // namespace modKestralMGA::testsupport
