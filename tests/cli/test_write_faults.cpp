// Write faults, the SQLite way: the mark list's Save and the saved joins report, in the core and
// through the batch program (save --out, compare --report), are run again and again while the
// n-th file operation fails (n = 1, 2, ... until a run meets no fault), for each error, once and
// from then on, with and without a short write first. A failed write leaves the earlier file
// byte for byte, no other file beside it, and exactly one message with the write's title; the
// batch program then exits 2 with that one line and nothing on standard output. In crash mode a
// child process ends at the n-th operation, and the file is then the old one or the new one,
// never a mix.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <sstream>

#include "../unit/FaultyFileOps.h"
#include "../unit/TempFolder.h"
#include "cli/CliCompareSettings.h"
#include "cli/RunCli.h"
#include "cli/StreamMessageSink.h"
#include "common/TextFile.h"
#include "compare/ComparePSMJoins.h"
#include "compare/KeptResultList.h"
#include "geodesy/MarkIndex.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"
#include "reports/JoinsReport.h"

namespace modKestralMGA {
namespace {

using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using Names = std::set<std::string>;

const std::string kMarks = "tests/data/cli/marks.csv";
const std::string kPlan = "tests/data/cli/good";
const std::string kEarlierFile = "an earlier file\r\n";

// What one write gave: its "<title>: <text>" lines, and the batch program's status and output.
struct WriteRun {
  std::string Messages;
  int Status = 0;
  std::string Out;
};

// The marks and the compared plan of the report, as the batch program's compare makes them.
struct ComparedPlan {
  ComparedPlan() {
    StreamMessageSink sink(messages);
    KeptResultList results;
    NoPendingEvents noEvents;
    OpenMarkDetailsFile(kMarks, kMarks, marks, sink);
    settings.SetAverageHeightText("100.000");
    EXPECT_TRUE(ReadPlanForCompare(kPlan, plan, sink));
    EXPECT_TRUE(BuildAndComparePlan(kPlan, plan, context, settings, results, sink, noEvents));
    EXPECT_EQ(messages.str(), "");
  }
  static CompareArguments Arguments() {
    CompareArguments arguments;
    arguments.Plan = kPlan;
    return arguments;
  }
  std::ostringstream messages;
  MarkList marks;
  CliCompareSettings settings{Arguments()};
  MarkIndex index{marks};
  JoinContext context{index, settings};
  Plan plan;
};

struct Writer {
  const char* What;
  const char* Title;            // the title of its failure message
  std::string SuccessMessages;  // what a write that succeeded shows
  bool Batch;
  std::function<WriteRun(const std::string& path, FileOps& ops)> Write;
};

WriteRun RunBatch(std::vector<std::string> args, const std::string& path, FileOps& ops) {
  args.push_back(path);
  std::ostringstream out, err;
  const int status = RunCli(args, out, err, ops);
  return {err.str(), status, out.str()};
}

std::vector<Writer> Writers() {
  static ComparedPlan compared;
  return {
      {"Save", kSaveCsvFileErrorTitle, "", false,
       [](const std::string& path, FileOps& ops) {
         std::ostringstream err;
         StreamMessageSink sink(err);
         SaveMarkDetailsFile(path, compared.marks, sink, ops);
         return WriteRun{err.str(), 0, ""};
       }},
      {"saved report", kSaveJoinsErrorTitle, "", false,
       [](const std::string& path, FileOps& ops) {
         std::ostringstream err;
         StreamMessageSink sink(err);
         SaveJoinsReport(path, compared.plan, compared.context, compared.settings,
                         "Monday, January 1, 2024", sink, ops);
         return WriteRun{err.str(), 0, ""};
       }},
      {"save --out", kSaveCsvFileErrorTitle, "", true,
       [](const std::string& path, FileOps& ops) {
         return RunBatch({"save", "--marks", kMarks, "--out"}, path, ops);
       }},
      {"compare --report", kSaveJoinsErrorTitle, "Print Joins: Printing completed\n", true,
       [](const std::string& path, FileOps& ops) {
         return RunBatch({"compare", "--marks", kMarks, "--plan", kPlan, "--report"}, path, ops);
       }},
  };
}

// The bytes of a report without its date line, which names the day it was written.
std::string WithoutDateLine(std::string bytes) {
  const std::size_t date = bytes.find("Printed on ");
  if (date != std::string::npos) bytes.erase(date, bytes.find('\n', date) + 1 - date);
  return bytes;
}

TEST(WriteFaults, EveryFailedOperationLeavesTheEarlierFileAndOneMessage) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  for (const Writer& writer : Writers()) {
    TempFolder clean;
    const WriteRun cleanRun = writer.Write(clean / "target.txt", SystemFileOps());
    ASSERT_EQ(cleanRun.Messages, writer.SuccessMessages) << writer.What;
    const std::string newBytes = WithoutDateLine(ReadBytes(clean / "target.txt"));
    // Each error, once or from then on, with or without a short write first.
    for (int way = 0; way < 16; ++way) {
      const int error = std::vector{ENOSPC, EFBIG, EIO, EACCES}[static_cast<std::size_t>(way / 4)];
      const bool fromThenOn = (way & 1) != 0, shortFirst = (way & 2) != 0;
      bool passed = false;
      for (int n = 1; !passed; ++n) {
        ASSERT_LT(n, 40) << writer.What << ": a write that never passes";
        SCOPED_TRACE(std::string(writer.What) + ", " + SystemErrorText(error) +
                     (fromThenOn ? ", from then on" : ", once") +
                     (shortFirst ? ", short write first" : "") + ", failing operation " +
                     std::to_string(n));
        TempFolder folder;
        const std::string path = folder.Write("target.txt", kEarlierFile);
        FaultyFileOps ops({.FailAt = n,
                           .FromThenOn = fromThenOn,
                           .ShortFirstWrite = shortFirst,
                           .ErrorNumber = error});
        const WriteRun run = writer.Write(path, ops);
        EXPECT_EQ(folder.Names(), Names{"target.txt"});
        // A fault past the last operation, or in the folder sync after the rename, finds the
        // new file in place.
        if (ops.FirstFailure().empty() || ops.FirstFailure() == "SyncFolder") {
          passed = ops.FirstFailure().empty();
          EXPECT_EQ(WithoutDateLine(ReadBytes(path)), newBytes);
          EXPECT_EQ(run.Messages, writer.SuccessMessages);
          EXPECT_EQ(run.Status, 0);
          EXPECT_EQ(run.Out, cleanRun.Out);
          continue;
        }
        EXPECT_EQ(ReadBytes(path), kEarlierFile);
        EXPECT_EQ(run.Messages, std::string(writer.Title) + ": Cannot write " + path + ": " +
                                    SystemErrorText(error) + "\n");
        EXPECT_EQ(run.Status, writer.Batch ? 2 : 0);
        EXPECT_EQ(run.Out, "");
      }
    }
  }
}

// A crash at any operation leaves the old file or the new one, never a mix; what a crash can
// leave beside it is the temporary file. The batch program writes through the same routines.
TEST(WriteFaults, ACrashAtAnyOperationLeavesTheOldOrTheNewFile) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  for (const Writer& writer : Writers()) {
    if (writer.Batch) continue;
    TempFolder clean;
    writer.Write(clean / "target.txt", SystemFileOps());
    const std::string newBytes = ReadBytes(clean / "target.txt");
    for (int n = 1, finished = 0; !finished; ++n) {
      ASSERT_LT(n, 40) << writer.What;
      SCOPED_TRACE(std::string(writer.What) + ", crash at operation " + std::to_string(n));
      TempFolder folder;
      const std::string path = folder.Write("target.txt", kEarlierFile);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        FaultyFileOps ops({.FailAt = n, .Crash = true});
        writer.Write(path, ops);
        ::_exit(0);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      finished = WEXITSTATUS(status) == 0;
      if (!finished) {
        ASSERT_EQ(WEXITSTATUS(status), FaultyFileOps::kCrashStatus);
      }
      const std::string bytes = ReadBytes(path);
      EXPECT_TRUE(finished ? bytes == newBytes : bytes == kEarlierFile || bytes == newBytes);
      for (const std::string& name : folder.Names()) {
        EXPECT_TRUE(name == "target.txt" || name.starts_with(".kestral-")) << name;
      }
    }
  }
}

}  // namespace
}  // namespace modKestralMGA
