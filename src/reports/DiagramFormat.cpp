#include "reports/DiagramFormat.h"

#include <algorithm>
#include <cctype>

namespace modKestralMGA {

std::optional<DiagramFormat> DiagramFormatOf(const std::string& name) {
  if (name.size() < 4) return std::nullopt;
  std::string end = name.substr(name.size() - 4);
  std::transform(end.begin(), end.end(), end.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (end == ".svg") return DiagramFormat::Svg;
  if (end == ".png") return DiagramFormat::Png;
  return std::nullopt;
}

}  // namespace modKestralMGA
