#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA {

// Where reports write: lines of fields placed at 1-based columns. A field placed at column n
// starts at column n of the current line when the line holds at most n - 1 columns (padding up
// to it), and at column n of the next line when it already holds n or more; an empty field still
// pads up to its column. Fields written without a column follow straight on. Back ends: a text
// file (one character a column), the printer (a column is the width of a character of its
// fixed-pitch font) and a recorder for tests.
class ColumnWriter {
 public:
  virtual ~ColumnWriter() = default;
  // Writes text starting at 1-based column (a column below 1 counts as 1).
  virtual void Field(int column, std::string_view text) = 0;
  // Writes text straight on from the current position.
  virtual void Text(std::string_view text) = 0;
  // Ends the current line (an empty line when nothing was written on it).
  virtual void EndLine() = 0;
};

// The text-file back end: one byte a column, blanks as padding, lines ended with CR LF. The
// text collects in memory; the caller writes it out (atomically) when the report is complete.
// Given an output, the writer hands it the text in pieces instead: each time a line ends with at
// least pieceSize bytes waiting, and the rest at Finish.
class TextColumnWriter final : public ColumnWriter {
 public:
  using Output = std::function<void(std::string_view bytes)>;
  static constexpr std::size_t kPieceSize = std::size_t{256} * 1024;

  TextColumnWriter() = default;
  explicit TextColumnWriter(Output output, std::size_t pieceSize = kPieceSize);
  void Field(int column, std::string_view text) override;
  void Text(std::string_view text) override;
  void EndLine() override;
  // Hands the bytes still waiting to the output.
  void Finish();
  // Everything written and not yet handed to an output, each ended line followed by CR LF; an
  // unended last line as it stands.
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
  std::size_t m_lineLength = 0;
  Output m_output;
  std::size_t m_pieceSize = 0;
};

// The recording back end for tests: keeps every field with the column asked for, and renders
// the lines as the text back end would.
class RecordingColumnWriter final : public ColumnWriter {
 public:
  struct Item {
    int Column;  // 0 for text written straight on
    std::string Text;
  };
  void Field(int column, std::string_view text) override;
  void Text(std::string_view text) override;
  void EndLine() override;
  // The calls per line; the last entry is the line not yet ended (possibly empty).
  const std::vector<std::vector<Item>>& Items() const { return m_items; }
  // The ended lines, rendered one byte a column, without line ends.
  std::vector<std::string> Lines() const;

 private:
  std::vector<std::vector<Item>> m_items{1};
  TextColumnWriter m_text;
};

}  // namespace modKestralMGA
