// Replacing a file atomically while the file operations fail as the input's first bytes say:
// after a failure the old file is byte for byte as it was and no temporary file is left (unless
// removing it failed too), and the message names the first failure; after a success the file
// holds the new bytes.
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextFile.h"

namespace modKestralMGA::fuzz {

namespace {

// One byte of the schedule per operation, in the order asked for; operations past the schedule
// pass. The low three bits: 0 to 3 pass, 4 to 7 fail with ENOSPC, EFBIG, EIO or EACCES. For a
// write, bit 3 makes it short (it writes part of what it is given, how much taken from the high
// bits), and a failing write with bit 4 writes nothing instead of failing, with bit 5 reports
// more than it was given.
constexpr std::size_t kScheduleLength = 24;
constexpr int kErrors[4] = {ENOSPC, EFBIG, EIO, EACCES};

class ScheduledFileOps final : public FileOps {
 public:
  explicit ScheduledFileOps(std::string_view schedule) : m_schedule(schedule) {}

  // The description of the first failure ("" when none).
  const std::string& FirstFailure() const { return m_firstFailure; }
  bool FirstFailureWasFolderSync() const { return m_firstFailureName == "SyncFolder"; }
  bool RemoveTempFailed() const { return m_removeTempFailed; }

  int CreateTemp(const std::string& folder, std::string& tempPath) override {
    if (const int error = Next("CreateTemp")) return -error;
    return m_real.CreateTemp(folder, tempPath);
  }
  long Write(int fd, const char* data, std::size_t size) override {
    const unsigned char code =
        m_pos < m_schedule.size() ? static_cast<unsigned char>(m_schedule[m_pos]) : 0;
    if (const int error = Next("Write")) {
      // A write that reports no progress, or more than it was given, is a failure of its own
      // (Input/output error) rather than the error number drawn.
      if ((code & 0x30) != 0 && m_failures == 1) m_firstFailure = SystemErrorText(EIO);
      if ((code & 0x10) != 0) return 0;
      if ((code & 0x20) != 0) return static_cast<long>(size) + 1;
      return -error;
    }
    if ((code & 0x08) != 0 && size > 1) {
      const std::size_t part = 1 + (static_cast<std::size_t>(code >> 4) * size) / 16 % (size - 1);
      return m_real.Write(fd, data, part);
    }
    return m_real.Write(fd, data, size);
  }
  int Sync(int fd) override {
    if (const int error = Next("Sync")) return -error;
    return m_real.Sync(fd);
  }
  int Close(int fd) override {
    const int result = m_real.Close(fd);  // a failing close still releases the descriptor
    if (const int error = Next("Close")) return -error;
    return result;
  }
  int CopyMode(int fd, mode_t mode) override {
    if (const int error = Next("CopyMode")) return -error;
    return m_real.CopyMode(fd, mode);
  }
  int Rename(const std::string& from, const std::string& to) override {
    if (const int error = Next("Rename")) return -error;
    return m_real.Rename(from, to);
  }
  int SyncFolder(const std::string& folder) override {
    if (const int error = Next("SyncFolder")) return -error;
    return m_real.SyncFolder(folder);
  }
  int RemoveTemp(const std::string& path) override {
    if (const int error = Next("RemoveTemp")) {
      m_removeTempFailed = true;
      return -error;
    }
    return m_real.RemoveTemp(path);
  }
  int StatTarget(const std::string& target, bool& exists, mode_t& mode) override {
    if (const int error = Next("StatTarget")) return -error;
    return m_real.StatTarget(target, exists, mode);
  }
  int OpenInPlace(const std::string& target) override {
    if (const int error = Next("OpenInPlace")) return -error;
    return m_real.OpenInPlace(target);
  }

 private:
  // The error number the next operation fails with, 0 when it passes.
  int Next(const char* name) {
    const unsigned char code =
        m_pos < m_schedule.size() ? static_cast<unsigned char>(m_schedule[m_pos]) : 0;
    ++m_pos;
    if ((code & 0x07) < 4) return 0;
    const int error = kErrors[(code & 0x07) - 4];
    if (++m_failures == 1) {
      m_firstFailure = SystemErrorText(error);
      m_firstFailureName = name;
    }
    return error;
  }

  std::string_view m_schedule;
  std::size_t m_pos = 0;
  FileOps& m_real = SystemFileOps();
  std::string m_firstFailure;
  std::string m_firstFailureName;
  bool m_removeTempFailed = false;
  int m_failures = 0;
};

}  // namespace

int FuzzAtomicWrite(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);
  if (input.empty()) return 0;
  const std::string_view schedule = input.substr(1, kScheduleLength);
  const std::string_view newBytes =
      input.size() > kScheduleLength + 1 ? input.substr(kScheduleLength + 1) : std::string_view();
  const bool targetExists = (input[0] & 1) != 0;

  const std::string folder = ScratchFolder() + "/atomic";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  const std::string target = folder + "/marks.csv";
  const std::string oldBytes = "6628,1001,,,,54,280000.000,6130000.000\r\n";
  if (targetExists) WriteScratchFile("atomic/marks.csv", oldBytes);
  const std::vector<std::string> namesBefore = FolderNames(folder);

  ScheduledFileOps ops(schedule);
  bool failed = false;
  try {
    AtomicWriteFile(target, newBytes, ops);
  } catch (const FileError& error) {
    failed = true;
    Require(!ops.FirstFailure().empty(), "a write fails only when an operation failed");
    const std::string reported = error.what();
    Require(reported == "Cannot write " + target + ": " + ops.FirstFailure(),
            "the message names the first failure");
  }
  bool exists = false;
  const std::string after = ReadWholeFile(target, exists);
  if (failed) {
    Require(exists == targetExists && (!exists || after == oldBytes),
            "a failed write leaves the old file as it was");
    Require(ops.RemoveTempFailed() || FolderNames(folder) == namesBefore,
            "a failed write leaves no temporary file");
  } else {
    Require(ops.FirstFailure().empty() || ops.FirstFailureWasFolderSync(),
            "only a failed folder sync after the rename lets the write succeed");
    Require(exists && after == newBytes, "a write that succeeded leaves the new bytes");
    Require(FolderNames(folder) == std::vector<std::string>{"marks.csv"},
            "a write that succeeded leaves no temporary file");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
