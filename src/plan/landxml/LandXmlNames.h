#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "geodesy/MarkNames.h"
#include "plan/landxml/XmlDocument.h"

namespace modKestralMGA::landxml {

// The label of the Property in which the program's writer keeps a curve file's chord length.
inline constexpr const char* kChordDistanceLabel = "chordDistance";

// Whether a monument's name reads as a state's mark name: letters, blanks if any, then digits
// (slashes allowed among them): "PM 12345", "SSM 1234", "PSM6628/1234".
bool IsStateMarkName(std::string_view name);

// The PSM key of a monument whose name the key rule turns into a number above 4600 (6628/1234,
// 66281234); nothing otherwise.
std::optional<std::int32_t> MonumentKey(std::string_view name);

// The plan point number of every CgPoint of a LandXML file, by name: the key of a PSM monument
// standing on it, the key of plan.Names for a named mark, the point's own name when that is a
// whole 32-bit number, else -1, -2, ... (the first not taken) in file order.
class PointNumbers {
 public:
  // Throws FileError naming the element and its line for a CgPoint defined twice, a Monument on a
  // point that CgPoints do not define, and two CgPoints that would carry the same number.
  PointNumbers(xmlNode* root, const std::string& file);

  // The number of the CgPoint named name; throws FileError "<referrer> at line N of <file> refers
  // to point "<name>", which CgPoints do not define" when there is none.
  std::int32_t NumberOf(const std::string& name, const xmlNode* referrer) const;
  const MarkNameTable& Names() const { return m_names; }

 private:
  std::unordered_map<std::string, std::int32_t> m_numbers;
  MarkNameTable m_names;
  std::string m_file;
};

}  // namespace modKestralMGA::landxml
