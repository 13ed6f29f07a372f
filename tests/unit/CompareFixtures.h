#pragma once

// Doubles of the comparison's seams: settings a test sets as the user sets the main window's
// controls, and a results list that keeps its lines.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "GeodesyFixtures.h"
#include "common/NumberFormat.h"
#include "compare/AccuracyCriteria.h"
#include "compare/ComparePSMJoins.h"
#include "compare/CompareSettings.h"
#include "geodesy/Angles.h"
#include "geodesy/ScaleFactor.h"
#include "plan/Plan.h"

namespace modKestralMGA::testsupport {

struct TestCompareSettings final : CompareSettings {
  std::string maxOrder = "5";
  std::string averageHeight = "0.000";
  DistanceCalculationMode mode = DistanceCalculationMode::MGA94_2020;
  std::string plan = "/plans/1234";
  std::string criterion = "Urban Areas";
  bool twoPsms = false;
  std::string datum1;
  std::string datum2;
  bool fullDetails = false;

  std::string MaxOrderText() const override { return maxOrder; }
  std::string AverageHeightText() const override { return averageHeight; }
  DistanceCalculationMode CalculationMode() const override { return mode; }
  std::string PlanIdentifier() const override { return plan; }
  std::string AccuracyCriterionText() const override { return criterion; }
  bool TwoPsms() const override { return twoPsms; }
  std::string Datum1Text() const override { return datum1; }
  std::string Datum2Text() const override { return datum2; }
  bool FullDetails() const override { return fullDetails; }
};

// Keeps the lines and, in `events`, the order of what happened: "busy", "normal", and (when the
// test shares the log with its sink and pending-events double) "message" and "events".
class RecordingResultList final : public ResultList {
 public:
  explicit RecordingResultList(std::vector<std::string>* events = nullptr) : m_events(events) {}
  void Clear() override { m_lines.clear(); }
  void AddLine(std::string line) override { m_lines.push_back(std::move(line)); }
  void SetBusy(bool busy) override {
    if (m_events != nullptr) m_events->push_back(busy ? "busy" : "normal");
  }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
  std::vector<std::string>* m_events;
};

// The marks of the comparison tests, all of order 1 unless said: 6628/1001 and 6628/1002 are the
// worked join, (280000, 6130000) to (281000, 6131000), which at an average height of 100 m has
// bearing 45.0000, 1413.962 m at ground and csf 1.00017809. Order 6: 6628/1003, 1000 m due north
// of 6628/1001. A zero easting: 6628/1004. One second of arc east of north, 1000 m from 6628/1001
// (MGA bearing 0.0001): 6628/1005. Due north, 1000 m: 6628/1007.
inline MarkList ComparisonMarks() {
  MarkList list;
  list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
  list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "2"));
  list.AppendRow(JoinMark("6628/1003", "280000", "6131000", "6"));
  list.AppendRow(JoinMark("6628/1004", "0", "6131000", "1"));
  list.AppendRow(JoinMark("6628/1005", "280000.00485", "6131000", "1"));
  list.AppendRow(JoinMark("6628/1007", "280000", "6131000", "1"));
  return list;
}

// The plan point numbered toKey placed from `from` as the MGA join between the two marks lies
// (its bearing at whole seconds, its ground distance), turned by `seconds` of arc clockwise and
// lengthened by `metres`.
inline PlanPoint PlaceLikeMga(JoinContext& context, const PlanPoint& from, std::int32_t toKey,
                              double seconds, double metres) {
  double bearing = 0.0;
  double distance = 0.0;
  double csf = 0.0;
  CombinedScaleFactor(context, from.PointNo, toKey, bearing, distance, csf);
  const double angle =
      DMSToRadians(FormatNumber(bearing, kFormatBearing)) + seconds / kSecondsPerRadian;
  const double length = distance + metres;
  return {toKey, from.East + std::sin(angle) * length, from.North + std::cos(angle) * length, 1};
}

// A built plan holding exactly these points, in this order.
inline Plan PlanOf(std::vector<PlanPoint> points) {
  Plan plan;
  plan.PlanPointCount = static_cast<std::int64_t>(points.size()) - 1;
  plan.PlanPoints = std::move(points);
  return plan;
}

}  // namespace modKestralMGA::testsupport
