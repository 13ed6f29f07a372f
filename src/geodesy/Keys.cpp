#include "geodesy/Keys.h"

#include <cstdint>
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
  // The usual form, four digits, a slash and digits (6628/1001), or digits alone, up to 15
  // digits in all: the key text is those digits, whose numeric value is exact and whole.
  constexpr std::size_t kMostDigits = 15;
  std::uint64_t digits = 0;
  std::size_t count = 0;
  bool plain = !psmNumber.empty() && psmNumber.size() <= kMostDigits + 1;
  for (std::size_t i = 0; plain && i < psmNumber.size(); ++i) {
    const char c = psmNumber[i];
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      ++count;
    } else {
      plain = c == '/' && i == 4;
    }
  }
  if (plain && count <= kMostDigits) {
    if (digits > 2147483647U) return std::nullopt;
    return static_cast<std::int32_t>(digits);
  }
  return ToInt32HalfEven(NumericValue(PsmKeyText(psmNumber)));
}

}  // namespace modKestralMGA
