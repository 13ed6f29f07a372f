#include "DataGenerator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "common/NumberFormat.h"
#include "geodesy/Angles.h"
#include "geodesy/Ellipsoid.h"
#include "geodesy/Keys.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {

namespace {

// Map sheets are four-digit numbers; a multiplier coprime with 9000 walks through all of
// 1000..9999 without repeating.
constexpr std::int64_t kSheetCount = 9000;
constexpr std::int64_t kSheetStride = 7919;
constexpr std::size_t kMarksPerSheet = 25;
constexpr std::int64_t kLargestMarkNumber = 9999;
constexpr double kClusterRadius = 20000.0;  // metres around a sheet's centre

constexpr int kLastPlanPointNumber = 4600;

std::string FourDigits(std::int64_t value) {
  std::string text = FormatNumber(static_cast<double>(value), kFormatCount);
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  return text;
}

const char* Pick(SplitMix64& random, const std::vector<const char*>& choices) {
  return choices[static_cast<std::size_t>(
      random.Between(0, static_cast<std::int64_t>(choices.size()) - 1))];
}

// One point of a traverse.
struct Station {
  std::int32_t Number = 0;
  double East = 0.0;
  double North = 0.0;
};

// The ddd.mmss text of the grid bearing from one station to another.
std::string BearingText(const Station& from, const Station& to) {
  const double dE = to.East - from.East;
  const double dN = to.North - from.North;
  return FormatNumber(RadiansToDMS(GridBearing(dE, dN)), kFormatBearing);
}

double Length(const Station& from, const Station& to) {
  return std::hypot(to.East - from.East, to.North - from.North);
}

void AppendLine(std::string& text, std::initializer_list<std::string> values) {
  bool first = true;
  for (const std::string& value : values) {
    if (!first) text += ',';
    text += value;
    first = false;
  }
  text += "\r\n";
}

std::string Key(std::int32_t number) {
  return FormatNumber(number, kFormatKey);
}

constexpr std::size_t kPointsPerPart = 4;  // points of a disconnected part (three lines)

// The height factor's coefficient, as the MGA join uses it: 0.157 parts per million a metre.
constexpr double kHeightCoefficient = 0.157e-06;

// A station numbered `number` a short random step from `from`.
Station Near(const Station& from, std::int32_t number, SplitMix64& random) {
  const double step = random.Uniform(20.0, 250.0);
  const double direction = random.Uniform(0.0, 2.0 * Pi());
  return {number, from.East + step * std::sin(direction), from.North + step * std::cos(direction)};
}

// The ground length of the grid line between two stations at the survey's average height: the
// grid length divided by the combined scale factor at the line's mid-point (GRS80).
double GroundLength(const Station& from, const Station& to, double averageHeight) {
  constexpr DistanceCalculationMode kMode = DistanceCalculationMode::MGA94_2020;
  const double latitude =
      GridToLatitude((from.East + to.East) / 2.0, (from.North + to.North) / 2.0, kMode);
  const double csf = (1.0 - averageHeight * kHeightCoefficient) *
                     LineScaleFactor(from.East, to.East, latitude, kMode);
  return Length(from, to) / csf;
}

void AppendStraightLine(const Station& from, const Station& to, double averageHeight,
                        GeneratedPlan& plan) {
  AppendLine(plan.Lines, {Key(from.Number), Key(to.Number), BearingText(from, to),
                          FormatNumber(GroundLength(from, to, averageHeight), kFormatMetres)});
  ++plan.LineCount;
}

// The curve-file forms of a curve record.
enum class CurveForm {
  Chord,                // chord bearing, chord length
  Tangent,              // the tangent's bearing at the first point, length 999
  ChordBearingInFifth,  // bearing 999, the chord's bearing as the fifth value
  NoChord,              // 999, 999: the record gives no chord
};

CurveForm PickCurveForm(SplitMix64& random) {
  const double u = random.Uniform(0.0, 1.0);
  if (u < 0.55) return CurveForm::Chord;
  if (u < 0.75) return CurveForm::Tangent;
  if (u < 0.95) return CurveForm::ChordBearingInFifth;
  return CurveForm::NoChord;
}

// A traverse leg coded as a curve: the line (bearing 1000 + radius, the arc as distance) and its
// record in the curve file. A record without a chord is followed by a straight line of the same
// leg, which places the point the curve cannot.
void AppendCurve(const Station& from, const Station& to, double averageHeight, SplitMix64& random,
                 GeneratedPlan& plan) {
  const double chord = GroundLength(from, to, averageHeight);
  const double radius = chord * random.Uniform(0.6, 5.0);
  const double halfAngle = std::asin(chord / (2.0 * radius));
  AppendLine(plan.Lines,
             {Key(from.Number), Key(to.Number), FormatNumber(1000.0 + radius, kFormatMetres),
              FormatNumber(2.0 * radius * halfAngle, kFormatMetres)});
  ++plan.LineCount;

  const bool recordReversed = random.Chance(0.5);
  const Station& first = recordReversed ? to : from;
  const Station& second = recordReversed ? from : to;
  const bool turnsLeft = random.Chance(0.5);
  CurveForm form = PickCurveForm(random);
  // A length value of 999 within a metre of the chord would be read as the chord's length.
  if (form == CurveForm::Tangent && std::fabs(chord - 999.0) <= 2.0) form = CurveForm::Chord;
  std::string bearing = BearingText(first, second);
  std::string length = FormatNumber(chord, kFormatMetres);
  switch (form) {
    case CurveForm::Chord:
      break;
    case CurveForm::Tangent: {
      // The chord turns from the tangent by half the angle at the centre: to the left of the
      // tangent for a left-hand curve.
      const double chordAngle = GridBearing(second.East - first.East, second.North - first.North);
      const double tangent = turnsLeft ? chordAngle + halfAngle : chordAngle - halfAngle;
      bearing = FormatNumber(RadiansToDMS(tangent), kFormatBearing);
      length = "999";
      break;
    }
    case CurveForm::ChordBearingInFifth:
      length = bearing;
      bearing = "999";
      break;
    case CurveForm::NoChord:
      bearing = "999";
      length = "999";
      break;
  }
  AppendLine(plan.Curves,
             {Key(first.Number), Key(second.Number), turnsLeft ? "L" : "R", bearing, length});
  if (form == CurveForm::NoChord) AppendStraightLine(from, to, averageHeight, plan);
}

// The PSM stations of a plan: the given marks first, then made-up keys 6628/1001 onwards placed
// by a random walk with room for the other points of each gap.
std::vector<Station> PsmStations(const PlanShape& shape, std::size_t othersPerGap,
                                 SplitMix64& random) {
  std::vector<Station> stations;
  for (std::size_t i = 0; i < shape.PsmPoints; ++i) {
    Station station;
    if (i < shape.Psms.size()) {
      const GeneratedMark& mark = shape.Psms[i];
      station = {PsmKey(mark.PsmNumber()), mark.East, mark.North};
    } else {
      const std::int64_t made = static_cast<std::int64_t>(i - std::min(i, shape.Psms.size()));
      station.Number = static_cast<std::int32_t>((6628 + made / 8999) * 10000 + 1001 + made % 8999);
      if (stations.empty()) {
        station.East = random.Uniform(250000.0, 750000.0);
        station.North = random.Uniform(5600000.0, 8800000.0);
      } else {
        const double step = static_cast<double>(othersPerGap + 1) * random.Uniform(60.0, 200.0);
        const double direction = random.Uniform(0.0, 2.0 * Pi());
        station.East = stations.back().East + step * std::sin(direction);
        station.North = stations.back().North + step * std::cos(direction);
      }
    }
    stations.push_back(station);
  }
  return stations;
}

}  // namespace

std::uint64_t SplitMix64::Next() {
  std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

std::int64_t SplitMix64::Between(std::int64_t low, std::int64_t high) {
  const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<std::int64_t>(Next() % span);
}

double SplitMix64::Uniform(double low, double high) {
  // The top 53 bits as a fraction in [0, 1).
  const double fraction = static_cast<double>(Next() >> 11) * 0x1.0p-53;
  return low + (high - low) * fraction;
}

std::vector<GeneratedMark> GenerateMarks(std::size_t count, std::uint64_t seed) {
  SplitMix64 random(seed);
  const std::size_t perSheet =
      std::max(kMarksPerSheet, (count + static_cast<std::size_t>(kSheetCount) - 1) / kSheetCount);
  const std::int64_t numberStride =
      std::max<std::int64_t>(1, kLargestMarkNumber / static_cast<std::int64_t>(perSheet));
  std::vector<GeneratedMark> marks;
  marks.reserve(count);
  double centreEast = 0.0;
  double centreNorth = 0.0;
  int zone = 54;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t sheet = i / perSheet;
    const std::size_t onSheet = i % perSheet;
    if (onSheet == 0) {
      centreEast = random.Uniform(200000.0 + kClusterRadius, 800000.0 - kClusterRadius);
      centreNorth = random.Uniform(5500000.0 + kClusterRadius, 8900000.0 - kClusterRadius);
      zone = static_cast<int>(random.Between(49, 56));
    }
    GeneratedMark mark;
    mark.Sheet = FourDigits(1000 + static_cast<std::int64_t>(sheet) * kSheetStride % kSheetCount);
    mark.Number = FourDigits(static_cast<std::int64_t>(onSheet) * numberStride + 1 +
                             random.Between(0, numberStride - 1));
    mark.East = centreEast + random.Uniform(-kClusterRadius, kClusterRadius);
    mark.North = centreNorth + random.Uniform(-kClusterRadius, kClusterRadius);
    mark.Height = random.Chance(0.1) ? 0.0 : random.Uniform(1.0, 1500.0);
    mark.Order = static_cast<int>(random.Between(1, 6));
    mark.Zone = zone;
    mark.Datum = random.Chance(0.8) ? "GDA2020" : "GDA94";
    mark.Status = Pick(random, {"Good", "Good", "Good", "Disturbed", "Not found"});
    marks.push_back(std::move(mark));
  }
  return marks;
}

std::vector<GeneratedMark> NearbyMarks(const std::vector<GeneratedMark>& marks, std::size_t around,
                                       std::size_t count) {
  const GeneratedMark& centre = marks[around];
  const auto distanceSquared = [](const GeneratedMark& a, const GeneratedMark& b) {
    const double dE = a.East - b.East;
    const double dN = a.North - b.North;
    return dE * dE + dN * dN;
  };
  std::vector<std::size_t> byDistance(marks.size());
  for (std::size_t i = 0; i < byDistance.size(); ++i) byDistance[i] = i;
  std::stable_sort(byDistance.begin(), byDistance.end(), [&](std::size_t a, std::size_t b) {
    return distanceSquared(marks[a], centre) < distanceSquared(marks[b], centre);
  });
  // The nearest marks, each PSM number once.
  std::vector<std::size_t> order;
  std::unordered_set<std::string> taken;
  for (std::size_t i = 0; i < byDistance.size() && order.size() < count; ++i) {
    if (taken.insert(marks[byDistance[i]].PsmNumber()).second) order.push_back(byDistance[i]);
  }
  count = order.size();
  // The walk from the centre, always to the nearest mark not yet visited.
  std::vector<GeneratedMark> walk;
  std::vector<bool> visited(count, false);
  std::size_t at = 0;
  for (std::size_t step = 0; step < count; ++step) {
    visited[at] = true;
    walk.push_back(marks[order[at]]);
    std::size_t nearest = at;
    double best = -1.0;
    for (std::size_t j = 0; j < count; ++j) {
      if (visited[j]) continue;
      const double d = distanceSquared(marks[order[at]], marks[order[j]]);
      if (best < 0.0 || d < best) {
        best = d;
        nearest = j;
      }
    }
    at = nearest;
  }
  return walk;
}

std::vector<GeneratedMark> WithRepeatedMarks(std::vector<GeneratedMark> marks, double share,
                                             std::uint64_t seed) {
  SplitMix64 random(seed);
  for (std::size_t i = 1; i < marks.size(); ++i) {
    if (random.Chance(share)) {
      marks[i] =
          marks[static_cast<std::size_t>(random.Between(0, static_cast<std::int64_t>(i) - 1))];
    }
  }
  return marks;
}

MarkList ToMarkList(const std::vector<GeneratedMark>& marks) {
  MarkList list;
  list.Reserve(marks.size());
  for (const GeneratedMark& mark : marks) {
    list.AppendRow({mark.PsmNumber(), FormatNumber(mark.East, kFormatMetres),
                    FormatNumber(mark.North, kFormatMetres),
                    mark.Height > 0.0 ? FormatNumber(mark.Height, kFormatMetres) : std::string(),
                    FormatNumber(mark.Order, kFormatCount), FormatNumber(mark.Zone, kFormatCount),
                    mark.Datum, mark.Status});
  }
  return list;
}

std::string ToDelimitedText(const std::vector<GeneratedMark>& marks) {
  std::string text = "Point, East, North, Height, Zone\r\n";
  text.reserve(marks.size() * 52);
  for (const GeneratedMark& mark : marks) {
    text += mark.PsmNumber();
    text += ", ";
    text += FormatNumber(mark.East, kFormatMetres);
    text += ", ";
    text += FormatNumber(mark.North, kFormatMetres);
    text += ", ";
    text += FormatNumber(mark.Height, kFormatMetres);
    text += ", ";
    text += FormatNumber(mark.Zone, kFormatCount);
    text += "\r\n";
  }
  return text;
}

std::string ToMarkDetailsCsv(const std::vector<GeneratedMark>& marks, bool titleLine) {
  constexpr std::size_t kFields = 43;
  auto line = [](std::vector<std::pair<std::size_t, std::string>> fields) {
    std::vector<std::string> values(kFields);
    for (auto& [field, value] : fields) values[field - 1] = std::move(value);
    std::string text;
    for (std::size_t i = 0; i < kFields; ++i) {
      if (i > 0) text += ',';
      text += values[i];
    }
    return text + "\r\n";
  };
  std::string text;
  if (titleLine) {
    text += line({{1, "Map"},
                  {2, "Number"},
                  {6, "Zone"},
                  {7, "Easting"},
                  {8, "Northing"},
                  {12, "Order"},
                  {14, "Datum"},
                  {22, "Height"},
                  {33, "Status"}});
  }
  for (const GeneratedMark& mark : marks) {
    text += line({{1, mark.Sheet},
                  {2, mark.Number},
                  {6, FormatNumber(mark.Zone, kFormatCount)},
                  {7, FormatNumber(mark.East, kFormatMetres)},
                  {8, FormatNumber(mark.North, kFormatMetres)},
                  {12, FormatNumber(mark.Order, kFormatCount)},
                  {14, mark.Datum},
                  {22, FormatNumber(mark.Height, kFormatMetres)},
                  {33, mark.Status}});
  }
  return text;
}

GeneratedPlan GeneratePlan(const PlanShape& shape, std::uint64_t seed) {
  if (shape.OtherPoints > static_cast<std::size_t>(kLastPlanPointNumber)) {
    throw std::invalid_argument("a plan holds at most 4600 points that are not PSMs");
  }
  SplitMix64 random(seed);
  const std::size_t partPoints =
      std::min(shape.DisconnectedParts * kPointsPerPart, shape.OtherPoints);
  const std::size_t traversePoints = shape.OtherPoints - partPoints;
  const std::size_t gaps = shape.PsmPoints > 1 ? shape.PsmPoints - 1 : 1;
  const std::size_t othersPerGap = traversePoints / gaps;
  const std::vector<Station> psms = PsmStations(shape, othersPerGap, random);

  // The other points take the numbers 1 to OtherPoints in shuffled order.
  std::vector<std::int32_t> numbers(shape.OtherPoints);
  for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<std::int32_t>(i + 1);
  for (std::size_t i = numbers.size(); i > 1; --i) {
    std::swap(
        numbers[i - 1],
        numbers[static_cast<std::size_t>(random.Between(0, static_cast<std::int64_t>(i) - 1))]);
  }

  // The traverse: each gap between two PSMs holds its share of the other points, near the
  // straight line between them; points left over (or all, with fewer than two PSMs) follow the
  // last station by a random walk.
  std::vector<Station> traverse;
  std::size_t nextOther = 0;
  for (std::size_t p = 0; p < psms.size(); ++p) {
    traverse.push_back(psms[p]);
    if (p + 1 == psms.size()) break;
    const Station& a = psms[p];
    const Station& b = psms[p + 1];
    const std::size_t inGap = othersPerGap + (p < traversePoints % gaps ? 1 : 0);
    const double legLength = Length(a, b) / static_cast<double>(inGap + 1);
    for (std::size_t j = 1; j <= inGap; ++j) {
      const double along = static_cast<double>(j) / static_cast<double>(inGap + 1);
      const double across = random.Uniform(-0.15, 0.15) * legLength / std::max(Length(a, b), 1.0);
      traverse.push_back({numbers[nextOther++],
                          a.East + (b.East - a.East) * along + (b.North - a.North) * across,
                          a.North + (b.North - a.North) * along - (b.East - a.East) * across});
    }
  }
  while (nextOther < traversePoints) {
    Station station{numbers[nextOther++], random.Uniform(250000.0, 750000.0),
                    random.Uniform(5600000.0, 8800000.0)};
    if (!traverse.empty()) station = Near(traverse.back(), station.Number, random);
    traverse.push_back(station);
  }

  GeneratedPlan plan;
  for (const Station& psm : psms) plan.PsmKeys.push_back(psm.Number);
  const std::size_t legs = traverse.empty() ? 0 : traverse.size() - 1;
  for (std::size_t leg = 0; leg < legs; ++leg) {
    const std::size_t i = shape.LegsFromFarEnd && leg > 0 ? legs - leg : leg;
    // Some legs are written from their far end, as plans often list them.
    const bool reversed = random.Chance(0.3);
    const Station& from = reversed ? traverse[i + 1] : traverse[i];
    const Station& to = reversed ? traverse[i] : traverse[i + 1];
    if (Length(from, to) > 0.0 && random.Chance(shape.ShareOfCurves)) {
      AppendCurve(from, to, shape.AverageHeight, random, plan);
    } else {
      AppendStraightLine(from, to, shape.AverageHeight, plan);
    }
    const double extra = shape.ExtraLinesPerLeg;
    const auto extraLines =
        static_cast<std::size_t>(extra) + (random.Chance(extra - std::floor(extra)) ? 1 : 0);
    for (std::size_t e = 0; e < extraLines && i >= 1; ++e) {
      const auto back = static_cast<std::size_t>(
          random.Between(1, std::min<std::int64_t>(4, static_cast<std::int64_t>(i))));
      AppendStraightLine(traverse[i + 1], traverse[i - back], shape.AverageHeight, plan);
    }
    if (i > 0 && random.Chance(shape.ShareOf999Lines)) {
      const Station& earlier =
          traverse[static_cast<std::size_t>(random.Between(0, static_cast<std::int64_t>(i) - 1))];
      AppendLine(plan.Lines, {Key(traverse[i + 1].Number), Key(earlier.Number), "999",
                              FormatNumber(Length(traverse[i + 1], earlier), kFormatMetres)});
      ++plan.LineCount;
    }
  }

  // The disconnected parts: short chains somewhere near the traverse's start, joined to nothing.
  const Station origin = traverse.empty() ? Station{} : traverse.front();
  while (nextOther + kPointsPerPart <= numbers.size()) {
    Station previous = Near(origin, numbers[nextOther++], random);
    for (std::size_t k = 1; k < kPointsPerPart; ++k) {
      const Station next = Near(previous, numbers[nextOther++], random);
      AppendStraightLine(previous, next, shape.AverageHeight, plan);
      previous = next;
    }
  }
  return plan;
}

}  // namespace modKestralMGA
