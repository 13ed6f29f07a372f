#pragma once

// Printed reports read back: the pages of a PDF file, and the lines the column rule gives, as a
// page shows them.
#include <string>
#include <vector>

#include "PdfText.h"
#include "common/ColumnWriter.h"

// The pages of the PDF file at path, each as its lines with every word at its column of the
// report font (lines without words do not appear).
inline std::vector<std::vector<std::string>> PrintedPages(const std::string& path) {
  return modKestralMGA::testsupport::PdfPageLines(
      modKestralMGA::testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, path));
}

// The lines written to out as a printed page shows them: trailing blanks cut, empty lines left
// out.
inline std::vector<std::string> PrintableLines(const modKestralMGA::RecordingColumnWriter& out) {
  std::vector<std::string> lines;
  for (std::string line : out.Lines()) {
    line.erase(line.find_last_not_of(' ') + 1);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// All the lines of pages, page after page.
inline std::vector<std::string> AllLines(const std::vector<std::vector<std::string>>& pages) {
  std::vector<std::string> lines;
  for (const auto& page : pages) lines.insert(lines.end(), page.begin(), page.end());
  return lines;
}
