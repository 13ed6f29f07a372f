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
// its values:
// - a comma ends a value, and the line end ends the last one: a line holds commas + 1 values
//   (commas inside quotes excepted), so a trailing comma adds an empty value;
// - blanks and tabs before a value are skipped; an unquoted value keeps its trailing blanks;
// - a value starting with a double quote runs to the next lone double quote and may hold commas;
//   "" inside it is one quote character; the quotes are removed; what follows the closing quote
//   up to the next comma is dropped; a quote not closed on its line ends at the line end;
// - a blank line (only blanks and tabs) holds no values.
// A value longer than kMaxValueLength throws FileError "Value too long at line N of <path>".
// Made for a file read line by line, it copies no values: the values are views of the line, or of
// the splitter's own copy of a quoted value (its quotes removed), and stay valid while the line
// lives and until the next Split. Only the first `keep` values are kept (a reader
// takes the values it uses); the others are counted, and every value of the line, kept or not,
// is refused when longer than kMaxValueLength. So a line of empty values costs nothing beyond
// their count.
class ValueLineSplitter {
 public:
  // The first `keep` values of the line (all of them when it holds fewer).
  const std::vector<std::string_view>& Split(std::string_view line, std::int64_t lineNumber,
                                             const std::string& path,
                                             std::size_t keep = static_cast<std::size_t>(-1));
  // The number of values of the line Split last, kept or not.
  std::size_t Count() const { return m_count; }

 private:
  // The value starting with the quote at pos, kept into m_quoted when keep is set; returns its
  // length and leaves pos at the comma (or line end) that ends it.
  std::size_t QuotedValue(std::string_view line, std::size_t& pos, bool keep);

  std::vector<std::string_view> m_values;
  std::string m_quoted;  // the quoted values kept of the line, one after the other
  std::size_t m_count = 0;
};

}  // namespace modKestralMGA
