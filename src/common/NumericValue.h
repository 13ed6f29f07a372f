#pragma once

#include <string_view>

namespace modKestralMGA {

// How a text read as a number came out.
enum class NumberStatus {
  Ok,          // the value is finite
  NotANumber,  // (strict reading only) the text is not wholly a number
  OutOfRange,  // the number overflows the range of a double (1e400)
};

struct NumberReading {
  double Value = 0.0;  // 0 unless Status is Ok
  NumberStatus Status = NumberStatus::Ok;
};

// The numeric value of a text: blanks, tabs and line feeds anywhere in the text are dropped;
// the value is that of the longest leading part of what remains that reads as a decimal number
// (optional sign, digits, one ".", optional exponent with the letter E or e and at least one
// digit); 0 when there is none. Locale-free and correctly rounded for any number of digits.
// Examples: "6628 1001" -> 66281001, "45.30abc" -> 45.3, "1e" -> 1, ".5" -> 0.5, "0x1A" -> 0.
// Status is OutOfRange (Value 0) when the number overflows a double; a number too small for a
// double reads as 0 with Status Ok.
NumberReading ReadNumericValue(std::string_view text);

// ReadNumericValue for cells and controls: a number that overflows counts as 0.
double NumericValue(std::string_view text);

// The strict reading of a value of the lines and curve files: blanks and tabs are dropped, an
// empty value is 0, and anything else must read wholly as a number: optional sign, digits with
// at most one "." and at least one digit, optional exponent (E or e, optional sign, at least one
// digit). "5." and "+.5" are numbers; "1e", "-" and "infinity" are not (NotANumber).
NumberReading ReadStrictNumber(std::string_view text);

}  // namespace modKestralMGA
