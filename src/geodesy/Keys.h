#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace modKestralMGA {

// The key of a PSM number: with a "/" anywhere, its first four characters followed by its
// characters from the sixth on (the fifth is dropped); without one, the whole text. The key is
// the numeric value of that text rounded half to even: 6628/1001 -> 66281001, 66281001 ->
// 66281001, 662/1001 -> 662. Every key of the program is made by this rule. Throws
// KeyTooLargeError ("PSM number too large for a key: " + text) when the key does not fit 32 bits.
std::int32_t PsmKey(std::string_view psmNumber);

// PsmKey without the error: nothing when the key does not fit 32 bits.
std::optional<std::int32_t> TryPsmKey(std::string_view psmNumber);

}  // namespace modKestralMGA
