// The join diagram's geometry: where the plan's points, lines, arcs and arrows lie in the plan's
// frame (north up), and the colours of the joins from their verdicts.
#include <gtest/gtest.h>

#include <cmath>

#include "CompareFixtures.h"
#include "compare/ComparePSMJoins.h"
#include "plan/PlanPoints.h"
#include "reports/JoinDiagram.h"

namespace modKestralMGA {
namespace {

using testsupport::CompareData;
using testsupport::RecordingSink;
using testsupport::TempFolder;

// A square of 100 m (6628/1001 to 1002 east, to 1003 north, to 1004 west) closed by a curve of
// radius 100 m from 1004 back to 1001, its chord the square's west side (arc 100 pi / 3 m),
// turning left as it runs south: its centre lies 86.603 m east of that side, at half height.
TEST(JoinDiagramTest, SquareWithACurveLiesNorthUpWithItsArc) {
  TempFolder folder;
  folder.Write("square.lns",
               "66281001,66281002,90.0000,100\r\n66281002,66281003,0.0000,100\r\n"
               "66281003,66281004,270.0000,100\r\n66281004,66281001,1100.0000,104.7197551\r\n");
  folder.Write("square.cve", "66281001,66281004,R,0.0000,100.000\r\n");
  const std::string id = folder / "square";
  RecordingSink sink;
  Plan plan;
  ASSERT_TRUE(ReadPlanForCompare(id, plan, sink));
  BuildPlanPoints(plan, id, sink);
  CurveIndex curves(id, sink);
  const JoinDiagram diagram = BuildJoinDiagram(plan, {}, nullptr, &curves, {});
  EXPECT_TRUE(sink.Entries().empty());

  const double expected[4][2] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  ASSERT_EQ(diagram.Marks.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(diagram.Marks[i].Label, "6628/100" + std::to_string(i + 1));
    EXPECT_NEAR(diagram.Marks[i].At.East, expected[i][0], 1e-9) << i;
    EXPECT_NEAR(diagram.Marks[i].At.North, expected[i][1], 1e-9) << i;
  }
  ASSERT_EQ(diagram.Lines.size(), 4u);
  EXPECT_EQ(diagram.Lines[1].Path.size(), 2u);  // bearing 0: straight up the page
  EXPECT_FALSE(diagram.Lines[1].Centre);
  const DiagramLine& arc = diagram.Lines[3];
  ASSERT_TRUE(arc.Centre);
  EXPECT_NEAR(arc.Centre->East, 50.0 * std::sqrt(3.0), 1e-9);
  EXPECT_NEAR(arc.Centre->North, 50.0, 1e-9);
  EXPECT_EQ(arc.Path.size(), 31u);  // 60 degrees in steps of 2
  for (const DiagramPoint& at : arc.Path) {
    EXPECT_NEAR(std::hypot(at.East - arc.Centre->East, at.North - arc.Centre->North), 100.0, 1e-6);
  }
  const DiagramPoint middle = arc.Path[15];
  EXPECT_NEAR(middle.East, 50.0 * std::sqrt(3.0) - 100.0, 1e-6);
  EXPECT_NEAR(diagram.Low.East, middle.East, 1e-6);
  EXPECT_NEAR(diagram.High.North, 100.0, 1e-9);

  // Without the curve file, the chord.
  const JoinDiagram chords = BuildJoinDiagram(plan, {}, nullptr, nullptr, {});
  EXPECT_EQ(chords.Lines[3].Path.size(), 2u);
  EXPECT_NEAR(chords.Low.East, 0.0, 1e-9);
}

// The joins of 6628/1001 (the worked join to 1002, acceptable), 1007 placed 100 m short (not
// acceptable both ways) and 1003 of order 6 (not compared); residual arrows scale with the
// exaggeration and turn with the fit.
TEST(JoinDiagramTest, JoinsTakeTheColoursOfTheirVerdictsAndArrowsTheirExaggeration) {
  CompareData data;
  const Plan plan = testsupport::PlanOf(
      {data.origin, data.Like(66281002), data.Like(66281007, 0.0, -100.0), data.Like(66281003)});
  JoinContext context{data.index, data.settings};
  const JoinDiagram diagram = ComposeJoinDiagram(plan, context, data.settings, "today", 100.0);
  const struct {
    const char* From;
    const char* To;
    JoinColour Colour;
  } rows[] = {
      {"6628/1001", "6628/1002", JoinColour::Green}, {"6628/1001", "6628/1007", JoinColour::Red},
      {"6628/1001", "6628/1003", JoinColour::Grey},  {"6628/1002", "6628/1007", JoinColour::Red},
      {"6628/1002", "6628/1003", JoinColour::Grey},  {"6628/1007", "6628/1003", JoinColour::Grey}};
  ASSERT_EQ(diagram.Joins.size(), std::size(rows));
  for (std::size_t i = 0; i < diagram.Joins.size(); ++i) {
    const DiagramJoin& join = diagram.Joins[i];
    EXPECT_EQ(diagram.Marks[join.From].Label, rows[i].From) << i;
    EXPECT_EQ(diagram.Marks[join.To].Label, rows[i].To) << i;
    EXPECT_EQ(join.Colour, rows[i].Colour) << i;
    EXPECT_EQ(join.Judgement, i);
  }
  EXPECT_NE(diagram.Joins[1].Tip.find("*** JOIN NOT ACCEPTABLE ***\nPlan: "), std::string::npos);
  EXPECT_NE(diagram.Joins[1].Tip.find("Allowable = "), std::string::npos);
  EXPECT_EQ(diagram.TitleLines.back(), "today");

  EXPECT_EQ(diagram.Exaggeration, 100.0);
  std::size_t arrows = 0;
  for (const DiagramMark& mark : diagram.Marks) {
    if (!mark.Residual) continue;
    ++arrows;
    const DiagramPoint tip = ArrowTip(mark, diagram.Exaggeration);
    EXPECT_NEAR(tip.East - mark.At.East, 100.0 * mark.Residual->East, 1e-9);
    EXPECT_NEAR(tip.North - mark.At.North, 100.0 * mark.Residual->North, 1e-9);
  }
  EXPECT_EQ(arrows, 1u);  // the suspect, from the fit of the two others
  EXPECT_TRUE(diagram.Marks[2].Suspect && diagram.Marks[2].Residual);

  // A residual of 1 m north seen through a fit turned 90 degrees clockwise points west on the
  // plan; the automatic factor draws the largest residual a tenth of the extent, rounded down.
  Diagnosis turned;
  turned.Fit = SimilarityFit{};
  turned.Fit->A = 0.0;
  turned.Fit->B = 1.0;
  turned.Marks.push_back({66281001, 1, 0, true, false, 0.0, 1.0});
  const JoinDiagram west = BuildJoinDiagram(plan, {}, &turned, nullptr, {});
  EXPECT_NEAR(west.Marks[0].Residual->East, -1.0, 1e-12);
  EXPECT_NEAR(west.Marks[0].Residual->North, 0.0, 1e-12);
  const double cases[][3] = {{1000, 0.05, 2000}, {1000, 0.03, 2000}, {50, 1, 5}, {1, 1, 1}};
  for (const auto& [extent, largest, factor] : cases) {
    EXPECT_EQ(AutomaticExaggeration(extent, largest), factor) << extent << " " << largest;
  }
}

}  // namespace
}  // namespace modKestralMGA
