#pragma once

#include <string>

#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

// The diagnosis as one JSON object (indented by two blanks, ended by a line feed) with the
// members summary, fit (null without one), marks, suspects, renumbering and plan_checks, as the
// help book and docs/schema/diagnosis.schema.json describe them. Numbers are JSON numbers,
// rounded as the program writes them (seconds and ppm to 0.01, metres to 0.0001); a value the
// diagnosis does not have is null, never NaN.
std::string DiagnosisJson(const Diagnosis& diagnosis);

}  // namespace modKestralMGA
