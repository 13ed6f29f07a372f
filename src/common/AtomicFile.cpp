#include "common/AtomicFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>
#include <vector>

#include "common/Errors.h"
#include "common/TextFile.h"

namespace modKestralMGA {

namespace {

constexpr int kMaxLinkHops = 40;
// The largest piece handed to one write: Linux writes at most about 2 GiB at a time anyway.
constexpr std::size_t kMaxWriteChunk = std::size_t{1} << 30;

class PosixFileOps final : public FileOps {
 public:
  int CreateTemp(const std::string& folder, std::string& tempPath) override {
    std::string pattern = folder + "/.kestral-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) return -errno;
    tempPath.assign(buffer.data());
    return fd;
  }
  long Write(int fd, const char* data, std::size_t size) override {
    ssize_t written = 0;
    do {
      written = ::write(fd, data, size);
    } while (written < 0 && errno == EINTR);
    return written < 0 ? -errno : static_cast<long>(written);
  }
  int Sync(int fd) override { return ::fsync(fd) == 0 ? 0 : -errno; }
  // No retry on EINTR: Linux releases the descriptor whatever close reports.
  int Close(int fd) override { return ::close(fd) == 0 ? 0 : -errno; }
  int CopyMode(int fd, mode_t mode) override { return ::fchmod(fd, mode) == 0 ? 0 : -errno; }
  int Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : -errno;
  }
  int SyncFolder(const std::string& folder) override {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -errno;
    const int result = ::fsync(fd) == 0 ? 0 : -errno;
    ::close(fd);
    return result;
  }
  int RemoveTemp(const std::string& path) override {
    return ::unlink(path.c_str()) == 0 ? 0 : -errno;
  }
  int OpenInPlace(const std::string& target) override {
    int fd = -1;
    do {
      fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd < 0 ? -errno : fd;
  }
  int StatTarget(const std::string& target, bool& exists, mode_t& mode) override {
    struct stat info {};
    exists = false;
    mode = 0;
    if (::stat(target.c_str(), &info) != 0) return errno == ENOENT ? 0 : -errno;
    exists = true;
    mode = info.st_mode;
    return 0;
  }
};

[[noreturn]] void ThrowWriteError(const std::string& path, int errorNumber) {
  throw FileError("Cannot write " + path + ": " + SystemErrorText(errorNumber));
}

// The folder part of path: "." for a bare name, "/" for a name in the root folder.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file that writing to path replaces: path itself, or the file its chain of symbolic links
// ends at (which need not exist yet), in target. 0, or the error number when a link cannot be read.
int FollowLinks(const std::string& path, std::string& target) {
  target = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    ssize_t length = 0;
    // readlink fills the whole buffer when the link text may have been cut: grow and retry.
    while ((length = ::readlink(target.c_str(), buffer.data(), buffer.size())) >= 0 &&
           static_cast<std::size_t>(length) == buffer.size()) {
      buffer.resize(buffer.size() * 2);
    }
    if (length < 0) return errno;
    const std::string link(buffer.data(), static_cast<std::size_t>(length));
    target = link.starts_with('/') ? link : FolderOf(target) + "/" + link;
  }
  return ELOOP;
}

// The process's umask, read without changing it: from the "Umask:" line of /proc/self/status
// when that is there, else by setting it and putting it back at once.
mode_t CurrentUmask() {
  const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    std::string status(8192, '\0');
    const ssize_t length = ::read(fd, status.data(), status.size());
    ::close(fd);
    status.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t field = status.find("\nUmask:");
    if (field != std::string::npos) {
      std::size_t pos = status.find_first_not_of(" \t", field + 7);
      mode_t mask = 0;
      bool digits = false;
      for (; pos < status.size() && status[pos] >= '0' && status[pos] <= '7'; ++pos) {
        mask = static_cast<mode_t>(mask * 8 + static_cast<mode_t>(status[pos] - '0'));
        digits = true;
      }
      if (digits) return mask & 0777;
    }
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// The temporary file of a replacement under way, for the signal handler: the name is copied into
// a fixed buffer before the flag is set, and the handler reads it only while the flag is set.
// Both change only while the cleanup signals are blocked.
std::array<char, 4096> g_pendingTemp{};
volatile std::sig_atomic_t g_pendingTempSet = 0;

constexpr std::array kCleanupSignals{SIGTERM, SIGINT, SIGHUP};

// Blocks the cleanup signals for its lifetime; one that arrives meanwhile is taken afterwards.
class CleanupSignalsBlocked {
 public:
  CleanupSignalsBlocked() {
    sigset_t signals;
    ::sigemptyset(&signals);
    for (const int signalNumber : kCleanupSignals) ::sigaddset(&signals, signalNumber);
    ::pthread_sigmask(SIG_BLOCK, &signals, &m_previous);
  }
  CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
  CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;
  ~CleanupSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

 private:
  sigset_t m_previous{};
};

// A name too long for the buffer is not kept (a signal then leaves that temporary file).
void MarkPendingTemp(const std::string& tempPath) {
  if (tempPath.size() >= g_pendingTemp.size()) return;
  std::memcpy(g_pendingTemp.data(), tempPath.c_str(), tempPath.size() + 1);
  g_pendingTempSet = 1;
}

void UnmarkPendingTemp() {
  g_pendingTempSet = 0;
}

// Async-signal-safe: removes the pending temporary file, then raises the signal again under its
// default action (restored on entry by SA_RESETHAND), which ends the process as it would have.
void RemovePendingTempAndEnd(int signalNumber) {
  if (g_pendingTempSet != 0) ::unlink(g_pendingTemp.data());
  ::raise(signalNumber);
}

// Writes all of bytes to fd, continuing short writes: 0, or the error number of the first write
// that fails (EIO for one that makes no progress).
int WriteAll(FileOps& ops, int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t piece = std::min(bytes.size() - done, kMaxWriteChunk);
    const long written = ops.Write(fd, bytes.data() + done, piece);
    if (written < 0) return static_cast<int>(-written);
    if (written == 0 || static_cast<std::size_t>(written) > piece) return EIO;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

FileOps& SystemFileOps() {
  static PosixFileOps ops;
  return ops;
}

void AtomicWriteFile(const std::string& path, std::string_view bytes, FileOps& ops) {
  AtomicFileWriter file(path, ops);
  file.Write(bytes);
  file.Commit();
}

AtomicFileWriter::AtomicFileWriter(std::string path, FileOps& ops)
    : m_path(std::move(path)), m_ops(ops) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (m_fd >= 0 || !m_tempPath.empty()) Fail(0);
}

// A regular file, or none yet, is replaced by a temporary file in its folder with the permission
// bits of the file it replaces (a new file: 0666 less the umask); any other existing file but a
// folder is opened in place.
void AtomicFileWriter::Open() {
  m_opened = true;
  if (const int result = FollowLinks(m_path, m_target); result != 0) return Fail(result);
  bool exists = false;
  mode_t mode = 0;
  if (const int result = m_ops.StatTarget(m_target, exists, mode); result < 0) {
    return Fail(-result);
  }
  if (exists && S_ISDIR(mode)) return Fail(EISDIR);
  if (exists && !S_ISREG(mode)) {
    m_inPlace = true;
    const int fd = m_ops.OpenInPlace(m_target);
    if (fd < 0) return Fail(-fd);
    m_fd = fd;
    return;
  }
  int fd = -1;
  {
    const CleanupSignalsBlocked blocked;
    fd = m_ops.CreateTemp(FolderOf(m_target), m_tempPath);
    if (fd >= 0) MarkPendingTemp(m_tempPath);
  }
  if (fd < 0) {
    m_tempPath.clear();
    return Fail(-fd);
  }
  m_fd = fd;
  const mode_t kept = exists ? (mode & 07777) : (0666 & ~CurrentUmask());
  if (const int result = m_ops.CopyMode(m_fd, kept); result < 0) Fail(-result);
}

// Keeps the first failure (0: none, the content given up) and closes and removes what is open;
// the target is untouched.
void AtomicFileWriter::Fail(int errorNumber) {
  if (m_error == 0) m_error = errorNumber;
  if (m_fd >= 0) m_ops.Close(m_fd);
  m_fd = -1;
  if (!m_tempPath.empty()) {
    const CleanupSignalsBlocked blocked;
    m_ops.RemoveTemp(m_tempPath);
    UnmarkPendingTemp();
  }
  m_tempPath.clear();
}

void AtomicFileWriter::Write(std::string_view bytes) {
  if (!m_opened) Open();
  if (m_error != 0) return;
  // A write that fails or makes no progress ends the attempt; a short one is continued.
  if (const int writeError = WriteAll(m_ops, m_fd, bytes); writeError != 0) Fail(writeError);
}

void AtomicFileWriter::Commit() {
  if (!m_opened) Open();
  if (m_error != 0) ThrowWriteError(m_path, m_error);
  const int fd = std::exchange(m_fd, -1);
  if (m_inPlace) {
    // A device or FIFO may not support a sync.
    if (const int closed = m_ops.Close(fd); closed < 0) ThrowWriteError(m_path, -closed);
    return;
  }
  if (const int result = m_ops.Sync(fd); result < 0) {
    m_fd = fd;
    Fail(-result);
    ThrowWriteError(m_path, m_error);
  }
  int result = m_ops.Close(fd);
  if (result >= 0) {
    const CleanupSignalsBlocked blocked;
    result = m_ops.Rename(m_tempPath, m_target);
    if (result >= 0) UnmarkPendingTemp();
  }
  if (result < 0) {
    Fail(-result);
    ThrowWriteError(m_path, m_error);
  }
  m_tempPath.clear();
  // The target holds the new bytes from here on: a failing folder sync cannot put the old file
  // back, so it is not reported (only the rename's survival of a power failure is less sure).
  m_ops.SyncFolder(FolderOf(m_target));
}

void RemoveTemporaryFileOnSignals() {
  struct sigaction action {};
  action.sa_handler = RemovePendingTempAndEnd;
  ::sigemptyset(&action.sa_mask);
  for (const int signalNumber : kCleanupSignals) ::sigaddset(&action.sa_mask, signalNumber);
  action.sa_flags = static_cast<int>(SA_RESETHAND);  // the flag is the sign bit of the int field
  for (const int signalNumber : kCleanupSignals) {
    struct sigaction previous {};
    if (::sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
      continue;
    }
    ::sigaction(signalNumber, &action, nullptr);
  }
}

}  // namespace modKestralMGA
