#include "plan/landxml/LandXmlPlan.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "common/Errors.h"
#include "common/NumericValue.h"
#include "common/PathResolve.h"
#include "common/Rounding.h"
#include "common/TextFile.h"
#include "geodesy/Keys.h"
#include "geodesy/MarkNames.h"
#include "plan/CurveFile.h"
#include "plan/LinesFile.h"
#include "plan/landxml/LandXmlNames.h"
#include "plan/landxml/LandXmlUnits.h"
#include "plan/landxml/XmlDocument.h"

namespace modKestralMGA {

namespace {

using namespace landxml;

constexpr double kCurveOffset = 1000.0;
constexpr double kNotGiven = 999.0;

// The point number of every setup, by its id.
std::unordered_map<std::string, std::int32_t> SetupPoints(xmlNode* root, const PointNumbers& points,
                                                          const std::string& file) {
  std::unordered_map<std::string, std::int32_t> setups;
  for (xmlNode* setup : ElementsNamed(root, "InstrumentSetup")) {
    const std::optional<std::string> id = Attribute(setup, "id");
    if (!id) throw FileError("No id in " + Where(setup, file));
    xmlNode* point = ChildNamed(setup, "InstrumentPoint");
    if (point == nullptr) throw FileError("No InstrumentPoint in " + Where(setup, file));
    const std::string pntRef = Attribute(point, "pntRef").value_or("");
    setups.emplace(*id, points.NumberOf(pntRef, point));
  }
  return setups;
}

// The point of an observation's setup (attribute setupID or targetSetupID).
std::int32_t SetupPoint(const xmlNode* observation, const char* attribute,
                        const std::unordered_map<std::string, std::int32_t>& setups,
                        const std::string& file) {
  const std::string id = Attribute(observation, attribute).value_or("");
  const auto found = setups.find(id);
  if (found == setups.end()) {
    throw FileError(Where(observation, file) + " refers to " + attribute + " \"" + id +
                    "\", which the file does not define");
  }
  return found->second;
}

// A direction attribute as a ddd.mmss bearing; 999 when the observation has none.
double DirectionOf(const xmlNode* observation, const char* attribute, DirectionUnit unit,
                   const std::string& file) {
  const std::optional<std::string> text = Attribute(observation, attribute);
  if (!text) return kNotGiven;
  return DirectionAsDMS(ReadAttributeNumber(observation, attribute, *text, file), unit);
}

double RequiredNumber(const xmlNode* observation, const char* attribute, const std::string& file) {
  const std::optional<std::string> text = Attribute(observation, attribute);
  if (!text) throw FileError("No " + std::string(attribute) + " in " + Where(observation, file));
  return ReadAttributeNumber(observation, attribute, *text, file);
}

// The chord length the program's own writer keeps in an arc's Feature, when there is one.
std::optional<double> KeptChordDistance(xmlNode* arc, const std::string& file) {
  for (xmlNode* property : ElementsNamed(arc, "Property")) {
    if (Attribute(property, "label").value_or("") == kChordDistanceLabel) {
      return ReadAttributeNumber(property, "value", Attribute(property, "value").value_or(""),
                                 file);
    }
  }
  return std::nullopt;
}

void AddArc(xmlNode* arc, const PlanLine& ends, DirectionUnit unit, const std::string& file,
            Plan& plan) {
  PlanLine line = ends;
  const double radius = RequiredNumber(arc, "radius", file);
  line.Bearing = kCurveOffset + radius;
  line.Distance = RequiredNumber(arc, "length", file);
  plan.PlanLines.push_back(line);
  CurveRecord chord;
  chord.FirstPoint = line.FromPoint;
  chord.SecondPoint = line.ToPoint;
  chord.TurnsLeft = Attribute(arc, "rot").value_or("") == "ccw";
  chord.BearingValue = DirectionOf(arc, "chordAzimuth", unit, file);
  chord.DistanceValue =
      IsExactly(chord.BearingValue, kNotGiven)
          ? kNotGiven
          : KeptChordDistance(arc, file).value_or(ChordOfArc(radius, line.Distance));
  plan.Curves->push_back(chord);
}

void ReadObservations(xmlNode* root, const PointNumbers& points, DirectionUnit unit,
                      const std::string& file, Plan& plan) {
  const std::unordered_map<std::string, std::int32_t> setups = SetupPoints(root, points, file);
  for (xmlNode* observation : Elements(root)) {
    const std::string_view name = ElementName(observation);
    const bool arc = name == "ReducedArcObservation";
    if (!arc && name != "ReducedObservation") continue;
    PlanLine line;
    line.FromPoint = SetupPoint(observation, "setupID", setups, file);
    line.ToPoint = SetupPoint(observation, "targetSetupID", setups, file);
    if (arc) {
      AddArc(observation, line, unit, file, plan);
      continue;
    }
    line.Bearing = DirectionOf(observation, "azimuth", unit, file);
    // Above 1000 a bearing is the lines file's code of a curve, which only an arc may give.
    if (line.Bearing > kCurveOffset) {
      throw FileError("Azimuth out of range in " + Where(observation, file) + ": " +
                      Attribute(observation, "azimuth").value_or(""));
    }
    line.Distance = RequiredNumber(observation, "horizDistance", file);
    plan.PlanLines.push_back(line);
  }
  if (plan.PlanLines.empty()) {
    const std::vector<xmlNode*> surveys = ElementsNamed(root, "Survey");
    throw FileError("No ReducedObservation or ReducedArcObservation in " +
                    Where(surveys.empty() ? root : surveys.front(), file));
  }
}

}  // namespace

bool IsLandXmlPlan(std::string_view planIdentifier) {
  constexpr std::string_view kExtension = ".XML";
  if (planIdentifier.size() < kExtension.size()) return false;
  const std::string_view tail = planIdentifier.substr(planIdentifier.size() - kExtension.size());
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    const char c = tail[i];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != kExtension[i]) {
      return false;
    }
  }
  return true;
}

void ReadLandXmlPlan(std::string_view bytes, const std::string& name, Plan& plan) {
  const XmlDocument document(bytes, name);
  xmlNode* root = document.Root();
  if (ElementName(root) != "LandXML") {
    throw FileError(Where(root, name) + " is not a LandXML document");
  }
  const DirectionUnit unit = ReadDirectionUnit(root, name);
  const PointNumbers points(root, name);
  plan.PlanLines.clear();
  plan.Curves.emplace();
  ReadObservations(root, points, unit, name, plan);
  plan.Names = points.Names();
}

bool LoadLandXmlPlan(const std::string& planIdentifier, MessageSink& sink, Plan& plan) {
  if (!FileExists(planIdentifier)) {
    sink.Message("Cannot find plan file " + planIdentifier, kReadKestralFileErrorTitle,
                 MessageIcon::Exclamation);
    return false;
  }
  try {
    const TextFile file = ReadTextFile(ResolvePath(planIdentifier), planIdentifier, "LandXML file");
    ReadLandXmlPlan(file.Bytes, planIdentifier, plan);
  } catch (const FileError& error) {
    sink.Message(error.what(), kLoadLinesErrorTitle, MessageIcon::Exclamation);
    return false;
  }
  MarkLinesInUse(plan);
  return true;
}

}  // namespace modKestralMGA
