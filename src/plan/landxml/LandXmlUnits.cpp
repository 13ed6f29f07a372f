#include "plan/landxml/LandXmlUnits.h"

#include <optional>

#include "common/Errors.h"
#include "common/NumericValue.h"
#include "geodesy/Angles.h"

namespace modKestralMGA::landxml {

namespace {

[[noreturn]] void UnreadableUnits(const xmlNode* element, const std::string& what,
                                  const std::string& file) {
  throw FileError("Units the program cannot read in " + Where(element, file) + ": " + what);
}

}  // namespace

DirectionUnit ReadDirectionUnit(xmlNode* root, const std::string& file) {
  xmlNode* units = ChildNamed(root, "Units");
  if (units == nullptr) UnreadableUnits(root, "no Units", file);
  xmlNode* metric = ChildNamed(units, "Metric");
  if (metric == nullptr) UnreadableUnits(units, "no Metric units", file);
  const std::string linear = Attribute(metric, "linearUnit").value_or("");
  if (linear != "meter" && linear != "metre") {
    UnreadableUnits(metric, "linearUnit \"" + linear + "\"", file);
  }
  std::optional<std::string> direction = Attribute(metric, "directionUnit");
  if (!direction) direction = Attribute(metric, "angularUnit");
  const std::string unit = direction.value_or("");
  if (unit == "decimal dd.mm.ss") return DirectionUnit::DdMmSs;
  if (unit == "decimal degrees") return DirectionUnit::DecimalDegrees;
  if (unit == "radians") return DirectionUnit::Radians;
  if (unit == "grads") return DirectionUnit::Grads;
  UnreadableUnits(metric, "directionUnit \"" + unit + "\"", file);
}

double DirectionAsDMS(double value, DirectionUnit unit) {
  switch (unit) {
    case DirectionUnit::DdMmSs:
      return value;
    case DirectionUnit::DecimalDegrees:
      return RadiansToDMS(value * Pi() / 180.0);
    case DirectionUnit::Radians:
      return RadiansToDMS(value);
    case DirectionUnit::Grads:
      return RadiansToDMS(value * Pi() / 200.0);
  }
  return value;
}

double ReadAttributeNumber(const xmlNode* element, const char* attribute, const std::string& text,
                           const std::string& file) {
  const NumberReading reading = ReadStrictNumber(text);
  const bool blank = text.find_first_not_of(" \t") == std::string::npos;
  if (reading.Status == NumberStatus::Ok && !blank) return reading.Value;
  const char* what =
      reading.Status == NumberStatus::OutOfRange ? "Number out of range in " : "Not a number in ";
  throw FileError(what + std::string(attribute) + " of " + Where(element, file) + ": " + text);
}

}  // namespace modKestralMGA::landxml
