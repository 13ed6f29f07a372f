// Write faults, the SQLite way: the mark list's Save in the core, and Save, the joins report and
// the GeoJSON map through the batch program (save --out, compare --report, --pdf and --geojson,
// which hand the file operations to the same core writers), are run again and again while the n-th
// file operation fails (n = 1, 2, ... until a run meets no fault), for a full disk and for an
// input/output error (once: a write of nothing), once and from then on, with and without a short
// write first, each into a regular file and into a FIFO (written in place); every step of the write
// is made to fail in turn. A failed write leaves the earlier file byte for byte (the FIFO a FIFO),
// no other file beside it, the mark list as it was, and exactly one message with the write's title;
// the batch program then exits 2 with that one line and nothing on standard output. In crash mode a
// child process ends at the n-th operation, and the file is then the old one or the new one,
// never a mix; a SIGTERM, SIGINT or SIGHUP there leaves no temporary file either.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <sstream>
#include <tuple>

#include "../unit/FaultyFileOps.h"
#include "../unit/TempFolder.h"
#include "cli/RunCli.h"
#include "cli/StreamMessageSink.h"
#include "common/TextFile.h"
#include "marks/MarkCommands.h"

namespace modKestralMGA {
namespace {

using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kMarks = "tests/data/cli/marks.csv";
const std::string kEarlierFile = "an earlier file\r\n";

// What one write gave: its "<title>: <text>" lines, and the batch program's status and output.
using WriteRun = std::tuple<std::string, int, std::string>;

struct Writer {
  std::string What;
  const char* Title;              // the title of its failure message
  std::string SuccessMessages;    // what a write that succeeded shows
  std::vector<std::string> Args;  // the batch program's, before the path; none: the core's Save
};

const Writer kWriters[] = {
    {"Save", "Save CSV file error", "", {}},
    {"save --out", "Save CSV file error", "", {"save", "--marks", kMarks, "--out"}},
    {"compare --report",
     "Save Joins to file error",
     "Print Joins: Printing completed\n",
     {"compare", "--marks", kMarks, "--plan", "tests/data/cli/good", "--report"}},
    {"compare --pdf",
     "Printing Joins error",
     "Print Joins: Printing completed\n",
     {"compare", "--marks", kMarks, "--plan", "tests/data/cli/good", "--pdf"}},
    {"compare --geojson",
     "Save GeoJSON file error",
     "",
     {"compare", "--marks", kMarks, "--plan", "tests/data/cli/good", "--geojson"}},
};

// The write of writer to path through ops.
WriteRun Write(const Writer& writer, const std::string& path, FileOps& ops) {
  std::ostringstream out, err;
  StreamMessageSink sink(err);
  if (writer.Args.empty()) {
    static MarkList marks;
    if (marks.RowCount() == 0) OpenMarkDetailsFile(kMarks, kMarks, marks, sink);
    const std::vector<MarkRow> before = marks.OwnedRows();
    SaveMarkDetailsFile(path, marks, sink, ops);
    if (marks.OwnedRows() != before) err << "the mark list changed\n";
    return {err.str(), 0, ""};
  }
  std::vector<std::string> args = writer.Args;
  args.push_back(path);
  const int status = RunCli(args, out, err, ops);
  return {err.str(), status, out.str()};
}

// The bytes of a written file without what names the moment it was written: a report's date
// line, a PDF's creation time.
std::string WithoutDate(std::string bytes) {
  for (const auto& [from, to] :
       {std::pair{"Printed on ", '\n'}, std::pair{"/CreationDate (", ')'}}) {
    const std::size_t at = bytes.find(from);
    if (at != std::string::npos) bytes.erase(at, bytes.find(to, at) + 1 - at);
  }
  return bytes;
}

// The target of a run, "target.txt" in a folder: a regular file holding an earlier file, or a
// FIFO (written in place) whose reader is open, so that opening it for writing does not wait.
class Target {
 public:
  Target(const TempFolder& folder, bool fifo) : m_path(folder / "target.txt") {
    if (!fifo) {
      folder.Write("target.txt", kEarlierFile);
      return;
    }
    EXPECT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    m_reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_GT(::fcntl(m_reader, F_SETPIPE_SZ, 1 << 20), 0);
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  ~Target() {
    if (m_reader >= 0) ::close(m_reader);
  }

  const std::string& Path() const { return m_path; }
  // What the target holds: the file's bytes, or what was written into the FIFO since last asked.
  std::string Bytes() const {
    if (m_reader < 0) return ReadBytes(m_path);
    std::string bytes(1 << 20, '\0');
    const ssize_t got = ::read(m_reader, bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
  }
  // After a write that failed: the earlier file as it was, or still the FIFO (a write in place
  // may have passed on part of the bytes).
  void ExpectUnwritten() const {
    struct stat info {};
    if (m_reader < 0) {
      EXPECT_EQ(ReadBytes(m_path), kEarlierFile);
    } else {
      EXPECT_TRUE(::lstat(m_path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
    }
  }

 private:
  std::string m_path;
  int m_reader = -1;
};

// Fails every operation of writer's write in turn, for a full disk and an input/output error (a
// write of nothing when it fails once), once and from then on, with and without a short write
// first.
void FailEveryOperation(const Writer& writer, bool fifo) {
  SCOPED_TRACE(writer.What + (fifo ? " into a FIFO" : ""));
  TempFolder clean;
  const Target cleanTarget(clean, fifo);
  const WriteRun cleanRun = Write(writer, cleanTarget.Path(), SystemFileOps());
  ASSERT_EQ(std::get<0>(cleanRun), writer.SuccessMessages);
  const std::string newBytes = WithoutDate(cleanTarget.Bytes());
  ASSERT_NE(newBytes, "");
  for (int way = 0; way < 8; ++way) {
    const int error = way < 4 ? ENOSPC : EIO;
    const bool fromThenOn = (way & 1) != 0, shortFirst = (way & 2) != 0;
    bool passed = false;
    std::set<std::string> failedSteps;
    for (int n = 1; !passed; ++n) {
      ASSERT_LT(n, 40) << "a write that never passes";
      SCOPED_TRACE(SystemErrorText(error) + (fromThenOn ? ", from then on" : ", once") +
                   (shortFirst ? ", short write first" : "") + ", failing operation " +
                   std::to_string(n));
      TempFolder folder;
      const Target target(folder, fifo);
      const std::string& path = target.Path();
      FaultyFileOps ops({.FailAt = n,
                         .FromThenOn = fromThenOn,
                         .ShortFirstWrite = shortFirst,
                         .FailedWriteWritesNothing = error == EIO && !fromThenOn,
                         .ErrorNumber = error});
      const WriteRun run = Write(writer, path, ops);
      failedSteps.insert(ops.FirstFailure());
      EXPECT_EQ(folder.Names(), std::set<std::string>{"target.txt"});
      // A fault past the last operation, or in the folder sync after the rename, finds the
      // new file in place.
      if (ops.FirstFailure().empty() || ops.FirstFailure() == "SyncFolder") {
        passed = ops.FirstFailure().empty();
        EXPECT_EQ(WithoutDate(target.Bytes()), newBytes);
        EXPECT_EQ(run, cleanRun);
        continue;
      }
      target.ExpectUnwritten();
      EXPECT_EQ(run, WriteRun(std::string(writer.Title) + ": Cannot write " + path + ": " +
                                  SystemErrorText(error) + "\n",
                              writer.Args.empty() ? 0 : 2, ""));
    }
    EXPECT_EQ(failedSteps,
              (fifo ? std::set<std::string>{"", "StatTarget", "OpenInPlace", "Write", "Close"}
                    : std::set<std::string>{"", "StatTarget", "CreateTemp", "CopyMode", "Write",
                                            "Sync", "Close", "Rename", "SyncFolder"}));
  }
}

TEST(WriteFaults, EveryFailedOperationLeavesTheEarlierFileOrTheNewOne) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  for (const Writer& writer : kWriters) {
    for (const bool fifo : {false, true}) FailEveryOperation(writer, fifo);
  }
}

// A crash at any operation leaves the old file or the new one, never a mix; what a crash can
// leave beside it is the temporary file. A SIGTERM, SIGINT or SIGHUP there (each operation in
// turn meets the next of the three), in a process that removes its temporary file on them, ends
// the process by that signal with the old file or the new one and nothing beside it.
TEST(WriteFaults, ACrashOrASignalAtAnyOperationLeavesTheEarlierFileOrTheNewOne) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
  for (const Writer& writer : kWriters) {
    TempFolder clean;
    Write(writer, Target(clean, false).Path(), SystemFileOps());
    const std::string newBytes = WithoutDate(ReadBytes(clean / "target.txt"));
    for (const bool signalled : {false, true}) {
      for (int n = 1, finished = 0; !finished; ++n) {
        ASSERT_LT(n, 40) << writer.What;
        const int signalNumber = signalled ? kSignals[n % 3] : 0;
        SCOPED_TRACE(
            writer.What +
            (signalled ? ", signal " + std::to_string(signalNumber) : std::string(", crash")) +
            " at operation " + std::to_string(n));
        TempFolder folder;
        const std::string path = Target(folder, false).Path();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
          if (signalled) RemoveTemporaryFileOnSignals();
          FaultyFileOps ops({.FailAt = n, .Crash = !signalled, .Signal = signalNumber});
          Write(writer, path, ops);
          ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        ASSERT_TRUE(finished || (signalled ? WIFSIGNALED(status) && WTERMSIG(status) == signalNumber
                                           : WIFEXITED(status) && WEXITSTATUS(status) ==
                                                                      FaultyFileOps::kCrashStatus))
            << status;
        const std::string bytes = WithoutDate(ReadBytes(path));
        EXPECT_TRUE(finished ? bytes == newBytes : bytes == kEarlierFile || bytes == newBytes);
        for (const std::string& name : folder.Names()) {
          EXPECT_TRUE(name == "target.txt" || (!signalled && name.starts_with(".kestral-")))
              << name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
