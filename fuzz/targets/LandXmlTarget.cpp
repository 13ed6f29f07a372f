// Reading a LandXML file as a plan and as a source of marks: a file that cannot be used is
// refused with a description that names the file; a plan that is read has one chord per arc and
// is built without a message of its own.
#include <string>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Errors.h"
#include "plan/LinesFile.h"
#include "plan/PlanPoints.h"
#include "plan/landxml/LandXmlMarks.h"
#include "plan/landxml/LandXmlPlan.h"

namespace modKestralMGA::fuzz {

int FuzzLandXml(const std::uint8_t* data, std::size_t size) {
  const std::string text(AsText(data, size));
  try {
    Plan plan;
    ReadLandXmlPlan(text, "plan.xml", plan);
    std::size_t arcs = 0;
    for (const PlanLine& line : plan.PlanLines) arcs += line.Bearing > 1000.0 ? 1 : 0;
    Require(plan.Curves && plan.Curves->size() == arcs, "one chord per arc");
    MarkLinesInUse(plan);
    KeptMessages messages;
    BuildPlanPoints(plan, "plan.xml", messages);
    Require(messages.Empty(), "a LandXML plan's chords need no curve file");
  } catch (const KestralError& error) {
    Require(std::string(error.what()).find("plan.xml") != std::string::npos,
            "a refused LandXML plan names its file");
  }
  try {
    const MarkList marks = ReadLandXmlMarks(text, "marks.xml");
    Require(!marks.Empty(), "marks read from LandXML are at least one");
  } catch (const FileError& error) {
    Require(std::string(error.what()).find("marks.xml") != std::string::npos,
            "a refused LandXML mark file names its file");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
