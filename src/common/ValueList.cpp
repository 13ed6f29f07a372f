#include "common/ValueList.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"

namespace modKestralMGA {

void ThrowValueTooLong(std::int64_t lineNumber, const std::string& path) {
  throw FileError("Value too long at line " +
                  FormatNumber(static_cast<double>(lineNumber), kFormatCount) + " of " + path);
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string RefusedValueMessage(std::string_view what, std::string_view text,
                                std::int64_t lineNumber, const std::string& file) {
  std::string message(what);
  message += " at line ";
  message += FormatNumber(static_cast<double>(lineNumber), kFormatCount);
  message += " of ";
  message += file;
  message += ": ";
  message += TrimBlanksAndTabs(text);
  return message;
}

std::size_t ValueLineSplitter::QuotedValue(std::string_view line, std::size_t& pos, bool keep) {
  // Up to the next lone quote, "" standing for one quote character; a quote not closed on the
  // line ends at the line end.
  std::size_t length = 0;
  ++pos;
  for (;;) {
    const std::size_t quote = std::min(line.find('"', pos), line.size());
    const std::string_view part = line.substr(pos, quote - pos);
    length += part.size();
    // A kept value is copied only while it can still be taken; it is refused past the limit.
    if (keep && length <= kMaxValueLength) m_quoted.append(part);
    pos = quote + 1;
    if (quote + 1 < line.size() && line[quote + 1] == '"') {
      ++length;
      if (keep && length <= kMaxValueLength) m_quoted += '"';
      ++pos;
      continue;
    }
    break;
  }
  // Whatever follows the closing quote up to the next comma is dropped.
  pos = std::min(line.find(',', std::min(pos, line.size())), line.size());
  return length;
}

const std::vector<std::string_view>& ValueLineSplitter::Split(std::string_view line,
                                                              std::int64_t lineNumber,
                                                              const std::string& path,
                                                              std::size_t keep) {
  m_values.clear();
  m_count = 0;
  if (IsBlankLine(line)) return m_values;
  // The quoted values kept are never longer together than the line, nor than the longest value
  // each, so the copy never moves and the views into it stay valid.
  m_quoted.clear();
  if (keep < line.size() / (kMaxValueLength + 1)) {
    m_quoted.reserve(keep * (kMaxValueLength + 1));
  } else {
    m_quoted.reserve(line.size());
  }
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t pos = 0;
  for (;;) {
    while (pos < size && (data[pos] == ' ' || data[pos] == '\t')) ++pos;
    const bool kept = m_count < keep;
    std::string_view value;
    std::size_t length = 0;
    if (pos < size && data[pos] == '"') {
      const std::size_t start = m_quoted.size();
      length = QuotedValue(line, pos, kept);
      value = std::string_view(m_quoted).substr(start);
    } else {
      std::size_t end = pos;
      while (end < size && data[end] != ',') ++end;
      value = line.substr(pos, end - pos);
      length = value.size();
      pos = end;
    }
    if (length > kMaxValueLength) ThrowValueTooLong(lineNumber, path);
    if (kept) m_values.push_back(value);
    ++m_count;
    if (pos >= size) break;
    ++pos;  // the comma; a comma at the line end still opens one more (empty) value
  }
  return m_values;
}

}  // namespace modKestralMGA
