#pragma once

#include <string>
#include <string_view>

#include "compare/AccuracyCriteria.h"

namespace modKestralMGA {

// The title of the messages about a criteria file.
inline constexpr const char* kCriteriaFileErrorTitle = "Accuracy criteria error";

// The criteria of a criteria file's text (JSON, UTF-8): an object whose "criteria" list holds
// one object a criterion, with "name" (its text in the criterion box), the numbers "a", "K",
// "c" and "b", "p" a number or "none", and an optional "source" note; the object may also hold a
// "comment". Returns known with the file's criteria added after its own, each marked
// userDefined. Throws FileError naming fileName and, where one is at fault, the entry (its
// number from 1 and its name): text that is not JSON (with the line and column), a missing or
// misspelt field, a name that is empty or already a criterion, a value that is not a finite
// number, a, K or b not greater than 0, c below 0, p neither "none" nor greater than 0.
CriteriaTable AddCriteriaText(const CriteriaTable& known, std::string_view text,
                              const std::string& fileName, bool userDefined);

// AddCriteriaText of the file at path, marked as a user's: also throws FileError when the file
// cannot be read.
CriteriaTable AddCriteriaFile(const CriteriaTable& known, const std::string& path);

}  // namespace modKestralMGA
