#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compare/CompareSettings.h"
#include "compare/JoinJudgement.h"
#include "diagnosis/Diagnosis.h"
#include "markjoins/MarkJoins.h"
#include "plan/CurveFile.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// A place on the join diagram in the plan's own frame, metres: East to the right, North up, so
// that grid north points up the page.
struct DiagramPoint {
  double East = 0.0;
  double North = 0.0;
};

// The colour a join is drawn in: green acceptable, red not acceptable, grey not compared.
enum class JoinColour { Green, Red, Grey };

// One line of the plan between two placed points: a straight line, or a curve drawn as the arc
// of its radius (Centre given), whose Path follows the arc in equal steps of at most 2 degrees.
struct DiagramLine {
  std::int32_t FromPoint = 0;
  std::int32_t ToPoint = 0;
  std::vector<DiagramPoint> Path;  // from FromPoint to ToPoint; two places for a straight line
  std::optional<DiagramPoint> Centre;
  double Radius = 0.0;  // metres, for an arc
};

// A PSM of the plan, placed.
struct DiagramMark {
  std::int32_t Key = 0;
  std::string Label;  // "6628/1234"
  DiagramPoint At;
  bool Suspect = false;
  // The residual after the fit (MGA minus the fitted plan position) turned into the plan's
  // frame, metres east and north; none when the diagnosis gives none.
  std::optional<DiagramPoint> Residual;
};

// A join between two placed PSMs, as the comparison judged it.
struct DiagramJoin {
  std::size_t From = 0;  // index in Marks
  std::size_t To = 0;
  JoinVerdict Verdict = JoinVerdict::MgaNotAvailable;
  JoinColour Colour = JoinColour::Grey;
  std::size_t Judgement = 0;  // its place among the comparison's joins
  std::string Tip;            // the verdict line and, when judged, the bearings and distances
};

// What the title block names.
struct DiagramTitle {
  std::string PlanIdentifier;
  std::string Criterion;
  std::string AverageHeight;  // as typed, metres
  std::string Date;
};

// The join diagram of one comparison: what the window, the printed page and the files draw.
struct JoinDiagram {
  std::vector<DiagramLine> Lines;
  std::vector<DiagramPoint> Points;  // the other plan points placed
  std::vector<DiagramMark> Marks;
  std::vector<DiagramJoin> Joins;  // in the comparison's order
  DiagramPoint Low;                // the smallest East and North of everything drawn
  DiagramPoint High;               // the largest
  std::vector<std::string> TitleLines;
  std::string FitText;        // the fit's rotation and scale, empty without a diagnosis
  double Exaggeration = 1.0;  // residual arrows are drawn this many times their length
  double ResidualBar = 0.0;   // metres of residual the arrows' scale bar stands for; 0: no arrows
};

// The colour of a verdict.
JoinColour ColourOf(JoinVerdict verdict);

// Where the residual arrow of mark ends when drawn exaggeration times its length: its place
// when it has no residual.
DiagramPoint ArrowTip(const DiagramMark& mark, double exaggeration);

// The largest of 1, 2 and 5 times a power of ten that is not above length (> 0): the length of a
// scale bar that fits. 0 for a length that is 0, negative or not finite.
double RoundLength(double length);

// The factor that draws the largest residual (metres) about a tenth of extent (metres) long,
// rounded down by RoundLength and at least 1; 1 without a residual.
double AutomaticExaggeration(double extent, double largestResidual);

// The diagram of a comparison: the plan's lines between placed points (a curve whose record the
// curve file gives drawn as its arc: radius Bearing - 1000, centre on the side the record's
// direction turns to, the longer arc when the arc length exceeds half the circle; without a
// record, or when its chord is longer than the diameter, the chord), the other placed points,
// the placed PSMs and the joins between them (joins judged, in their order; joins with an end not
// placed are left out). With a diagnosis: suspects, residuals turned by the fit's rotation into
// the plan's frame, the fit's line and the arrows' exaggeration (automatic unless given, > 0)
// and scale bar. curves may be null (every curve then its chord).
JoinDiagram BuildJoinDiagram(const Plan& plan, const std::vector<JudgedJoin>& joins,
                             const Diagnosis* diagnosis, CurveIndex* curves,
                             const DiagramTitle& title,
                             std::optional<double> exaggeration = std::nullopt);

// The diagram as the reports draw it when they print: every pair of the plan's PSMs judged again
// as the joins report judges them, diagnosed, and drawn with the curve file of the settings'
// plan identifier (its messages not shown again). The title block names the settings' plan,
// criterion and average height and dateText.
JoinDiagram ComposeJoinDiagram(const Plan& plan, JoinContext& context,
                               const CompareSettings& settings, const std::string& dateText,
                               std::optional<double> exaggeration = std::nullopt);

}  // namespace modKestralMGA
