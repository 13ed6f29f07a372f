#include "common/ValueList.h"

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

void SplitValueLine(std::string_view line, std::int64_t lineNumber, const std::string& path,
                    std::vector<std::string>& values) {
  ValueLineSplitter splitter;
  const std::vector<std::string_view>& views = splitter.Split(line, lineNumber, path);
  values.resize(views.size());
  for (std::size_t i = 0; i < views.size(); ++i) values[i].assign(views[i]);
}

const std::vector<std::string_view>& ValueLineSplitter::Split(std::string_view line,
                                                              std::int64_t lineNumber,
                                                              const std::string& path) {
  m_values.clear();
  if (IsBlankLine(line)) return m_values;
  // The quoted values of a line are never longer together than the line, so the copy never
  // moves and the views into it stay valid.
  m_quoted.clear();
  m_quoted.reserve(line.size());
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t pos = 0;
  for (;;) {
    while (pos < size && (data[pos] == ' ' || data[pos] == '\t')) ++pos;
    std::string_view value;
    if (pos < size && data[pos] == '"') {
      // A quoted value: up to the next lone quote, "" standing for one quote character.
      const std::size_t start = m_quoted.size();
      ++pos;
      for (;;) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) {
          // Not closed on this line: the value ends at the line end.
          m_quoted.append(line.substr(pos));
          pos = size;
          break;
        }
        m_quoted.append(line.substr(pos, quote - pos));
        if (quote + 1 < size && data[quote + 1] == '"') {
          m_quoted += '"';
          pos = quote + 2;
          continue;
        }
        pos = quote + 1;
        break;
      }
      value = std::string_view(m_quoted).substr(start);
      // Whatever follows the closing quote up to the next comma is dropped.
      const std::size_t comma = line.find(',', pos);
      pos = comma == std::string_view::npos ? size : comma;
    } else {
      std::size_t end = pos;
      while (end < size && data[end] != ',') ++end;
      value = line.substr(pos, end - pos);
      pos = end;
    }
    if (value.size() > kMaxValueLength) ThrowValueTooLong(lineNumber, path);
    m_values.push_back(value);
    if (pos >= size) break;
    ++pos;  // the comma; a comma at the line end still opens one more (empty) value
  }
  return m_values;
}

}  // namespace modKestralMGA
