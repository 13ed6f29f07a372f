#include "BenchData.h"

#include <algorithm>
#include <map>
#include <utility>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

constexpr double kRepeatedShare = 0.01;
// One mark in twenty lies in a city of 10 km by 10 km (a hundred marks a square kilometre), where
// the compared plans are: their PSMs are a few hundred metres to a few kilometres apart.
constexpr std::size_t kCityEvery = 20;
constexpr double kCityEast = 331000.0;
constexpr double kCityNorth = 6250000.0;
constexpr double kCityHalfWidth = 5000.0;
constexpr std::size_t kComparisonOtherPoints = 4600;
constexpr std::size_t kComparisonParts = 5;
constexpr std::size_t kDisturbedEvery = 50;

}  // namespace

std::vector<GeneratedMark> StatewideMarks(std::size_t count) {
  std::vector<GeneratedMark> marks = GenerateMarks(count, kMarksSeed);
  SplitMix64 random(kMarksSeed + 3);
  for (std::size_t i = 0; i < marks.size(); i += kCityEvery) {
    marks[i].East = kCityEast + random.Uniform(-kCityHalfWidth, kCityHalfWidth);
    marks[i].North = kCityNorth + random.Uniform(-kCityHalfWidth, kCityHalfWidth);
    // The city's marks were adjusted together: one zone, one datum, so that a plan among them
    // is compared rather than refused for mixed marks.
    marks[i].Zone = 56;
    marks[i].Datum = "GDA2020";
  }
  return WithRepeatedMarks(std::move(marks), kRepeatedShare, kMarksSeed + 7);
}

const StatewideList& Statewide() {
  static const StatewideList kList = [] {
    StatewideList made;
    made.Marks = StatewideMarks(kStatewideMarkCount);
    made.List = ToMarkList(made.Marks);
    made.AverageHeight = FormatNumber(AverageHeight(made.List), kFormatMetres);
    MarkRowsWithoutRepeats(made.List).Finish();  // as Open leaves the list
    return made;
  }();
  return kList;
}

const std::string& MarkDetailsText(std::size_t count) {
  static std::map<std::size_t, std::string> texts;
  auto [at, added] = texts.try_emplace(count);
  if (added) at->second = ToMarkDetailsCsv(StatewideMarks(count), /*titleLine=*/true);
  return at->second;
}

const std::string& DelimitedText(std::size_t count) {
  static std::map<std::size_t, std::string> texts;
  auto [at, added] = texts.try_emplace(count);
  if (added) at->second = ToDelimitedText(StatewideMarks(count));
  return at->second;
}

std::string AverageHeightOf(const std::vector<GeneratedMark>& marks) {
  return FormatNumber(AverageHeight(ToMarkList(marks)), kFormatMetres);
}

PlanShape TraverseShape(std::size_t lines) {
  PlanShape shape;
  shape.OtherPoints = std::min<std::size_t>(4600, lines / 2);
  shape.PsmPoints = lines * 98 / 100 + 1 - shape.OtherPoints;
  shape.ShareOfCurves = 0.102;
  shape.DisconnectedParts = 3;
  return shape;
}

PlanShape ChainFromFarEndShape(std::size_t lines) {
  PlanShape shape;
  shape.OtherPoints = std::min<std::size_t>(4600, lines / 2);
  shape.PsmPoints = lines + 1 - shape.OtherPoints;
  shape.ShareOf999Lines = 0.0;
  shape.ShareOfCurves = 0.0;
  shape.LegsFromFarEnd = true;
  return shape;
}

std::vector<GeneratedMark> ComparisonPsms(const std::vector<GeneratedMark>& marks,
                                          std::size_t psms) {
  // Mark 0 is in the city; the plan's PSMs are the city's marks nearest to it, in its zone and on
  // its datum (a mark of a neighbouring sheet in another zone would get the plan refused).
  std::vector<GeneratedMark> city;
  for (const GeneratedMark& mark : marks) {
    if (mark.Zone == marks[0].Zone && mark.Datum == marks[0].Datum) city.push_back(mark);
  }
  return NearbyMarks(city, 0, psms);
}

GeneratedPlan ComparisonPlan(const std::vector<GeneratedMark>& marks, std::size_t psms) {
  PlanShape shape;
  shape.Psms = ComparisonPsms(marks, psms);
  // One PSM in fifty has moved 0.1 m since its coordinates were listed: its joins are not
  // acceptable.
  for (std::size_t i = kDisturbedEvery / 2; i < shape.Psms.size(); i += kDisturbedEvery) {
    shape.Psms[i].East += 0.1;
  }
  shape.PsmPoints = shape.Psms.size();
  shape.OtherPoints = kComparisonOtherPoints;
  shape.DisconnectedParts = kComparisonParts;
  shape.ShareOfCurves = 0.05;
  shape.ShareOf999Lines = 0.02;
  shape.AverageHeight = NumericValue(AverageHeightOf(marks));
  // Per leg of the traverse: its line, the share of 999 lines and of curves without a chord
  // (followed by a straight line); lines measured again make up the rest of the plan's lines.
  const double legs =
      static_cast<double>(shape.PsmPoints + shape.OtherPoints - kComparisonParts * 4 - 1);
  const double perLeg = 1.0 + shape.ShareOf999Lines + shape.ShareOfCurves * 0.05;
  shape.ExtraLinesPerLeg = std::max(
      0.0, static_cast<double>(kComparisonPlanLines - kComparisonParts * 3) / legs - perLeg);
  return GeneratePlan(shape, kPlanSeed);
}

GeneratedPlan OneLinePlan(const std::vector<GeneratedMark>& marks) {
  PlanShape shape;
  shape.Psms = ComparisonPsms(marks, 2);
  shape.PsmPoints = 2;
  shape.OtherPoints = 0;
  shape.ShareOf999Lines = 0.0;
  shape.ShareOfCurves = 0.0;
  return GeneratePlan(shape, kPlanSeed);
}

}  // namespace modKestralMGA
