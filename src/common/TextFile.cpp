#include "common/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "common/Errors.h"
#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

// A file with a NUL byte is UTF-16 or binary, not a text file: the first 4 KiB decide, and
// reading only the first line looks at least this far for one.
constexpr std::size_t kNulCheckLength = 4096;
// What a pipe or a device is read by, and a file beyond the size it had when it was opened.
constexpr std::size_t kChunkLength = std::size_t{1} << 20;
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

// The refusals of what a reader reads, with the name and kind of file that their messages give.
struct Refusals {
  const std::string& Name;
  std::string_view Kind;
  std::size_t MaxBytes;

  void CheckSize(std::size_t size) const {
    if (size > MaxBytes) {
      throw FileError("File too large to be a " + std::string(Kind) + ": " + Name);
    }
  }
  void CheckPlainText(std::string_view bytes) const {
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
      throw FileError(Name + " is not a plain text file (UTF-16 or binary); save it as plain text");
    }
  }
};

// An open file descriptor, closed when it goes out of scope.
class OpenFile {
 public:
  // Opens path for reading; a folder is refused as "Is a directory".
  OpenFile(const std::string& path, const std::string& name) : m_name(name) {
    do {
      m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) ThrowSystemError("Cannot open", name, errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
      const int errorNumber = errno;
      ::close(m_fd);
      ThrowSystemError("Cannot open", name, errorNumber);
    }
    if (S_ISDIR(info.st_mode)) {
      ::close(m_fd);
      ThrowSystemError("Cannot open", name, EISDIR);
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) m_size = static_cast<std::size_t>(info.st_size);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { ::close(m_fd); }

  // The size of a regular file when it was opened (0 when unknown: a pipe, a device).
  std::size_t SizeHint() const { return m_size; }

  // Reads into bytes until it holds size bytes or the file ends; bytes has room for them. The
  // room is made once, however many reads a pipe takes to fill it.
  void FillTo(ByteBuffer& bytes, std::size_t size) {
    std::size_t filled = bytes.size();
    bytes.resize(size);  // not filled: the read writes it
    while (filled < size) {
      ssize_t got = 0;
      do {
        got = ::read(m_fd, bytes.data() + filled, size - filled);
      } while (got < 0 && errno == EINTR);
      if (got < 0) {
        const int errorNumber = errno;
        bytes.resize(filled);
        ThrowSystemError("Cannot read", m_name, errorNumber);
      }
      if (got == 0) break;
      filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
  }

 private:
  int m_fd = -1;
  std::size_t m_size = 0;
  const std::string& m_name;
};

// The bytes read from a file so far: a first buffer, which holds the whole of a file whose size is
// known, and chunks of fixed size for what does not fit it, joined once at the end. No buffer
// is ever doubled: memory stays close to the size of what is read.
class ChunkedBytes {
 public:
  // Reads firstCapacity bytes into a first buffer made with room for room bytes (at least
  // firstCapacity), the rest in chunks.
  explicit ChunkedBytes(std::size_t firstCapacity, std::size_t room = 0)
      : m_firstCapacity(firstCapacity) {
    m_first.reserve(std::max(firstCapacity, room));
  }

  std::size_t Size() const { return m_size; }

  // Reads up to length more bytes (fewer at the end of a buffer or of the file); returns them,
  // empty at the end of the file.
  std::string_view ReadMore(OpenFile& input, std::size_t length) {
    ByteBuffer* target = &m_first;
    std::size_t capacity = m_firstCapacity;
    if (m_first.size() >= m_firstCapacity) {
      if (m_chunks.empty() || m_chunks.back().size() >= kChunkLength) {
        m_chunks.emplace_back().reserve(kChunkLength);
      }
      target = &m_chunks.back();
      capacity = kChunkLength;
    }
    const std::size_t from = target->size();
    input.FillTo(*target, from + std::min(length, capacity - from));
    m_size += target->size() - from;
    return target->view().substr(from);
  }

  // All the bytes read, each chunk let go as soon as it is copied.
  ByteBuffer Join() {
    if (!m_chunks.empty()) {
      m_first.reserve(m_size);
      for (ByteBuffer& chunk : m_chunks) {
        m_first.append(chunk.view());
        ByteBuffer().swap(chunk);
      }
    }
    return std::move(m_first);
  }

 private:
  ByteBuffer m_first;
  std::size_t m_firstCapacity;
  std::vector<ByteBuffer> m_chunks;
  std::size_t m_size = 0;
};

void DropByteOrderMark(ByteBuffer& bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.erase_front(kUtf8Bom.size());
}

void DropTrailingEndOfFile(ByteBuffer& bytes) {
  std::size_t size = bytes.size();
  while (size > 0 && bytes.data()[size - 1] == kEndOfFile) --size;
  bytes.resize(size);
}

// How much to read next: a chunk, but never more than one byte past the largest size taken.
std::size_t NextLength(const ChunkedBytes& bytes, const Refusals& refuse) {
  return std::min(kChunkLength, refuse.MaxBytes + 1 - bytes.Size());
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
  // strerrordesc_np gives the untranslated text whatever the locale; strerror would follow it.
  if (const char* description = ::strerrordesc_np(errorNumber)) return description;
  return "Unknown error " + FormatNumber(static_cast<double>(errorNumber), kFormatCount);
}

TextFile ReadTextFile(const std::string& path, const std::string& displayPath,
                      std::string_view kind, std::size_t maxBytes, std::size_t roomPerByte) {
  const std::string& name = NameInMessages(path, displayPath);
  const Refusals refuse{name, kind, maxBytes};
  OpenFile input(path, name);
  refuse.CheckSize(input.SizeHint());
  // A file of known size is read into one buffer with room for one byte more, so that the read
  // which sees the end needs no other; a file that grows meanwhile, a pipe or a device in chunks.
  const std::size_t size = input.SizeHint();
  ChunkedBytes bytes(size > 0 ? size + 1 : kChunkLength, size * roomPerByte + 1);
  // The first 4 KiB decide whether the file is text at all; every later chunk is checked as soon
  // as it is read, so that neither a binary file nor a source that never ends is read whole.
  std::size_t length = kNulCheckLength;
  for (std::string_view piece; !(piece = bytes.ReadMore(input, length)).empty();) {
    refuse.CheckPlainText(piece);
    refuse.CheckSize(bytes.Size());
    length = NextLength(bytes, refuse);
  }
  TextFile file{name, bytes.Join()};
  DropByteOrderMark(file.Bytes);
  DropTrailingEndOfFile(file.Bytes);
  return file;
}

std::string ReadFirstLine(const std::string& path, const std::string& displayPath,
                          std::string_view kind, std::size_t maxBytes) {
  const std::string& name = NameInMessages(path, displayPath);
  const Refusals refuse{name, kind, maxBytes};
  OpenFile input(path, name);
  refuse.CheckSize(input.SizeHint());
  ChunkedBytes bytes(kNulCheckLength);
  // The first 4 KiB are checked whole (or the whole of a shorter file); past them, read only
  // until a line end shows up, and check only up to it.
  std::size_t lineEnd = std::string::npos;
  std::size_t length = kNulCheckLength;
  for (std::string_view piece; !(piece = bytes.ReadMore(input, length)).empty();) {
    const std::size_t end = piece.find_first_of("\r\n");
    refuse.CheckPlainText(bytes.Size() <= kNulCheckLength ? piece : piece.substr(0, end));
    if (end != std::string_view::npos) {
      lineEnd = bytes.Size() - piece.size() + end;
      break;
    }
    refuse.CheckSize(bytes.Size());
    length = NextLength(bytes, refuse);
  }
  ByteBuffer line = bytes.Join();
  if (lineEnd != std::string::npos) {
    line.resize(lineEnd);
  } else {
    DropTrailingEndOfFile(line);
  }
  DropByteOrderMark(line);
  return line.str();
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
