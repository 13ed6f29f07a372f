#pragma once

#include <cstdint>
#include <string>

namespace modKestralMGA {

// FormatNumber and NumberText held against FormatNumberGeneral, the quick way against the long
// one, on every hard case that can be made for each of the program's patterns and some longer
// ones (exact ties and the doubles a few steps either side of them; the doubles nearest each
// decimal half k + 0.5 at 10^-d and their neighbours, for small k, carries into a new digit and
// k near the largest products the quick way takes; zeros of either sign, values rounding to zero,
// whole numbers, values too large for the quick way, and those that are not finite), then on
// `randomCount` random values from `seed` (random magnitude from 1e-9 to 1e15 and sign, or a
// short decimal ending in 5 one place beyond the pattern, or random bits, with a random
// pattern). Returns the first value where they disagree as "value pattern: text / buffered text
// / general text", or the empty text.
std::string FirstFormatDisagreement(std::uint64_t randomCount, std::uint64_t seed);

// The count of hard cases FirstFormatDisagreement checks before its random values.
std::uint64_t HardFormatCaseCount();

}  // namespace modKestralMGA
