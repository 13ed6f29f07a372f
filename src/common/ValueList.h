#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA {

// The longest value the value-list reader keeps; a longer one is refused.
inline constexpr std::size_t kMaxValueLength = 64 * 1024;

// text without the blanks and tabs around it.
std::string_view TrimBlanksAndTabs(std::string_view text);

// The text of a value refused where a file is read: "<what> at line N of <file>: <text>", the
// text trimmed of the blanks and tabs around it ("Number out of range at line 3 of plan.lns:
// 1e400").
std::string RefusedValueMessage(std::string_view what, std::string_view text,
                                std::int64_t lineNumber, const std::string& file);

// Refuses a value longer than kMaxValueLength: throws FileError "Value too long at line N of
// <path>".
[[noreturn]] void ThrowValueTooLong(std::int64_t lineNumber, const std::string& path);

// Splits one physical line of a list-of-values file (Mark Details, lines and curve files) into
// its values, replacing what values held:
// - a comma ends a value, and the line end ends the last one: a line holds commas + 1 values
//   (commas inside quotes excepted), so a trailing comma adds an empty value;
// - blanks and tabs before a value are skipped; an unquoted value keeps its trailing blanks;
// - a value starting with a double quote runs to the next lone double quote and may hold commas;
//   "" inside it is one quote character; the quotes are removed; what follows the closing quote
//   up to the next comma is dropped; a quote not closed on its line ends at the line end;
// - a blank line (only blanks and tabs) holds no values.
// A value longer than kMaxValueLength throws FileError "Value too long at line N of <path>".
void SplitValueLine(std::string_view line, std::int64_t lineNumber, const std::string& path,
                    std::vector<std::string>& values);

// SplitValueLine for a file read line by line, without copying values: the values are views of
// the line, or of the splitter's own copy of a quoted value (its quotes removed), and stay valid
// while the line lives and until the next Split.
class ValueLineSplitter {
 public:
  const std::vector<std::string_view>& Split(std::string_view line, std::int64_t lineNumber,
                                             const std::string& path);

 private:
  std::vector<std::string_view> m_values;
  std::string m_quoted;  // the quoted values of the line, one after the other
};

}  // namespace modKestralMGA
