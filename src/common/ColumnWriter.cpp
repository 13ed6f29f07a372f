#include "common/ColumnWriter.h"

#include <utility>

namespace modKestralMGA {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

TextColumnWriter::TextColumnWriter(Output output, std::size_t pieceSize)
    : m_output(std::move(output)), m_pieceSize(pieceSize) {
  m_bytes.reserve(pieceSize + 256);
}

void TextColumnWriter::Field(int column, std::string_view text) {
  // Columns are 1-based; a field wanted at column n needs n - 1 bytes before it on its line.
  const std::size_t before = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
  if (m_lineLength > before) EndLine();
  m_bytes.append(before - m_lineLength, ' ');
  m_bytes.append(text);
  m_lineLength = before + text.size();
}

void TextColumnWriter::Text(std::string_view text) {
  m_bytes.append(text);
  m_lineLength += text.size();
}

void TextColumnWriter::EndLine() {
  m_bytes.append(kLineEnd);
  m_lineLength = 0;
  if (m_output && m_bytes.size() >= m_pieceSize) Finish();
}

void TextColumnWriter::Finish() {
  if (!m_output || m_bytes.empty()) return;
  m_output(m_bytes);
  m_bytes.clear();
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
