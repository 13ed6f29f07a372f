#pragma once

// Surveys made up for the diagnosis: marks placed in MGA about a hub on the central meridian (where
// the line scale factor is 0.9996 to 0.1 ppm, so the grid is the ground times 0.9996 at height
// 0), and a plan written from them as lines: one line from the hub (point 1) to each mark, then a
// line from each mark to the next, which the plan does not need and so checks it.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "compare/AccuracyCriteria.h"
#include "diagnosis/Diagnosis.h"
#include "geodesy/Angles.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"

namespace modKestralMGA::testsupport {

// What is wrong with a made-up survey.
struct SurveyFaults {
  std::vector<std::size_t> Moved{};  // marks moved in the list by MovedBy metres at bearing 30
  double MovedBy = 0.12;
  double RotationSeconds = 0.0;         // what the plan's bearings need added
  double ScalePpm = 0.0;                // what the plan's distances need
  std::vector<std::size_t> Swapped{};   // two marks whose numbers the plan exchanges
  std::vector<std::size_t> Unlisted{};  // marks left out of the list
  std::ptrdiff_t MistypedCheck = -1;    // the mark whose line to the next gets 0.2 m more
};

inline constexpr double kHubEast = 500000.0;
inline constexpr double kHubNorth = 6130000.0;
inline constexpr double kGridScale = 0.9996;

struct SyntheticSurvey {
  std::vector<std::int32_t> Keys;
  MarkList Marks;
  Plan PlanTables;
  FixedReportSettings Settings;
  MarkIndex Index{Marks};
  JudgementCollector Judgements;

  // n marks with the keys given (66281001 onwards for those not given): mark i lies at a ground
  // bearing of i 360/n degrees plus 1234 i seconds and 1100 + 377 (i mod 5) metres from the hub.
  SyntheticSurvey(std::size_t n, const SurveyFaults& faults, std::vector<std::int32_t> keys = {})
      : Keys(std::move(keys)) {
    Settings.m_averageHeight = "0.000";
    for (std::size_t i = Keys.size(); i < n; ++i) Keys.push_back(66281001 + std::int32_t(i));
    std::vector<double> bearings;  // seconds of arc, whole
    std::vector<double> lengths;
    for (std::size_t i = 0; i < n; ++i) {
      bearings.push_back(std::round(double(i) * 1296000.0 / double(n)) + 1234.0 * double(i));
      lengths.push_back(1100.0 + 377.0 * double(i % 5));
      double east = kHubEast + kGridScale * lengths[i] * std::sin(bearings[i] / kSecondsPerRadian);
      double north =
          kHubNorth + kGridScale * lengths[i] * std::cos(bearings[i] / kSecondsPerRadian);
      if (Contains(faults.Moved, i)) {
        east += faults.MovedBy * std::sin(Pi() / 6.0);
        north += faults.MovedBy * std::cos(Pi() / 6.0);
      }
      if (Contains(faults.Unlisted, i)) continue;
      Marks.AppendRow(JoinMark(std::to_string(Keys[i]), FormatNumber(east, "0.00000000"),
                               FormatNumber(north, "0.00000000"), "1"));
    }
    std::vector<std::int32_t> planKeys = Keys;
    if (faults.Swapped.size() == 2)
      std::swap(planKeys[faults.Swapped[0]], planKeys[faults.Swapped[1]]);
    const double shrink = 1.0 + faults.ScalePpm * 1e-6;
    for (std::size_t i = 0; i < n; ++i) {
      AddLine(1, planKeys[i], bearings[i] - faults.RotationSeconds, lengths[i] / shrink);
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
      const auto angle = [&](std::size_t k) {
        return (bearings[k] - faults.RotationSeconds) / kSecondsPerRadian;
      };
      const double dE =
          (lengths[i + 1] * std::sin(angle(i + 1)) - lengths[i] * std::sin(angle(i))) / shrink;
      const double dN =
          (lengths[i + 1] * std::cos(angle(i + 1)) - lengths[i] * std::cos(angle(i))) / shrink;
      const double mistyped = std::ptrdiff_t(i) == faults.MistypedCheck ? 0.2 : 0.0;
      AddLine(planKeys[i], planKeys[i + 1], std::atan2(dE, dN) * kSecondsPerRadian,
              std::hypot(dE, dN) + mistyped);
    }
  }

  // The comparison run with the judgements kept, then the diagnosis of them.
  Diagnosis Diagnosed() {
    MarkLinesInUse(PlanTables);
    RecordingSink sink;
    BuildPlanPoints(PlanTables, "", sink);
    JoinContext context{Index, Settings};
    RecordingResultList list;
    NoPendingEvents events;
    ComparePSMJoins(PlanTables, context, Settings, list, sink, events, &Judgements);
    return Diagnose(PlanTables, Index, Judgements.Joins(), Settings.Criterion());
  }

 private:
  static bool Contains(const std::vector<std::size_t>& list, std::size_t i) {
    return std::find(list.begin(), list.end(), i) != list.end();
  }
  // A line whose bearing is given in seconds of arc, written as the lines file writes it.
  void AddLine(std::int32_t from, std::int32_t to, double seconds, double length) {
    const double circle = 1296000.0;
    seconds = std::fmod(std::fmod(seconds, circle) + circle, circle);
    const double bearing =
        NumericValue(FormatNumber(RadiansToDMS(seconds / kSecondsPerRadian), kFormatBearing));
    PlanTables.PlanLines.push_back({from, to, bearing, length, 0});
  }
};

}  // namespace modKestralMGA::testsupport
