#pragma once

#include <string>

namespace modKestralMGA {

struct Diagnosis;

// The diagnosis in one sentence, from what weighs most: a mark that stands where the list has
// another, a line of the plan that does not close, marks that have likely moved, a rotation or
// scale that makes the failed joins pass, marks missing from the list; or that every compared
// join is acceptable as it stands.
std::string DiagnosisFinding(const Diagnosis& diagnosis);

}  // namespace modKestralMGA
