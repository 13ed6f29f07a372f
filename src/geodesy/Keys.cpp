#include "geodesy/Keys.h"

#include <string>

#include "common/Errors.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"

namespace modKestralMGA {

namespace {

// The first four bytes of a PSM number followed by its bytes from the sixth on: the fifth, the
// slash of 6628/1234, is dropped whatever it is.
std::string WithoutFifthCharacter(std::string_view psmNumber) {
  std::string text(psmNumber.substr(0, 4));
  if (psmNumber.size() > 5) text.append(psmNumber.substr(5));
  return text;
}

// The key text of a PSM number: without its fifth character when it holds a slash anywhere,
// otherwise the whole number.
std::string PsmKeyText(std::string_view psmNumber) {
  if (psmNumber.find('/') == std::string_view::npos) return std::string(psmNumber);
  return WithoutFifthCharacter(psmNumber);
}

std::int32_t KeyOrThrow(std::string_view keyText, std::string_view psmNumber) {
  const std::optional<std::int32_t> key = ToInt32HalfEven(NumericValue(keyText));
  if (!key) throw KeyTooLargeError(std::string(psmNumber));
  return *key;
}

}  // namespace

std::int32_t PsmKey(std::string_view psmNumber) {
  return KeyOrThrow(PsmKeyText(psmNumber), psmNumber);
}

std::optional<std::int32_t> TryPsmKey(std::string_view psmNumber) {
  return ToInt32HalfEven(NumericValue(PsmKeyText(psmNumber)));
}

std::int32_t SlashedPsmKey(std::string_view psmNumber) {
  return KeyOrThrow(WithoutFifthCharacter(psmNumber), psmNumber);
}

}  // namespace modKestralMGA
