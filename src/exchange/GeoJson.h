#pragma once

#include <string>
#include <vector>

#include "common/Errors.h"
#include "diagnosis/Diagnosis.h"
#include "markjoins/JoinCalculation.h"
#include "markjoins/MarkIndex.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The title of the GeoJSON file's messages.
inline constexpr const char* kSaveGeoJsonTitle = "Save GeoJSON file error";

// What a mark whose Zone or Datum cell is empty is taken to be on: an MGA zone ("54") and a
// geodetic datum ("GDA2020" or "GDA94", any letter case). Empty: none given; a mark without a
// datum is then on GDA2020, a mark without a zone is refused.
struct MapDefaults {
  std::string Zone;
  std::string Datum;
};

// Marks that cannot be placed on the map; what() says why and how to mend it.
class MapRefused : public KestralError {
 public:
  using KestralError::KestralError;
};

// The comparison as GeoJSON (RFC 7946): one FeatureCollection named after the plan whose features
// are, in this order, a Point for each plan PSM of the joins that the list gives positive MGA
// coordinates (in the order of the plan points), then a LineString from mark to mark for each join
// whose two marks are such points (in the order judged; the others have no place on the map).
// Point properties: kind "mark", psm (the list's PSM No.), key, east_m, north_m, zone, datum,
// joins_judged and not_acceptable (the mark's joins judged against the criterion, and of those
// the ones not acceptable). LineString properties: kind "join" and the fields of CompareCsv
// (numbers rounded as there, null where it leaves a field empty or writes NaN). Coordinates are
// longitude and latitude in degrees with nine decimals (0.1 mm), converted from MGA with
// GeographicLib's transverse Mercator on GRS80 (the ellipsoid of GDA2020 and GDA94; central
// meridian 6 zone - 183 degrees, scale 0.9996, false easting 500000 m, false northing 10000000 m).
// The zone and datum of a mark are its Zone and Datum cells, each empty one taken from defaults.
// One feature a line, ended by a line feed. Throws MapRefused for a mark without a zone, a zone
// that is not an MGA zone (46 to 59), a datum other than GDA2020 and GDA94, or marks in more than
// one zone or on more than one datum (with the count of each, "54 (3), 55 (2)").
std::string CompareGeoJson(const Plan& plan, MarkIndex& index, const std::vector<JudgedJoin>& joins,
                           const std::string& planIdentifier, const MapDefaults& defaults);

// The joins command's rows as GeoJSON, as CompareGeoJson writes a comparison: a FeatureCollection
// named "joins" with a Point for each picked mark that the list gives positive MGA coordinates (in
// the order first picked; without joins_judged and not_acceptable), then a LineString for each
// row between two such marks with the properties kind "join", from, to, bearing,
// distance_m and combined_scale_factor (the numbers of the row's cells).
std::string JoinsGeoJson(const std::vector<JoinListRow>& rows, MarkIndex& index,
                         const MapDefaults& defaults);

}  // namespace modKestralMGA
