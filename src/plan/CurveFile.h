#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Seams.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The title of the curve file's messages.
inline constexpr const char* kGetChordDataErrorTitle = "Get Chord data error";

// The curve file of a plan as the program names it: the plan identifier followed by ".cve".
std::string CurveFileName(const std::string& planIdentifier);

// The records of a plan's curve file, read once per plan build when the build first needs a
// chord, and looked up by the pair of points they join. Reading hands its messages to the sink,
// each titled "Get Chord data error" with an exclamation icon, in line order:
// - "Line N of <file> has K values, 5 expected" for each non-blank line of other than five values
//   (the line is skipped);
// - the description of a failure that stops the reading (no such file, an unreadable file, a
//   value that is not a number, a number beyond the range of a double, a point number beyond
//   32 bits); the records before it are kept.
// The direction is "L" when the value, without surrounding blanks, is exactly the capital L.
class CurveIndex {
 public:
  CurveIndex(std::string planIdentifier, MessageSink& sink);
  // The index of records already read (the chords of a LandXML plan's arcs): no file, no message.
  explicit CurveIndex(const std::vector<CurveRecord>& records);

  // The first record in file order that joins p1 and p2 in either order; nullptr when there is
  // none. Reads the file at the first call.
  const CurveRecord* Find(std::int32_t p1, std::int32_t p2);

 private:
  void Load();
  void Add(const CurveRecord& record);

  std::string m_planIdentifier;
  MessageSink* m_sink = nullptr;
  bool m_loaded = false;
  std::vector<CurveRecord> m_records;
  std::unordered_map<std::uint64_t, std::size_t> m_firstByPair;
};

// The chord of an arc of radius R and length arc (metres): 2 R sin(arc / R / 2).
double ChordOfArc(double R, double arc);

// The ddd.mmss bearing of the opposite direction: bearing + 180, less 360 when that is 360 or
// more.
double ReverseBearing(double bearing);

// The chord of the curve from p1 to p2 (point numbers) with radius R and arc length arc (metres):
// its bearing from p1 towards p2 (ddd.mmss) in chordBearing and its length (metres) in
// chordLength. The chord length is 2 R sin(arc / R / 2). The record for the curve is the first
// in the curve file that joins p1 and p2 either way; with B its bearing value and D its distance
// value:
// - B and D both 999: chordLength is the computed chord, chordBearing 999, and the result false
//   (the chord has no bearing);
// - D not 999, or within 1 m of the computed chord: the record gives the chord as it stands,
//   except that B = 999 takes D as the bearing and the computed chord as the length;
// - otherwise (D = 999) B is the tangent's bearing at the record's first point: the chord's
//   bearing is B less half the angle at the centre for a left-hand curve, plus it for a
//   right-hand one, to the whole second; the length is the computed chord.
// A record listed from p2 to p1 gives the reverse of that bearing. Returns true when the outputs
// hold a usable chord; false, outputs untouched, when the file has no record for the curve or
// could not be read. Throws KestralError when the chord is beyond the range of a double.
bool GetChordData(std::int32_t p1, std::int32_t p2, double R, double arc, CurveIndex& curves,
                  double& chordBearing, double& chordLength);

}  // namespace modKestralMGA
