#include "plan/PlanValues.h"

#include <optional>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "common/Rounding.h"

namespace modKestralMGA {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string WholeNumberText(std::int64_t value) {
  return FormatNumber(static_cast<double>(value), kFormatCount);
}

[[noreturn]] void Refuse(std::string_view what, std::string_view text, std::int64_t lineNumber,
                         const std::string& file) {
  std::string message(what);
  message += " at line ";
  message += WholeNumberText(lineNumber);
  message += " of ";
  message += file;
  message += ": ";
  message += TrimBlanks(text);
  throw FileError(message);
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
