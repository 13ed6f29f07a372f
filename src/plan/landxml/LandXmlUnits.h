#pragma once

#include <string>

#include "plan/landxml/XmlDocument.h"

namespace modKestralMGA::landxml {

// How a LandXML file writes its directions.
enum class DirectionUnit { DdMmSs, DecimalDegrees, Radians, Grads };

// The direction unit of the file's Units/Metric: its directionUnit, else its angularUnit. Throws
// FileError naming the element and its line when the file has no Units, gives Imperial units, a
// linear unit other than metres, or a direction unit other than the four LandXML names.
DirectionUnit ReadDirectionUnit(xmlNode* root, const std::string& file);

// A direction written in unit as a ddd.mmss number: dd.mm.ss values as they stand, the others
// converted to whole seconds.
double DirectionAsDMS(double value, DirectionUnit unit);

// A number of an attribute: the strict reading of the values of the plan files. Throws FileError
// "Not a number in <attribute> of <element> at line N of <file>: <text>" (or "Number out of
// range").
double ReadAttributeNumber(const xmlNode* element, const char* attribute, const std::string& text,
                           const std::string& file);

}  // namespace modKestralMGA::landxml
