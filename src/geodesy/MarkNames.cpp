#include "geodesy/MarkNames.h"

#include "common/NumericValue.h"

namespace modKestralMGA {

bool HasNumericKey(std::string_view psmNumber) {
  std::string text(psmNumber);
  if (text.find('/') != std::string::npos) {
    text = text.substr(0, 4) + (text.size() > 5 ? text.substr(5) : std::string());
  }
  if (text.find_first_not_of(" \t") == std::string::npos) return false;
  return ReadStrictNumber(text).Status == NumberStatus::Ok;
}

std::string MarkNameMatchText(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  for (const char c : name) {
    if (c == ' ' || c == '\t') continue;
    text += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return text;
}

}  // namespace modKestralMGA
