#pragma once

#include <string>
#include <string_view>

#include "common/Seams.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The title of the messages of a mark import from LandXML.
inline constexpr const char* kImportLandXmlErrorTitle = "Import LandXML error";

// The monuments of the LandXML file held in bytes (named name in messages) that carry MGA
// coordinates, as mark rows in the file's order: every Monument whose name reads as a mark
// number (a PSM key above 4600, or a state's mark name such as "PM 12345") and whose CgPoint
// gives a northing and an easting (and a height when it gives three values), in the coordinate
// system of the file's CoordinateSystem. PSM No. is the monument's name as written; East, North
// and Height are written "0.000"; Zone is the CgPoint's zoneNumber, else the zone that the
// CoordinateSystem's name, projectedCoordinateSystemName or desc gives ("MGA Zone 56",
// "MGA2020_56"); Datum is its horizontalDatum, else its datum; Order and Status stay empty.
// Throws FileError naming the element and its line for a file that is not well formed or holds
// a DOCTYPE, one without a CoordinateSystem, a Monument on a point that CgPoints do not define,
// a coordinate that is not a number, and a file without such a monument.
MarkList ReadLandXmlMarks(std::string_view bytes, const std::string& name);

// Appends the marks of the LandXML file at path (named name in messages) to list. Hands a
// failure's description to sink under "Import LandXML error" (critical) and returns false, the
// list unchanged.
bool ImportLandXmlMarks(const std::string& path, const std::string& name, MarkList& list,
                        MessageSink& sink);

}  // namespace modKestralMGA
