// Write faults, the SQLite way: the mark list's Save in the core, and Save and the saved joins
// report through the batch program (save --out, compare --report, which hand the file operations
// to the same core writers), are run again and again while the n-th file operation fails (n = 1,
// 2, ... until a run meets no fault), for each error, once and from then on, with and without a
// short write first. A failed write leaves the earlier file byte for byte, no other file beside
// it, the mark list as it was, and exactly one message with the write's title; the batch program
// then exits 2 with that one line and nothing on standard output. In crash mode a child process
// ends at the n-th operation, and the file is then the old one or the new one, never a mix.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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
};

// The write of writer to path through ops.
WriteRun Write(const Writer& writer, const std::string& path, FileOps& ops) {
  std::ostringstream out, err;
  StreamMessageSink sink(err);
  if (writer.Args.empty()) {
    static MarkList marks;
    if (marks.RowCount() == 0) OpenMarkDetailsFile(kMarks, kMarks, marks, sink);
    const std::vector<MarkRow> before = marks.Rows();
    SaveMarkDetailsFile(path, marks, sink, ops);
    if (marks.Rows() != before) err << "the mark list changed\n";
    return {err.str(), 0, ""};
  }
  std::vector<std::string> args = writer.Args;
  args.push_back(path);
  const int status = RunCli(args, out, err, ops);
  return {err.str(), status, out.str()};
}

// The bytes of a report without its date line, which names the day it was written.
std::string WithoutDateLine(std::string bytes) {
  const std::size_t date = bytes.find("Printed on ");
  if (date != std::string::npos) bytes.erase(date, bytes.find('\n', date) + 1 - date);
  return bytes;
}

TEST(WriteFaults, EveryFailedOperationOrCrashLeavesTheEarlierFileOrTheNewOne) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  for (const Writer& writer : kWriters) {
    TempFolder clean;
    const WriteRun cleanRun = Write(writer, clean / "target.txt", SystemFileOps());
    ASSERT_EQ(std::get<0>(cleanRun), writer.SuccessMessages) << writer.What;
    const std::string newBytes = WithoutDateLine(ReadBytes(clean / "target.txt"));
    // Each error, once or from then on, with or without a short write first.
    for (int way = 0; way < 16; ++way) {
      const int error = std::vector{ENOSPC, EFBIG, EIO, EACCES}[static_cast<std::size_t>(way / 4)];
      const bool fromThenOn = (way & 1) != 0, shortFirst = (way & 2) != 0;
      bool passed = false;
      for (int n = 1; !passed; ++n) {
        ASSERT_LT(n, 40) << writer.What << ": a write that never passes";
        SCOPED_TRACE(writer.What + ", " + SystemErrorText(error) +
                     (fromThenOn ? ", from then on" : ", once") +
                     (shortFirst ? ", short write first" : "") + ", failing operation " +
                     std::to_string(n));
        TempFolder folder;
        const std::string path = folder.Write("target.txt", kEarlierFile);
        FaultyFileOps ops({.FailAt = n,
                           .FromThenOn = fromThenOn,
                           .ShortFirstWrite = shortFirst,
                           .ErrorNumber = error});
        const WriteRun run = Write(writer, path, ops);
        EXPECT_EQ(folder.Names(), std::set<std::string>{"target.txt"});
        // A fault past the last operation, or in the folder sync after the rename, finds the
        // new file in place.
        if (ops.FirstFailure().empty() || ops.FirstFailure() == "SyncFolder") {
          passed = ops.FirstFailure().empty();
          EXPECT_EQ(WithoutDateLine(ReadBytes(path)), newBytes);
          EXPECT_EQ(run, cleanRun);
          continue;
        }
        EXPECT_EQ(ReadBytes(path), kEarlierFile);
        EXPECT_EQ(run, WriteRun(std::string(writer.Title) + ": Cannot write " + path + ": " +
                                    SystemErrorText(error) + "\n",
                                writer.Args.empty() ? 0 : 2, ""));
      }
    }
    // A crash at any operation leaves the old file or the new one, never a mix; what a crash can
    // leave beside it is the temporary file.
    for (int n = 1, finished = 0; !finished; ++n) {
      ASSERT_LT(n, 40) << writer.What;
      SCOPED_TRACE(writer.What + ", crash at operation " + std::to_string(n));
      TempFolder folder;
      const std::string path = folder.Write("target.txt", kEarlierFile);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        FaultyFileOps ops({.FailAt = n, .Crash = true});
        Write(writer, path, ops);
        ::_exit(0);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      finished = WEXITSTATUS(status) == 0;
      ASSERT_TRUE(finished || WEXITSTATUS(status) == FaultyFileOps::kCrashStatus) << status;
      const std::string bytes = WithoutDateLine(ReadBytes(path));
      EXPECT_TRUE(finished ? bytes == newBytes : bytes == kEarlierFile || bytes == newBytes);
      for (const std::string& name : folder.Names()) {
        EXPECT_TRUE(name == "target.txt" || name.starts_with(".kestral-")) << name;
      }
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
