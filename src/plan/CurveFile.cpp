#include "plan/CurveFile.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/PathResolve.h"
#include "common/Rounding.h"
#include "common/TextFile.h"
#include "common/ValueList.h"
#include "geodesy/Angles.h"
#include "plan/PlanValues.h"

namespace modKestralMGA {

namespace {

constexpr std::size_t kCurveValueCount = 5;
constexpr double kNotGiven = 999.0;

// The key of an unordered pair of point numbers.
std::uint64_t PairKey(std::int32_t a, std::int32_t b) {
  if (b < a) std::swap(a, b);
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
         static_cast<std::uint32_t>(b);
}

[[noreturn]] void ChordOutOfRange(std::int32_t p1, std::int32_t p2) {
  throw KestralError("Chord out of range for the curve between points " +
                     FormatNumber(p1, kFormatCount) + " and " + FormatNumber(p2, kFormatCount));
}

}  // namespace

std::string CurveFileName(const std::string& planIdentifier) {
  return planIdentifier + ".cve";
}

CurveIndex::CurveIndex(std::string planIdentifier, MessageSink& sink)
    : m_planIdentifier(std::move(planIdentifier)), m_sink(&sink) {}

CurveIndex::CurveIndex(const std::vector<CurveRecord>& records) : m_loaded(true) {
  for (const CurveRecord& record : records) Add(record);
}

void CurveIndex::Add(const CurveRecord& record) {
  // The first record of a pair in file order is the one a scan from the start would meet.
  m_firstByPair.emplace(PairKey(record.FirstPoint, record.SecondPoint), m_records.size());
  m_records.push_back(record);
}

const CurveRecord* CurveIndex::Find(std::int32_t p1, std::int32_t p2) {
  if (!m_loaded) Load();
  const auto found = m_firstByPair.find(PairKey(p1, p2));
  return found == m_firstByPair.end() ? nullptr : &m_records[found->second];
}

void CurveIndex::Load() {
  m_loaded = true;
  const std::string fileName = CurveFileName(m_planIdentifier);
  try {
    const TextFile file = ReadTextFile(ResolvePath(fileName), fileName, "curve file");
    ValueLineSplitter splitter;
    LineSplitter lines(file.Bytes);
    std::string_view line;
    while (lines.Next(line)) {
      if (IsBlankLine(line)) continue;
      const std::int64_t lineNumber = lines.LineNumber();
      const std::vector<std::string_view>& values =
          splitter.Split(line, lineNumber, fileName, kCurveValueCount);
      if (splitter.Count() != kCurveValueCount) {
        m_sink->Message(ValueCountMessage(lineNumber, fileName, splitter.Count(), kCurveValueCount),
                        kGetChordDataErrorTitle, MessageIcon::Exclamation);
        continue;
      }
      CurveRecord record;
      record.FirstPoint = ReadPointNumber(values[0], lineNumber, fileName);
      record.SecondPoint = ReadPointNumber(values[1], lineNumber, fileName);
      record.TurnsLeft = TrimBlanksAndTabs(values[2]) == "L";
      record.BearingValue = ReadPlanNumber(values[3], lineNumber, fileName);
      record.DistanceValue = ReadPlanNumber(values[4], lineNumber, fileName);
      Add(record);
    }
  } catch (const FileError& error) {
    m_sink->Message(error.what(), kGetChordDataErrorTitle, MessageIcon::Exclamation);
  }
}

double ChordOfArc(double R, double arc) {
  const double halfAngle = arc / R / 2.0;
  return 2.0 * R * std::sin(halfAngle);
}

double ReverseBearing(double bearing) {
  double reverse = bearing + 180.0;
  if (reverse >= 360.0) reverse = reverse - 360.0;
  return reverse;
}

bool GetChordData(std::int32_t p1, std::int32_t p2, double R, double arc, CurveIndex& curves,
                  double& chordBearing, double& chordLength) {
  const CurveRecord* record = curves.Find(p1, p2);
  if (record == nullptr) return false;
  const bool reversed = !(record->FirstPoint == p1 && record->SecondPoint == p2);

  const double halfAngle = arc / R / 2.0;
  const double chord = ChordOfArc(R, arc);
  if (!std::isfinite(halfAngle) || !std::isfinite(chord)) ChordOutOfRange(p1, p2);

  double bearing = record->BearingValue;
  double length = record->DistanceValue;
  if (IsExactly(bearing, kNotGiven) && IsExactly(length, kNotGiven)) {
    chordBearing = bearing;
    chordLength = chord;
    return false;
  }
  if (!IsExactly(length, kNotGiven) || std::fabs(chord - length) <= 1.0) {
    if (IsExactly(bearing, kNotGiven)) {
      bearing = length;
      length = chord;
    }
  } else {
    // The bearing is the tangent's at the record's first point; the chord turns from it by half
    // the angle the arc subtends at the centre.
    const double tangent = WrittenDMSToRadians(bearing);
    bearing = RadiansToDMS(record->TurnsLeft ? tangent - halfAngle : tangent + halfAngle);
    length = chord;
    // A tangent bearing near the largest double has no angle.
    if (!std::isfinite(bearing)) ChordOutOfRange(p1, p2);
  }
  if (reversed) bearing = ReverseBearing(bearing);
  chordBearing = bearing;
  chordLength = length;
  return true;
}

}  // namespace modKestralMGA
