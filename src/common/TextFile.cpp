#include "common/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/Errors.h"
#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

// A file with a NUL byte is UTF-16 or binary, not a text file. Reading only the first line looks
// at least this far for one.
constexpr std::size_t kNulCheckLength = 4096;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kEndOfFile = '\x1A';

const std::string& NameInMessages(const std::string& path, const std::string& displayPath) {
  return displayPath.empty() ? path : displayPath;
}

[[noreturn]] void ThrowSystemError(std::string_view action, const std::string& name,
                                   int errorNumber) {
  std::string message(action);
  message += ' ';
  message += name;
  message += ": ";
  message += SystemErrorText(errorNumber);
  throw FileError(message);
}

// An open file descriptor, closed when it goes out of scope.
class OpenFile {
 public:
  // Opens path for reading; a folder is refused as "Is a directory".
  OpenFile(const std::string& path, const std::string& name) {
    do {
      m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) ThrowSystemError("Cannot open", name, errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) ThrowSystemError("Cannot open", name, errno);
    if (S_ISDIR(info.st_mode)) ThrowSystemError("Cannot open", name, EISDIR);
    if (S_ISREG(info.st_mode) && info.st_size > 0) m_size = static_cast<std::size_t>(info.st_size);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(m_fd); }

  // The size the file had when it was opened (0 when unknown).
  std::size_t SizeHint() const { return m_size; }

  // Appends up to count bytes to bytes; returns the number appended, 0 at the end of the file.
  std::size_t ReadMore(std::string& bytes, std::size_t count, const std::string& name) {
    const std::size_t oldSize = bytes.size();
    bytes.resize(oldSize + count);
    ssize_t got = 0;
    do {
      got = ::read(m_fd, bytes.data() + oldSize, count);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
      const int errorNumber = errno;
      bytes.resize(oldSize);
      ThrowSystemError("Cannot read", name, errorNumber);
    }
    bytes.resize(oldSize + static_cast<std::size_t>(got));
    return static_cast<std::size_t>(got);
  }

 private:
  int m_fd = -1;
  std::size_t m_size = 0;
};

// Refuses bytes that hold a NUL.
void CheckPlainText(std::string_view bytes, const std::string& name) {
  if (bytes.find('\0') != std::string_view::npos) {
    throw FileError(name + " is not a plain text file (UTF-16 or binary); save it as plain text");
  }
}

void DropByteOrderMark(std::string& bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.erase(0, kUtf8Bom.size());
}

void DropTrailingEndOfFile(std::string& bytes) {
  std::size_t size = bytes.size();
  while (size > 0 && bytes[size - 1] == kEndOfFile) --size;
  bytes.resize(size);
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
  // strerrordesc_np gives the untranslated text whatever the locale; strerror would follow it.
  if (const char* description = ::strerrordesc_np(errorNumber)) return description;
  return "Unknown error " + FormatNumber(static_cast<double>(errorNumber), kFormatCount);
}

TextFile ReadTextFile(const std::string& path, const std::string& displayPath) {
  const std::string& name = NameInMessages(path, displayPath);
  TextFile file{name, {}};
  OpenFile input(path, name);
  // Room for one byte more than the size, so that the read which sees the end needs no new
  // buffer; a file that grows meanwhile or reports no size (a pipe) is read in further chunks.
  file.Bytes.reserve(input.SizeHint() + 1);
  for (;;) {
    const std::size_t room = file.Bytes.capacity() - file.Bytes.size();
    if (input.ReadMore(file.Bytes, room > 0 ? room : 65536, name) == 0) break;
  }
  CheckPlainText(file.Bytes, name);
  DropByteOrderMark(file.Bytes);
  DropTrailingEndOfFile(file.Bytes);
  return file;
}

std::string ReadFirstLine(const std::string& path, const std::string& displayPath) {
  const std::string& name = NameInMessages(path, displayPath);
  OpenFile input(path, name);
  std::string bytes;
  // The NUL check needs the first kNulCheckLength bytes (or the whole of a shorter file); after
  // that, read in growing chunks only until a line end shows up.
  bool atEnd = false;
  while (bytes.size() < kNulCheckLength && !atEnd) {
    atEnd = input.ReadMore(bytes, kNulCheckLength - bytes.size(), name) == 0;
  }
  std::size_t searchFrom = 0;
  std::size_t lineEnd = bytes.find_first_of("\r\n");
  std::size_t chunk = 16384;
  while (lineEnd == std::string::npos && !atEnd) {
    searchFrom = bytes.size();
    atEnd = input.ReadMore(bytes, chunk, name) == 0;
    lineEnd = bytes.find_first_of("\r\n", searchFrom);
    if (chunk < 1048576) chunk *= 2;
  }
  // The first 4 KiB, and the whole first line when it is longer.
  const std::size_t checked =
      lineEnd == std::string::npos ? bytes.size() : std::max(kNulCheckLength, lineEnd);
  CheckPlainText(std::string_view(bytes).substr(0, checked), name);
  if (lineEnd != std::string::npos) {
    bytes.resize(lineEnd);
  } else {
    DropTrailingEndOfFile(bytes);
  }
  DropByteOrderMark(bytes);
  return bytes;
}

bool LineSplitter::Next(std::string_view& line) {
  const std::size_t size = m_bytes.size();
  if (m_pos >= size) return false;
  const char* data = m_bytes.data();
  // The line ends at the first LF or CR: the next LF (found again only once passed, so that a
  // file of CR line ends is not searched to its end at every line), unless a CR comes before it.
  if (m_lineNumber == 0 || m_nextLineFeed < m_pos) {
    const void* lineFeed = std::memchr(data + m_pos, '\n', size - m_pos);
    m_nextLineFeed = lineFeed != nullptr
                         ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data)
                         : size;
  }
  const std::size_t lfAt = m_nextLineFeed;
  const void* carriageReturn = std::memchr(data + m_pos, '\r', lfAt - m_pos);
  std::size_t end = carriageReturn != nullptr
                        ? static_cast<std::size_t>(static_cast<const char*>(carriageReturn) - data)
                        : lfAt;
  line = m_bytes.substr(m_pos, end - m_pos);
  if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ++end;
  m_pos = end + 1;
  ++m_lineNumber;
  return true;
}

bool IsBlankLine(std::string_view line) {
  for (const char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

}  // namespace modKestralMGA
