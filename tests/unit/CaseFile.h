#pragma once

// Case files (tests/data/core/*.tsv): per line, kind, inputs, "=>", expected results, separated
// by tabs; \t, \r, \n, \\ and \xHH stand for those bytes; lines from "#" and blank lines are
// comments. An expected "value~tolerance" is a number, met within the tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace modKestralMGA::testsupport {

using Fields = std::vector<std::string>;

// The number in text, read independently of the locale (NaN when there is none).
inline double CaseNumber(std::string_view text) {
  double value = std::nan("");
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}
// The shortest text that reads back as value.
inline std::string CaseText(double value) {
  char digits[32];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The lines of tests/data/<folder>/<name> but blank lines and those from "#" (a file without
// any fails).
inline Fields CaseLines(const std::string& folder, const std::string& name) {
  std::istringstream file(ReadBytes(KESTRAL_TEST_DATA_DIR "/" + folder + "/" + name));
  Fields lines;
  for (std::string line; std::getline(file, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  EXPECT_FALSE(lines.empty()) << "no lines in " << folder << "/" << name;
  return lines;
}

// Checks every case of the file name in tests/data/core against results(kind and inputs) and
// returns the number of cases.
inline int CheckCases(const std::string& name,
                      const std::function<Fields(const Fields&)>& results) {
  int count = 0;
  for (const std::string& line : CaseLines("core", name)) {
    Fields fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      if (c == '\t') {
        fields.emplace_back();
        continue;
      }
      if (c == '\\' && ++i < line.size()) {
        const std::size_t control = std::string_view("trn").find(line[i]);
        unsigned byte = static_cast<unsigned char>(control > 2 ? line[i] : "\t\r\n"[control]);
        if (line[i] == 'x') std::from_chars(&line[i + 1], &line[i + 3], byte, 16), i += 2;
        c = static_cast<char>(byte);
      }
      fields.back() += c;
    }
    ++count;
    const auto arrow = std::find(fields.begin(), fields.end(), "=>");
    const Fields expected(arrow + (arrow == fields.end() ? 0 : 1), fields.end());
    const Fields got = results(Fields(fields.begin(), arrow));
    EXPECT_EQ(got.size(), expected.size()) << line;
    for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
      const std::size_t tilde = expected[i].find('~');
      if (tilde == std::string::npos) {
        EXPECT_EQ(got[i], expected[i]) << line;
      } else {
        EXPECT_NEAR(CaseNumber(got[i]), CaseNumber(expected[i].substr(0, tilde)),
                    CaseNumber(expected[i].substr(tilde + 1)))
            << line;
      }
    }
  }
  return count;
}

}  // namespace modKestralMGA::testsupport
