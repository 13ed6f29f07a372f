#pragma once

// File operations that fail on purpose: they pass every operation on to the system's, except
// that the n-th one (counting from 1) fails, once or from then on, or ends the process there as
// a crash would, or raises a signal there (and then carries on). Tests loop n = 1, 2, ... to fail
// every step of a write in turn.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "common/AtomicFile.h"

namespace modKestralMGA::testsupport {

class FaultyFileOps final : public FileOps {
 public:
  struct Plan {
    int FailAt = 0;                         // the operation that fails first (1-based; 0: none)
    bool FromThenOn = false;                // every later operation fails too
    bool ShortFirstWrite = false;           // the first write writes only part of what it is given
    bool FailedWriteWritesNothing = false;  // a failing write returns 0 instead of an error
    bool SpareRemoveTemp = true;  // removing the temporary file never fails (it would be left)
    int ErrorNumber = EIO;
    bool Crash = false;  // the process ends (_exit(kCrashStatus)) where the operation would fail
    int Signal = 0;      // raised at the process where the operation would fail, which then runs
  };
  // The exit status of a process ended by a planned crash.
  static constexpr int kCrashStatus = 86;

  explicit FaultyFileOps(Plan plan, FileOps& real = SystemFileOps()) : m_plan(plan), m_real(real) {}

  // The name of the first operation made to fail ("" when none failed).
  const std::string& FirstFailure() const { return m_firstFailure; }

  int CreateTemp(const std::string& folder, std::string& tempPath) override {
    return Fails("CreateTemp") ? -m_plan.ErrorNumber : m_real.CreateTemp(folder, tempPath);
  }
  long Write(int fd, const char* data, std::size_t size) override {
    if (Fails("Write")) return m_plan.FailedWriteWritesNothing ? 0 : -m_plan.ErrorNumber;
    if (m_plan.ShortFirstWrite && !m_shortWriteDone && size > 1) {
      m_shortWriteDone = true;
      return m_real.Write(fd, data, size / 2);
    }
    return m_real.Write(fd, data, size);
  }
  int Sync(int fd) override { return Fails("Sync") ? -m_plan.ErrorNumber : m_real.Sync(fd); }
  int Close(int fd) override {
    // A failing close still releases the descriptor, as on Linux.
    const int result = m_real.Close(fd);
    return Fails("Close") ? -m_plan.ErrorNumber : result;
  }
  int CopyMode(int fd, mode_t mode) override {
    return Fails("CopyMode") ? -m_plan.ErrorNumber : m_real.CopyMode(fd, mode);
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Fails("Rename") ? -m_plan.ErrorNumber : m_real.Rename(from, to);
  }
  int SyncFolder(const std::string& folder) override {
    return Fails("SyncFolder") ? -m_plan.ErrorNumber : m_real.SyncFolder(folder);
  }
  int RemoveTemp(const std::string& path) override {
    if (!m_plan.SpareRemoveTemp && Fails("RemoveTemp")) return -m_plan.ErrorNumber;
    if (m_plan.SpareRemoveTemp) ++m_count;
    return m_real.RemoveTemp(path);
  }
  int OpenInPlace(const std::string& target) override {
    return Fails("OpenInPlace") ? -m_plan.ErrorNumber : m_real.OpenInPlace(target);
  }
  int StatTarget(const std::string& target, bool& exists, mode_t& mode) override {
    return Fails("StatTarget") ? -m_plan.ErrorNumber : m_real.StatTarget(target, exists, mode);
  }

 private:
  // Counts the operation and tells whether it is to fail.
  bool Fails(const char* name) {
    ++m_count;
    const bool fails = m_plan.FailAt > 0 &&
                       (m_count == m_plan.FailAt || (m_plan.FromThenOn && m_count > m_plan.FailAt));
    if (fails && m_plan.Crash) ::_exit(kCrashStatus);
    if (fails && m_plan.Signal != 0) {
      ::raise(m_plan.Signal);
      return false;
    }
    if (fails && m_firstFailure.empty()) m_firstFailure = name;
    return fails;
  }

  Plan m_plan;
  FileOps& m_real;
  int m_count = 0;
  bool m_shortWriteDone = false;
  std::string m_firstFailure;
};

}  // namespace modKestralMGA::testsupport
