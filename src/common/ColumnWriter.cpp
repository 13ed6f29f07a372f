#include "common/ColumnWriter.h"

namespace modKestralMGA {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

void TextColumnWriter::Field(int column, std::string_view text) {
  // Columns are 1-based; a field wanted at column n needs n - 1 bytes before it on its line.
  const std::size_t before = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
  if (m_bytes.size() - m_lineStart > before) EndLine();
  const std::size_t lineLength = m_bytes.size() - m_lineStart;
  m_bytes.append(before - lineLength, ' ');
  m_bytes.append(text);
}

void TextColumnWriter::Text(std::string_view text) {
  m_bytes.append(text);
}

void TextColumnWriter::EndLine() {
  m_bytes.append(kLineEnd);
  m_lineStart = m_bytes.size();
}

void RecordingColumnWriter::Field(int column, std::string_view text) {
  m_items.back().push_back({column, std::string(text)});
  m_text.Field(column, text);
}

void RecordingColumnWriter::Text(std::string_view text) {
  m_items.back().push_back({0, std::string(text)});
  m_text.Text(text);
}

void RecordingColumnWriter::EndLine() {
  m_items.emplace_back();
  m_text.EndLine();
}

std::vector<std::string> RecordingColumnWriter::Lines() const {
  std::vector<std::string> lines;
  const std::string_view bytes = m_text.Bytes();
  std::size_t start = 0;
  for (std::size_t end = bytes.find(kLineEnd); end != std::string_view::npos;
       end = bytes.find(kLineEnd, start)) {
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + kLineEnd.size();
  }
  return lines;
}

}  // namespace modKestralMGA
