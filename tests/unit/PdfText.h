#pragma once

// The text of a PDF file read back with pdftotext (poppler-utils): the words with their
// positions, and the lines they make when each word is put back at its column of a fixed-pitch
// font.
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace modKestralMGA::testsupport {

struct PdfWord {
  int Page;           // from 1
  double XMin, YMin;  // points from the page's top left corner
  double XMax, YMax;  // points
  std::string Text;
};

// The words of the PDF at path, page by page, as pdftotext -bbox gives them. pdftotext is the
// program at pdftotextPath.
inline std::vector<PdfWord> ReadPdfWords(const std::string& pdftotextPath,
                                         const std::string& path) {
  const std::string command = "'" + pdftotextPath + "' -bbox '" + path + "' - 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string html;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) html.append(buffer, n);
  if (::pclose(pipe) != 0) ADD_FAILURE() << "pdftotext failed on " << path;

  static const std::regex kTag(
      R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::vector<PdfWord> words;
  int page = 0;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), kTag); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (!m[1].matched) {
      ++page;
      continue;
    }
    std::string text = m[5].str();
    for (const std::string entity : {"&lt;<", "&gt;>", "&quot;\"", "&apos;'", "&#39;'", "&amp;&"}) {
      const std::size_t size = entity.size() - 1;  // the entity, then its character
      for (std::size_t at; (at = text.find(entity.substr(0, size))) != std::string::npos;)
        text.replace(at, size, 1, entity.back());
    }
    // pdftotext writes "." as the decimal point whatever the locale.
    const auto number = [&m](int group) {
      double value = 0.0;
      std::from_chars(m[group].first.base(), m[group].second.base(), value);
      return value;
    };
    words.push_back({page, number(1), number(2), number(3), number(4), text});
  }
  return words;
}

// The lines of each page, rebuilt from the words of a fixed-pitch text: a word starting at x is
// put at column 1 + (x - left edge) / character width, with the left edge and the character
// width measured from the words themselves. Lines without words (empty lines) do not appear.
inline std::vector<std::vector<std::string>> PdfPageLines(std::vector<PdfWord> words) {
  // pdftotext gives the words in its reading order, column by column; lines go top to bottom.
  std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
    return std::tie(a.Page, a.YMin, a.XMin) < std::tie(b.Page, b.YMin, b.XMin);
  });
  std::vector<std::vector<std::string>> pages;
  if (words.empty()) return pages;
  std::vector<double> widths;
  for (const PdfWord& word : words)
    widths.push_back((word.XMax - word.XMin) / double(word.Text.size()));
  std::nth_element(widths.begin(), widths.begin() + long(widths.size() / 2), widths.end());
  const double width = widths[widths.size() / 2];
  const double left = std::ranges::min(words, {}, &PdfWord::XMin).XMin;
  double lineY = 0.0;
  for (const PdfWord& word : words) {
    if (static_cast<int>(pages.size()) < word.Page) pages.resize(std::size_t(word.Page));
    auto& lines = pages.back();
    if (lines.empty() || std::abs(word.YMin - lineY) > 1.0) {
      lines.emplace_back();
      lineY = word.YMin;
    }
    std::string& line = lines.back();
    const auto column = static_cast<std::size_t>(std::lround((word.XMin - left) / width));
    if (line.size() < column) line.append(column - line.size(), ' ');
    line += word.Text;
  }
  return pages;
}

}  // namespace modKestralMGA::testsupport
