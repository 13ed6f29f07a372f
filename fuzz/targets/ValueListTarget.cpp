// The text-file byte rules and the value-list reader on a file: the whole-file reading and the
// first-line reading agree, and every line splits into the values that a plain character-by-
// character reading of the rules gives.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Errors.h"
#include "common/TextFile.h"
#include "common/ValueList.h"

namespace modKestralMGA::fuzz {

namespace {

// The values of a line by the rules, read one character at a time: blanks and tabs before a
// value skipped; a quoted value up to the next lone quote ("" is one quote), the rest up to the
// comma dropped; an unquoted value up to the comma; commas + 1 values; no values on a blank line.
std::vector<std::string> ValuesByTheRules(std::string_view line) {
  std::vector<std::string> values;
  if (line.find_first_not_of(" \t") == std::string_view::npos) return values;
  enum class State { BeforeValue, Unquoted, Quoted, AfterQuote };
  State state = State::BeforeValue;
  std::string value;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    switch (state) {
      case State::BeforeValue:
        if (c == ' ' || c == '\t') break;
        if (c == '"') {
          state = State::Quoted;
        } else if (c == ',') {
          values.push_back(value);
        } else {
          value.push_back(c);
          state = State::Unquoted;
        }
        break;
      case State::Unquoted:
        if (c == ',') {
          values.push_back(value);
          value.clear();
          state = State::BeforeValue;
        } else {
          value.push_back(c);
        }
        break;
      case State::Quoted:
        if (c != '"') {
          value.push_back(c);
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
          value.push_back('"');
          ++i;
        } else {
          state = State::AfterQuote;
        }
        break;
      case State::AfterQuote:
        if (c == ',') {
          values.push_back(value);
          value.clear();
          state = State::BeforeValue;
        }
        break;
    }
  }
  values.push_back(value);
  return values;
}

// True when no value is longer than limit bytes.
bool AllWithin(const std::vector<std::string>& values, std::size_t limit) {
  for (const std::string& value : values) {
    if (value.size() > limit) return false;
  }
  return true;
}

}  // namespace

int FuzzValueList(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteScratchFile("values.csv", AsText(data, size));

  TextFile file;
  bool wholeRead = false;
  try {
    file = ReadTextFile(path);
    wholeRead = true;
  } catch (const FileError&) {
  }
  std::string firstLine;
  bool firstRead = false;
  try {
    firstLine = ReadFirstLine(path);
    firstRead = true;
  } catch (const FileError&) {
  }
  // Reading the first line alone looks for NUL bytes in the first 4 KiB only.
  Require(!wholeRead || firstRead, "a file read whole has a first line");
  if (!wholeRead) return 0;
  Require(!file.Bytes.starts_with("\xEF\xBB\xBF") ||
              AsText(data, size).starts_with("\xEF\xBB\xBF\xEF\xBB\xBF"),
          "one byte-order mark is dropped");

  LineSplitter lines(file.Bytes);
  std::string_view line;
  ValueLineSplitter all, splitter;
  bool first = true;
  while (lines.Next(line)) {
    Require(line.find_first_of("\r\n") == std::string_view::npos, "a line holds no line end");
    if (first) {
      Require(firstLine == line, "the first line reads the same both ways");
      first = false;
    }
    const std::vector<std::string> expected = ValuesByTheRules(line);
    try {
      const std::vector<std::string_view>& values = all.Split(line, lines.LineNumber(), path);
      Require(std::ranges::equal(values, expected), "a line splits into the values of the rules");
      Require(AllWithin(expected, kMaxValueLength), "no value is longer than the limit");
    } catch (const FileError&) {
      Require(!AllWithin(expected, kMaxValueLength), "only a value over the limit is refused");
    }
    // Keeping only the first values: those, every value counted, the same refusals.
    const std::size_t keep = line.size() % 5;
    try {
      const std::vector<std::string_view>& kept = splitter.Split(line, 1, path, keep);
      Require(AllWithin(expected, kMaxValueLength) && splitter.Count() == expected.size() &&
                  kept.size() == std::min(keep, expected.size()) &&
                  std::equal(kept.begin(), kept.end(), expected.begin()),
              "the values kept are the first of the line, and all are counted");
    } catch (const FileError&) {
      Require(!AllWithin(expected, kMaxValueLength), "only a value over the limit is refused");
    }
  }
  if (first) Require(firstLine.empty(), "a file without lines has an empty first line");
  return 0;
}

}  // namespace modKestralMGA::fuzz
