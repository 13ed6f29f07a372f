#include "plan/landxml/LandXmlMarks.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/PathResolve.h"
#include "common/TextFile.h"
#include "plan/landxml/LandXmlNames.h"
#include "plan/landxml/LandXmlUnits.h"
#include "plan/landxml/XmlDocument.h"

namespace modKestralMGA {

namespace {

using namespace landxml;

// The zone number that follows "zone" or an "MGA" name (MGA Zone 56, MGA2020_56, MGA94 55) in
// text; empty when there is none.
std::string ZoneIn(const std::string& text) {
  const std::string upper = MarkNameMatchText(text);
  for (const std::string_view marker : {"ZONE", "MGA2020", "MGA94", "MGA"}) {
    std::size_t at = upper.find(marker);
    if (at == std::string::npos) continue;
    at += marker.size();
    while (at < upper.size() && (upper[at] == '_' || upper[at] == '-' || upper[at] == ':')) ++at;
    std::string digits;
    while (at < upper.size() && upper[at] >= '0' && upper[at] <= '9') digits += upper[at++];
    if (!digits.empty() && digits.size() <= 2) return digits;
  }
  return {};
}

struct CoordinateSystemCells {
  std::string Zone;
  std::string Datum;
};

CoordinateSystemCells ReadCoordinateSystem(xmlNode* root, const std::string& file) {
  const std::vector<xmlNode*> systems = ElementsNamed(root, "CoordinateSystem");
  if (systems.empty()) {
    throw FileError("No CoordinateSystem in " + Where(root, file) +
                    ": its coordinates are not taken as MGA coordinates");
  }
  xmlNode* system = systems.front();
  CoordinateSystemCells cells;
  for (const char* attribute : {"name", "projectedCoordinateSystemName", "desc"}) {
    if (cells.Zone.empty()) cells.Zone = ZoneIn(Attribute(system, attribute).value_or(""));
  }
  cells.Datum =
      Attribute(system, "horizontalDatum").value_or(Attribute(system, "datum").value_or(""));
  return cells;
}

// The mark row of a monument on point, when the point gives a northing and an easting.
std::optional<MarkRow> MarkOf(const std::string& name, xmlNode* point,
                              const CoordinateSystemCells& system, const std::string& file) {
  std::vector<std::string> values;
  const std::string text = ElementText(point);
  std::size_t start = text.find_first_not_of(" \t\r\n");
  while (start != std::string::npos) {
    const std::size_t end = text.find_first_of(" \t\r\n", start);
    values.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    start = text.find_first_not_of(" \t\r\n", end == std::string::npos ? text.size() : end);
  }
  if (values.size() < 2) return std::nullopt;
  const auto metres = [&](const std::string& value) {
    return FormatNumber(ReadAttributeNumber(point, "coordinates", value, file), kFormatMetres);
  };
  MarkRow row;
  row[kColPsmNo] = name;
  row[kColNorth] = metres(values[0]);
  row[kColEast] = metres(values[1]);
  if (values.size() > 2) row[kColHeight] = metres(values[2]);
  row[kColZone] = Attribute(point, "zoneNumber").value_or(system.Zone);
  row[kColDatum] = system.Datum;
  return row;
}

}  // namespace

MarkList ReadLandXmlMarks(std::string_view bytes, const std::string& name) {
  const XmlDocument document(bytes, name);
  xmlNode* root = document.Root();
  const CoordinateSystemCells system = ReadCoordinateSystem(root, name);
  std::unordered_map<std::string, xmlNode*> points;
  for (xmlNode* point : ElementsNamed(root, "CgPoint")) {
    if (const std::optional<std::string> pointName = Attribute(point, "name")) {
      points.emplace(*pointName, point);
    }
  }
  MarkList marks;
  for (xmlNode* monument : ElementsNamed(root, "Monument")) {
    const std::string pntRef = Attribute(monument, "pntRef").value_or("");
    const auto point = points.find(pntRef);
    if (point == points.end()) {
      throw FileError(Where(monument, name) + " refers to point \"" + pntRef +
                      "\", which CgPoints do not define");
    }
    const std::string markName = Attribute(monument, "name").value_or("");
    if (!MonumentKey(markName) && !IsStateMarkName(markName)) continue;
    if (std::optional<MarkRow> row = MarkOf(markName, point->second, system, name)) {
      marks.AppendRow(*row);
    }
  }
  if (marks.Empty()) throw FileError("No monument with MGA coordinates in " + Where(root, name));
  return marks;
}

bool ImportLandXmlMarks(const std::string& path, const std::string& name, MarkList& list,
                        MessageSink& sink) {
  try {
    const TextFile file = ReadTextFile(path, name, "LandXML file");
    const MarkList marks = ReadLandXmlMarks(file.Bytes, name);
    for (std::size_t row = 0; row < marks.RowCount(); ++row) list.AppendRow(marks.Row(row).Owned());
  } catch (const FileError& error) {
    sink.Message(error.what(), kImportLandXmlErrorTitle, MessageIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace modKestralMGA
