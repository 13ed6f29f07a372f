// LandXML plans: the program's own LandXML of a plan, and the LandXML versions committed beside
// its lines and curve files, place every point exactly where the lines and curve files do;
// directions are read in each of LandXML's four units, and arcs keep their turning sense.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "plan/CurveFile.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"
#include "plan/landxml/LandXmlPlan.h"
#include "plan/landxml/LandXmlWriter.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;
using testsupport::RecordingSink;

// The points of a plan as bits: equal only when placed bit for bit alike.
std::string PointBits(const Plan& plan) {
  std::string bits;
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    bits += FormatNumber(point.PointNo, kFormatCount) + " " +
            FormatNumber(static_cast<double>(std::bit_cast<std::uint64_t>(point.East)), "0") + " " +
            FormatNumber(static_cast<double>(std::bit_cast<std::uint64_t>(point.North)), "0") +
            (point.Solved != 0 ? " placed\n" : " not placed\n");
  }
  return bits;
}

Plan BuiltFromLandXml(const std::string& text) {
  Plan plan;
  ReadLandXmlPlan(text, "plan.xml", plan);
  MarkLinesInUse(plan);
  RecordingSink sink;
  BuildPlanPoints(plan, "plan.xml", sink);
  EXPECT_TRUE(sink.Entries().empty());
  return plan;
}

TEST(LandXmlPlan, PlacesThePointsOfItsLinesAndCurveFilesBitForBit) {
  for (const std::string plan : {"/../../examples/plan", "/plans/DP1234", "/plans/curve-right"}) {
    SCOPED_TRACE(plan);
    const std::string identifier = KESTRAL_TEST_DATA_DIR + plan;
    Plan lines;
    RecordingSink sink;
    ASSERT_TRUE(ReadPlanForCompare(identifier, lines, sink));
    BuildPlanPoints(lines, identifier, sink);
    CurveIndex curves(identifier, sink);
    const std::string written = LandXmlText(lines, curves, "plan", "2026-01-01");
    EXPECT_EQ(PointBits(BuiltFromLandXml(written)), PointBits(lines));
    EXPECT_EQ(PointBits(BuiltFromLandXml(ReadBytes(identifier + ".xml"))), PointBits(lines));
  }
}

// 45 deg 30 min 15 sec and an arc in each unit LandXML names.
TEST(LandXmlPlan, ReadsDirectionsInEveryUnit) {
  const struct {
    const char* Unit;
    const char* Azimuth;
    const char* Rot;
  } cases[] = {{"decimal dd.mm.ss", "45.3015", "cw"},
               {"decimal degrees", "45.50416666666667", "ccw"},
               {"radians", "0.7941975317095864", "cw"},
               {"grads", "50.56018518518519", "ccw"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Unit);
    const std::string text =
        std::string("<LandXML><Units><Metric linearUnit=\"meter\" directionUnit=\"") + c.Unit +
        "\"/></Units><CgPoints><CgPoint name=\"1\"/><CgPoint name=\"2\"/>"
        "</CgPoints><Survey><InstrumentSetup id=\"a\"><InstrumentPoint "
        "pntRef=\"1\"/></InstrumentSetup><InstrumentSetup id=\"b\">"
        "<InstrumentPoint pntRef=\"2\"/></InstrumentSetup>"
        "<ReducedObservation setupID=\"a\" targetSetupID=\"b\" azimuth=\"" +
        c.Azimuth +
        "\" horizDistance=\"10\"/><ReducedArcObservation setupID=\"b\" "
        "targetSetupID=\"a\" chordAzimuth=\"" +
        c.Azimuth + "\" radius=\"20\" length=\"10.5\" rot=\"" + c.Rot + "\"/></Survey></LandXML>";
    Plan plan;
    ReadLandXmlPlan(text, "plan.xml", plan);
    ASSERT_EQ(plan.PlanLines.size(), 2U);
    EXPECT_EQ(FormatNumber(plan.PlanLines[0].Bearing, kFormatBearing), "45.3015");
    EXPECT_EQ(FormatNumber(plan.PlanLines[1].Bearing, kFormatBearing), "1020.0000");
    ASSERT_EQ(plan.Curves->size(), 1U);
    const CurveRecord& chord = plan.Curves->front();
    EXPECT_EQ(FormatNumber(chord.BearingValue, kFormatBearing), "45.3015");
    EXPECT_EQ(FormatNumber(chord.DistanceValue, "0.000000"), "10.379829");  // 40 sin(10.5 / 40)
    EXPECT_EQ(chord.TurnsLeft, std::string(c.Rot) == "ccw");
  }
}

}  // namespace
}  // namespace modKestralMGA
