#include "plan/landxml/LandXmlWriter.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "plan/landxml/LandXmlNames.h"

namespace modKestralMGA {

namespace {

constexpr double kCurveOffset = 1000.0;
constexpr std::int32_t kHighestOrdinaryPoint = 4600;

// text with the five characters that XML reserves written as references.
std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Name(std::int32_t pointNo) {
  return FormatNumber(pointNo, kFormatCount);
}

std::string SetupId(std::int32_t pointNo) {
  std::string id = Name(pointNo);
  id.insert(id.begin(), 'S');
  return id;
}

void WritePoints(const Plan& plan, std::string& out) {
  out += "  <CgPoints>\n";
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    const char* role = point.PointNo > kHighestOrdinaryPoint ? "control" : "boundary";
    out += "    <CgPoint name=\"" + Name(point.PointNo) + "\" pntSurv=\"" + role + "\">";
    if (point.Solved != 0) {
      out +=
          FormatNumber(point.North, kFormatMetres) + " " + FormatNumber(point.East, kFormatMetres);
    }
    out += "</CgPoint>\n";
  }
  out += "  </CgPoints>\n  <Monuments>\n";
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const std::int32_t pointNo = plan.PlanPoints[static_cast<std::size_t>(i)].PointNo;
    if (pointNo <= kHighestOrdinaryPoint) continue;
    out += "    <Monument name=\"" + Name(pointNo) + "\" pntRef=\"" + Name(pointNo) +
           "\" type=\"PSM\" state=\"existing\"/>\n";
  }
  out += "  </Monuments>\n";
}

void WriteSetups(const Plan& plan, std::string& out) {
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const std::int32_t pointNo = plan.PlanPoints[static_cast<std::size_t>(i)].PointNo;
    out += "    <InstrumentSetup id=\"" + SetupId(pointNo) + "\" stationName=\"" + Name(pointNo) +
           "\" instrumentHeight=\"0\">\n      <InstrumentPoint pntRef=\"" + Name(pointNo) +
           "\"/>\n    </InstrumentSetup>\n";
  }
}

std::string Ends(const PlanLine& line) {
  return "setupID=\"" + SetupId(line.FromPoint) + "\" targetSetupID=\"" + SetupId(line.ToPoint) +
         "\"";
}

void WriteArc(const PlanLine& line, CurveIndex& curves, std::string& out) {
  const double radius = line.Bearing - kCurveOffset;
  double bearing = 999.0;
  double chord = ChordOfArc(radius, line.Distance);
  if (!GetChordData(line.FromPoint, line.ToPoint, radius, line.Distance, curves, bearing, chord)) {
    bearing = 999.0;
  }
  const CurveRecord* record = curves.Find(line.FromPoint, line.ToPoint);
  const bool forward = record != nullptr && record->FirstPoint == line.FromPoint;
  const bool left = record != nullptr && record->TurnsLeft == forward;
  out += "      <ReducedArcObservation " + Ends(line) + " chordAzimuth=\"" +
         FormatNumber(bearing, kFormatBearing) + "\" radius=\"" + FormatExact(radius) +
         "\" length=\"" + FormatExact(line.Distance) + "\" rot=\"" + (left ? "ccw" : "cw") + "\"";
  if (IsExactly(bearing, 999.0) || IsExactly(chord, ChordOfArc(radius, line.Distance))) {
    out += "/>\n";
    return;
  }
  out += ">\n        <Feature code=\"KestralMGA\">\n          <Property label=\"" +
         std::string(landxml::kChordDistanceLabel) + "\" value=\"" + FormatExact(chord) +
         "\"/>\n        </Feature>\n      </ReducedArcObservation>\n";
}

}  // namespace

std::string LandXmlText(const Plan& plan, CurveIndex& curves, const std::string& surveyName,
                        const std::string& date) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2 "
      "http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\" version=\"1.2\" date=\"" +
      Escaped(date) +
      "\" time=\"00:00:00\">\n"
      "  <Units>\n"
      "    <Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\" "
      "temperatureUnit=\"celsius\" pressureUnit=\"HPA\" angularUnit=\"decimal dd.mm.ss\" "
      "directionUnit=\"decimal dd.mm.ss\"/>\n"
      "  </Units>\n";
  WritePoints(plan, out);
  out += "  <Survey>\n    <SurveyHeader name=\"" + Escaped(surveyName) + "\"/>\n";
  WriteSetups(plan, out);
  out += "    <ObservationGroup id=\"OG1\">\n";
  for (const PlanLine& line : plan.PlanLines) {
    if (line.Bearing > kCurveOffset) {
      WriteArc(line, curves, out);
    } else {
      out += "      <ReducedObservation " + Ends(line) + " azimuth=\"" + FormatExact(line.Bearing) +
             "\" horizDistance=\"" + FormatExact(line.Distance) + "\"/>\n";
    }
  }
  out += "    </ObservationGroup>\n  </Survey>\n</LandXML>\n";
  return out;
}

}  // namespace modKestralMGA
