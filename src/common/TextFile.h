#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ByteBuffer.h"

namespace modKestralMGA {

// The English description of a system error number ("No such file or directory"), the same
// whatever the locale.
std::string SystemErrorText(int errorNumber);

// The bytes of a text file as the program reads them: a leading UTF-8 byte-order mark dropped,
// trailing 0x1A (end-of-file) bytes dropped. Bytes are otherwise kept as read: the single-byte
// character set is Windows-1252 and only the window converts for display.
struct TextFile {
  std::string Path;  // the path as the caller named it, used in messages
  ByteBuffer Bytes;  // the content after the byte rules
};

// The largest text file the readers take: no file the program reads comes near it, and a larger
// one (or a source that never ends) would only fill the memory.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{1} << 30;

// Reads a whole text file. Throws FileError when the file cannot be opened ("Cannot open <path>:
// No such file or directory"; a folder gives "Is a directory") or read ("Cannot read <path>:
// <system description>"); when it holds a NUL byte anywhere:
// "<path> is not a plain text file (UTF-16 or binary); save it as plain text" (decided from the
// first 4 KiB, and for a later NUL as soon as the chunk holding it is read: a NUL would otherwise
// reach a cell, and a list saved with it could not be opened again); and when it is larger than
// maxBytes: "File too large to be a <kind>: <path>" (kind says what the file should have been,
// "lines file"). A regular file is refused by its size before anything is read; a pipe or device
// is read in chunks of fixed size, joined once at its end, and refused as soon as it passes
// maxBytes, so a source that never ends is refused too.
// path is opened as given; displayPath (the path when empty) names the file in messages.
// A regular file's bytes are read into a buffer with room for roomPerByte bytes for each byte
// of the file, not filled: a reader that goes on to write into the buffer (the mark list writes
// its rewritten cells after the file's bytes) then never moves it.
TextFile ReadTextFile(const std::string& path, const std::string& displayPath = {},
                      std::string_view kind = "text file", std::size_t maxBytes = kMaxTextFileBytes,
                      std::size_t roomPerByte = 1);

// Reads only the first physical line of a text file (without its line end), with the same byte
// rules and refusals as ReadTextFile, except that the NUL check covers only the first 4 KiB (or
// the whole of a shorter file) and the first line when it is longer: it reads no more of a large
// file than it needs. A first line longer than maxBytes is refused as too large. "" for an empty
// file.
std::string ReadFirstLine(const std::string& path, const std::string& displayPath = {},
                          std::string_view kind = "text file",
                          std::size_t maxBytes = kMaxTextFileBytes);

// Splits bytes into physical lines: LF, CR and CR LF each end a line; the last line needs no
// line end; an empty text has no lines. Line numbers count every physical line from 1.
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view bytes) : m_bytes(bytes) {}
  // The next line without its line end; false at the end.
  bool Next(std::string_view& line);
  // The number of the line Next gave last (0 before the first).
  std::int64_t LineNumber() const { return m_lineNumber; }

 private:
  std::string_view m_bytes;
  std::size_t m_pos = 0;
  std::int64_t m_lineNumber = 0;
  std::size_t m_nextLineFeed = 0;  // the next LF from m_pos on, or the size (from the first line)
};

// True when a line holds only blanks and tabs (or nothing).
bool IsBlankLine(std::string_view line);

}  // namespace modKestralMGA
