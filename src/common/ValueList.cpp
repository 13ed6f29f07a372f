#include "common/ValueList.h"

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/TextFile.h"

namespace modKestralMGA {

namespace {

// Appends piece to value, refusing a value that would grow past kMaxValueLength.
void AppendChecked(std::string& value, std::string_view piece, std::int64_t lineNumber,
                   const std::string& path) {
  if (piece.size() > kMaxValueLength - value.size()) ThrowValueTooLong(lineNumber, path);
  value.append(piece);
}

// The next slot of values, emptied: an existing string keeps its capacity.
std::string& NextSlot(std::vector<std::string>& values, std::size_t& count) {
  if (count < values.size()) {
    values[count].clear();
  } else {
    values.emplace_back();
  }
  return values[count++];
}

}  // namespace

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
  std::size_t count = 0;
  if (IsBlankLine(line)) {
    values.clear();
    return;
  }
  const std::size_t size = line.size();
  std::size_t pos = 0;
  for (;;) {
    while (pos < size && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    std::string& value = NextSlot(values, count);
    if (pos < size && line[pos] == '"') {
      // A quoted value: up to the next lone quote, "" standing for one quote character.
      ++pos;
      for (;;) {
        const std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) {
          // Not closed on this line: the value ends at the line end.
          AppendChecked(value, line.substr(pos), lineNumber, path);
          pos = size;
          break;
        }
        AppendChecked(value, line.substr(pos, quote - pos), lineNumber, path);
        if (quote + 1 < size && line[quote + 1] == '"') {
          AppendChecked(value, "\"", lineNumber, path);
          pos = quote + 2;
          continue;
        }
        pos = quote + 1;
        break;
      }
      // Whatever follows the closing quote up to the next comma is dropped.
      const std::size_t comma = line.find(',', pos);
      pos = comma == std::string_view::npos ? size : comma;
    } else {
      const std::size_t comma = line.find(',', pos);
      const std::size_t end = comma == std::string_view::npos ? size : comma;
      AppendChecked(value, line.substr(pos, end - pos), lineNumber, path);
      pos = end;
    }
    if (pos >= size) break;
    ++pos;  // the comma; a comma at the line end still opens one more (empty) value
  }
  values.resize(count);
}

}  // namespace modKestralMGA
