#include "plan/PlanValues.h"

#include <optional>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"
#include "common/ValueList.h"

namespace modKestralMGA {

namespace {

std::string WholeNumberText(std::int64_t value) {
  return FormatNumber(static_cast<double>(value), kFormatCount);
}

[[noreturn]] void Refuse(std::string_view what, std::string_view text, std::int64_t lineNumber,
                         const std::string& file) {
  throw FileError(RefusedValueMessage(what, text, lineNumber, file));
}

}  // namespace

double ReadPlanNumber(std::string_view text, std::int64_t lineNumber, const std::string& file) {
  const NumberReading reading = ReadStrictNumber(text);
  switch (reading.Status) {
    case NumberStatus::Ok:
      return reading.Value;
    case NumberStatus::OutOfRange:
      Refuse("Number out of range", text, lineNumber, file);
    case NumberStatus::NotANumber:
      break;
  }
  Refuse("Not a number", text, lineNumber, file);
}

std::int32_t ReadPointNumber(std::string_view text, std::int64_t lineNumber,
                             const std::string& file) {
  const std::optional<std::int32_t> number =
      ToInt32HalfEven(ReadPlanNumber(text, lineNumber, file));
  if (!number) Refuse("Point number out of range", text, lineNumber, file);
  return *number;
}

std::string ValueCountMessage(std::int64_t lineNumber, const std::string& file, std::size_t count,
                              std::size_t expected) {
  return "Line " + WholeNumberText(lineNumber) + " of " + file + " has " +
         WholeNumberText(static_cast<std::int64_t>(count)) + " values, " +
         WholeNumberText(static_cast<std::int64_t>(expected)) + " expected";
}

}  // namespace modKestralMGA
