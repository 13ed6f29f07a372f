#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "marks/MarkList.h"

namespace modKestralMGA {

// A small deterministic pseudo-random generator (splitmix64). The standard distributions are
// avoided on purpose: their output differs between library versions, and the benchmarks must
// see the same data everywhere.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}
  std::uint64_t Next();
  // A whole number from low to high, both included (low <= high).
  std::int64_t Between(std::int64_t low, std::int64_t high);
  // A real number from low up to (not including) high.
  double Uniform(double low, double high);
  // True with probability p.
  bool Chance(double p) { return Uniform(0.0, 1.0) < p; }

 private:
  std::uint64_t m_state;
};

// One made-up Permanent Survey Mark with the values a Mark Details file carries.
struct GeneratedMark {
  std::string Sheet;   // four digits, the map sheet: "6628"
  std::string Number;  // four digits: "1234"
  double East = 0.0;   // MGA metres
  double North = 0.0;
  double Height = 0.0;  // metres; 0 when the mark has no height
  int Order = 1;        // 1 to 6
  int Zone = 54;        // 49 to 56
  std::string Datum;
  std::string Status;
  // The PSM number as the mark list shows it: "6628/1234".
  std::string PsmNumber() const { return Sheet + "/" + Number; }
};

// count marks with distinct PSM numbers, in clusters of nearby marks on one map sheet, spread
// over realistic MGA coordinates: eastings 200,000 to 800,000, northings 5,500,000 to
// 8,900,000. The same count and seed always give the same marks.
std::vector<GeneratedMark> GenerateMarks(std::size_t count, std::uint64_t seed);

// count marks of the list nearest to marks[around] (itself included, each PSM number once), in
// the order of a walk from it that always goes on to the nearest mark not yet visited: the PSMs
// of one plan.
std::vector<GeneratedMark> NearbyMarks(const std::vector<GeneratedMark>& marks, std::size_t around,
                                       std::size_t count);

// The marks with a share of them (0 to 1) replaced by copies of earlier marks, as exports that
// list a mark twice have: the same count, fewer distinct PSM numbers.
std::vector<GeneratedMark> WithRepeatedMarks(std::vector<GeneratedMark> marks, double share,
                                             std::uint64_t seed);

// The marks as mark list rows: coordinates and heights with three decimals, the Height cell
// empty for a mark without height.
MarkList ToMarkList(const std::vector<GeneratedMark>& marks);

// The marks as the text of a Mark Details file: one line of 43 fields (42 commas) a mark, lines
// ended by CR LF; fields 1, 2, 6, 7, 8, 12, 14, 22 and 33 hold sheet, number, zone, easting,
// northing, order, datum, height and status. With titleLine, a first line of column titles
// starting with "Map".
std::string ToMarkDetailsCsv(const std::vector<GeneratedMark>& marks, bool titleLine = false);

// The marks as a delimited text file of coordinates, one point a line, lines ended by CR LF:
// "6628/1234, 280000.123, 6130000.456, 12.345, 54" (PSM number, easting, northing, height, zone;
// coordinates and height with three decimals, 0.000 for a mark without height), after a title
// line "Point, East, North, Height, Zone".
std::string ToDelimitedText(const std::vector<GeneratedMark>& marks);

// What a generated plan looks like.
struct PlanShape {
  std::size_t OtherPoints = 50;  // points numbered 1 to 4600 (at most 4600 of them)
  std::size_t PsmPoints = 4;     // points numbered by PSM keys
  // Marks whose keys and coordinates the PSM points take, in traverse order; when there are
  // fewer than PsmPoints, the rest are keys 6628/1001 onwards placed by a random walk.
  std::vector<GeneratedMark> Psms;
  double ShareOf999Lines = 0.02;  // extra lines with bearing 999, per traverse leg
  double ShareOfCurves = 0.05;    // traverse legs coded as curves
  // The traverse's first leg first, then the others from its far end back: the worst order for
  // placing points pass by pass (one point a pass).
  bool LegsFromFarEnd = false;
  // The survey's average height (metres): legs are written at ground length, the grid length
  // divided by the combined scale factor of the leg at this height (GRS80), so that a plan's
  // joins agree with the MGA joins of its marks as a real plan's do.
  double AverageHeight = 0.0;
  // Short chains of three lines each, between points of their own taken from the other points,
  // that no line joins to the traverse: their points stay unsolved.
  std::size_t DisconnectedParts = 0;
  // Straight lines that measure again from a leg's end to a station two to five back, per leg
  // (on average): the redundant observations that give a plan several lines a point.
  double ExtraLinesPerLeg = 0.0;
};

// The files of a generated plan.
struct GeneratedPlan {
  std::string Lines;   // the lines file: "from,to,bearing,distance" lines, CR LF
  std::string Curves;  // the curve file: "p1,p2,L|R,chord bearing,chord" lines, CR LF
  std::vector<std::int32_t> PsmKeys;  // the plan's PSM points, in traverse order
  std::size_t LineCount = 0;
};

// A connected traverse through the PSM points in order, with the other points between them:
// bearings in ddd.mmss, ground distances in metres with three decimals, some legs written from
// their far end, some coded as curves (bearing 1000 + radius, the arc as distance) with a record
// in the curve file (some listing the points the other way round) in each of the file's forms:
// chord bearing and chord length; the tangent's bearing at the record's first point with length
// 999; bearing 999 with the chord's bearing as the fifth value; and 999, 999 (no chord: a
// straight line of the same leg follows the curve, so that the traverse goes on). After a leg,
// some lines of bearing 999 to a station earlier in the traverse and the extra lines measured
// again; the disconnected parts at the end. Throws std::invalid_argument for more than 4600 other
// points.
GeneratedPlan GeneratePlan(const PlanShape& shape, std::uint64_t seed);

}  // namespace modKestralMGA
