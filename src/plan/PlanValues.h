#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace modKestralMGA {

// The reading of the values of the plan's lines and curve files, shared by both readers. Each
// refusal throws FileError with a text that names the file as the program forms it (the plan
// identifier + ".lns" or ".cve"), the physical line (from 1, blank lines counted) and the value
// trimmed of surrounding blanks and tabs.

// A decimal value (a bearing, a distance, a radius): blanks and tabs inside are ignored, an empty
// value is 0, anything else must read wholly as a number. Throws "Not a number at line N of
// <file>: <text>" or, for a number beyond the range of a double (1e400), "Number out of range at
// line N of <file>: <text>".
double ReadPlanNumber(std::string_view text, std::int64_t lineNumber, const std::string& file);

// A point number: a decimal value as above, rounded half to even, which must fit a 32-bit signed
// whole number; otherwise throws as above or "Point number out of range at line N of <file>:
// <text>".
std::int32_t ReadPointNumber(std::string_view text, std::int64_t lineNumber,
                             const std::string& file);

// "Line N of <file> has K values, E expected": the text for a line that holds count values where
// a record holds expected.
std::string ValueCountMessage(std::int64_t lineNumber, const std::string& file, std::size_t count,
                              std::size_t expected);

}  // namespace modKestralMGA
