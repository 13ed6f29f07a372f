#pragma once

#include <map>
#include <string>

// Builds one line of a Mark Details file: `fields` comma-separated fields (43 or 51), with the
// given values at their field numbers (counted from 1) and every other field empty.
inline std::string MarkDetailsTestLine(const std::map<int, std::string>& values, int fields = 43) {
  std::string line;
  for (int field = 1; field <= fields; ++field) {
    if (field > 1) line += ',';
    const auto it = values.find(field);
    if (it != values.end()) line += it->second;
  }
  return line;
}

// A mark line with the nine fields the program uses.
inline std::string MarkTestLine(const std::string& sheet, const std::string& number,
                                const std::string& east, const std::string& north,
                                const std::string& height = "", const std::string& order = "",
                                int fields = 43) {
  // clang-format off
  return MarkDetailsTestLine({{1, sheet}, {2, number}, {6, "54"}, {7, east}, {8, north}, {12, order},
                              {14, "GDA2020"}, {22, height}, {33, "OK"}}, fields);
  // clang-format on
}
