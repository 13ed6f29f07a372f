#include "exchange/GeoJson.h"

#include <GeographicLib/TransverseMercator.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "exchange/JudgedJoinJson.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {

namespace {

// Longitudes and latitudes in degrees to 0.1 mm or better.
constexpr std::string_view kFormatDegrees = "0.000000000";
// The zones of the Map Grid of Australia.
constexpr int kFirstMgaZone = 46;
constexpr int kLastMgaZone = 59;
constexpr std::string_view kDefaultDatum = "GDA2020";

// A listed mark placed on the map; for a comparison, with the counts of its joins.
struct MapMark {
  std::int32_t Key = 0;
  std::size_t Row = 0;
  IndexedMark Mark;
  bool Counted = false;
  int Judged = 0;
  int NotAcceptable = 0;
};

// A line from mark to mark, by their places in the marks, with its properties.
struct MapLine {
  std::size_t From = 0;
  std::size_t To = 0;
  Json Properties;
};

// The marks on the map, each key once, and the lines between them.
class MapFeatures {
 public:
  explicit MapFeatures(MarkIndex& index) : m_index(index) {}

  // The place of the mark with key among the marks, adding it when the list gives it positive
  // MGA coordinates; nothing when it does not.
  std::optional<std::size_t> Place(std::int32_t key) {
    if (const auto placed = m_places.find(key); placed != m_places.end()) return placed->second;
    const std::optional<IndexedMark> mark = m_index.Find(key);
    const std::optional<std::size_t> row = m_index.FindRow(key);
    if (!mark || !row || !(mark->East > 0.0) || !(mark->North > 0.0)) return std::nullopt;
    m_marks.push_back({key, *row, *mark});
    return m_places[key] = m_marks.size() - 1;
  }
  MapMark& Mark(std::size_t place) { return m_marks[place]; }
  void AddLine(std::int32_t fromKey, std::int32_t toKey, Json properties) {
    const std::optional<std::size_t> from = Place(fromKey);
    const std::optional<std::size_t> to = Place(toKey);
    if (from && to) m_lines.push_back({*from, *to, std::move(properties)});
  }
  std::string Text(const std::string& name, const MapDefaults& defaults) const;

 private:
  MarkIndex& m_index;
  std::vector<MapMark> m_marks;
  std::vector<MapLine> m_lines;
  std::unordered_map<std::int32_t, std::size_t> m_places;  // key -> place among the marks
};

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") + 1 - first));
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The one value that every mark has in column (its cell, or fallback when the cell is empty),
// as canonical gives it (nothing for a value outside the rule, which names what it takes): throws
// MapRefused naming the first mark without a value or with one outside the rule, or listing the
// values with their counts when the marks have more than one.
template <typename Canonical>
std::string CommonValue(const std::vector<MapMark>& marks, const MarkList& list, int column,
                        const std::string& fallback, std::string_view rule, Canonical&& canonical) {
  const std::string title = kMarkColumnTitles[static_cast<std::size_t>(column)];
  const std::string what = Lower(title);
  std::vector<std::pair<std::string, int>> counts;
  for (const MapMark& mark : marks) {
    const std::string psm(list.Cell(mark.Row, kColPsmNo));
    std::string text = Trimmed(list.Cell(mark.Row, column));
    if (text.empty()) text = fallback;
    if (text.empty()) {
      throw MapRefused(psm + " has no " + what + ": fill its " + title + " cell or give --" + what);
    }
    const std::optional<std::string> value = canonical(text);
    if (!value) throw MapRefused(psm + ": " + what + " " + text + " is not " + std::string(rule));
    const auto found = std::find_if(counts.begin(), counts.end(),
                                    [&](const auto& count) { return count.first == *value; });
    if (found == counts.end()) {
      counts.emplace_back(*value, 1);
    } else {
      ++found->second;
    }
  }
  if (counts.size() == 1) return counts.front().first;
  std::string listed;
  for (const auto& [value, count] : counts) {
    listed += (listed.empty() ? "" : ", ") + value + " (" + std::to_string(count) + ")";
  }
  throw MapRefused("The marks are in more than one " + what + ": " + listed);
}

std::optional<std::string> MgaZone(const std::string& text) {
  const double value = NumericValue(text);
  const double whole = RoundHalfEven(value);
  if (!(std::abs(value - whole) < 1e-9) || whole < kFirstMgaZone || whole > kLastMgaZone) {
    return std::nullopt;
  }
  return FormatNumber(whole, kFormatCount);
}

std::optional<std::string> GdaDatum(const std::string& text) {
  const std::string datum = Upper(text);
  if (datum != "GDA2020" && datum != "GDA94") return std::nullopt;
  return datum;
}

// The longitude and latitude of an MGA place in zone, rounded as written.
Json LongitudeLatitude(const IndexedMark& mark, int zone) {
  static const Ellipsoid grs80 = EllipsoidOf(DistanceCalculationMode::MGA94_2020);
  static const GeographicLib::TransverseMercator projection(
      grs80.SemiMajorAxis, 1.0 / grs80.InverseFlattening, kCentralScaleFactor);
  double latitude = 0.0;
  double longitude = 0.0;
  projection.Reverse(6.0 * zone - 183.0, mark.East - kFalseEasting, mark.North - kFalseNorthing,
                     latitude, longitude);
  return Json::array(
      {RoundedJson(longitude, kFormatDegrees), RoundedJson(latitude, kFormatDegrees)});
}

std::string FeatureText(const Json& geometry, const Json& properties) {
  const Json feature = {{"type", "Feature"}, {"geometry", geometry}, {"properties", properties}};
  return feature.dump();
}

std::string MapFeatures::Text(const std::string& name, const MapDefaults& defaults) const {
  const MarkList& list = m_index.List();
  int zone = 0;
  std::string datum;
  if (!m_marks.empty()) {
    zone = static_cast<int>(NumericValue(CommonValue(
        m_marks, list, kColZone, Trimmed(defaults.Zone), "an MGA zone (46 to 59)", MgaZone)));
    const std::string datumDefault = Trimmed(defaults.Datum);
    datum = CommonValue(m_marks, list, kColDatum,
                        datumDefault.empty() ? std::string(kDefaultDatum) : datumDefault,
                        "GDA2020 or GDA94", GdaDatum);
  }
  std::vector<Json> places;
  std::vector<std::string> features;
  for (const MapMark& mark : m_marks) {
    places.push_back(LongitudeLatitude(mark.Mark, zone));
    Json properties = {{"kind", "mark"},
                       {"psm", list.Cell(mark.Row, kColPsmNo)},
                       {"key", mark.Key},
                       {"east_m", RoundedJson(mark.Mark.East, kFormatMetres)},
                       {"north_m", RoundedJson(mark.Mark.North, kFormatMetres)},
                       {"zone", zone},
                       {"datum", datum}};
    if (mark.Counted) {
      properties["joins_judged"] = mark.Judged;
      properties["not_acceptable"] = mark.NotAcceptable;
    }
    features.push_back(
        FeatureText({{"type", "Point"}, {"coordinates", places.back()}}, properties));
  }
  for (const MapLine& line : m_lines) {
    Json properties = {{"kind", "join"}};
    properties.update(line.Properties);
    const Json geometry = {{"type", "LineString"},
                           {"coordinates", Json::array({places[line.From], places[line.To]})}};
    features.push_back(FeatureText(geometry, properties));
  }
  std::string text =
      R"({"type":"FeatureCollection","name":)" + Json(name).dump() + R"(,"features":[)";
  for (std::size_t i = 0; i < features.size(); ++i) {
    text += (i == 0 ? "\n" : ",\n") + features[i];
  }
  return text + "\n]}\n";
}

}  // namespace

std::string CompareGeoJson(const Plan& plan, MarkIndex& index, const std::vector<JudgedJoin>& joins,
                           const std::string& planIdentifier, const MapDefaults& defaults) {
  MapFeatures features(index);
  std::vector<std::size_t> entries;
  for (const JudgedJoin& judged : joins) {
    entries.push_back(judged.FromEntry);
    entries.push_back(judged.ToEntry);
  }
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  for (const std::size_t entry : entries) {
    if (const std::optional<std::size_t> place = features.Place(plan.PlanPoints[entry].PointNo)) {
      features.Mark(*place).Counted = true;
    }
  }
  for (const JudgedJoin& judged : joins) {
    const std::int32_t from = plan.PlanPoints[judged.FromEntry].PointNo;
    const std::int32_t to = plan.PlanPoints[judged.ToEntry].PointNo;
    const JoinVerdict verdict = judged.Judgement.Verdict;
    for (const std::int32_t key : {from, to}) {
      const std::optional<std::size_t> place = features.Place(key);
      if (!place) continue;
      MapMark& mark = features.Mark(*place);
      mark.Judged += verdict == JoinVerdict::Acceptable || verdict == JoinVerdict::NotAcceptable;
      mark.NotAcceptable += verdict == JoinVerdict::NotAcceptable;
    }
    features.AddLine(from, to, JudgedJoinJson(plan, judged));
  }
  return features.Text(planIdentifier, defaults);
}

std::string JoinsGeoJson(const std::vector<JoinListRow>& rows, MarkIndex& index,
                         const MapDefaults& defaults) {
  MapFeatures features(index);
  for (const JoinListRow& row : rows) {
    const std::optional<std::int32_t> from = TryPsmKey(row[0]);
    const std::optional<std::int32_t> to = TryPsmKey(row[1]);
    if (from) features.Place(*from);
    if (to) features.Place(*to);
    if (from && to) features.AddLine(*from, *to, JoinRowJson(row));
  }
  return features.Text("joins", defaults);
}

}  // namespace modKestralMGA
