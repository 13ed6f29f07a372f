// Write failures that the operating system itself gives, each check skipping itself (with the
// reason) where the system refuses to set it up: a file-size limit (a real short write, then
// EFBIG), a full 64 KiB tmpfs in a private mount namespace (ENOSPC), a read-only bind mount
// (EROFS), and an immutable target (the rename fails after the temporary file was written). The
// earlier file must stay as it was, with nothing left beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "../unit/TempFolder.h"
#include "cli/StreamMessageSink.h"
#include "marks/MarkCommands.h"
#include "marks/MarkList.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kEarlierFile = "an earlier file\r\n";
const std::string kCli = std::string("'") + KESTRAL_CLI_PROGRAM + "'";

// Runs a shell command; its exit status (-1 when it did not exit) and its standard error.
std::pair<int, std::string> RunShell(const std::string& command, const TempFolder& folder) {
  const int status = std::system((command + " 2>'" + folder / "shell-err.txt" + "'").c_str());
  std::string err = ReadBytes(folder / "shell-err.txt");
  std::filesystem::remove(folder / "shell-err.txt");
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}

// A Mark Details file of count marks (about 90 bytes each when saved).
std::string WriteMarks(const TempFolder& folder, int count) {
  std::string text;
  for (int i = 1000; i < 1000 + count; ++i) {
    const std::string n = std::to_string(i);
    text += "6628," + n + ",,,,54,280" + n + ".000,6130" + n +
            ".000,,,,1,,GDA2020,,,,,,,,100.000,,,,,,,,,,,FOUND,,,,,,,,,,\r\n";
  }
  return folder.Write("marks.csv", text);
}

TEST(OsWriteFaults, AFileSizeLimitGivesAShortWriteThenFileTooLarge) {
  TempFolder folder;
  const std::string marks = WriteMarks(folder, 50);
  const std::string target = folder.Write("target.csv", kEarlierFile);
  // The limit lets the first write through in part; the next one fails.
  const auto probe = RunShell("prlimit --fsize=1024 true", folder);
  if (probe.first != 0) GTEST_SKIP() << "prlimit refused: " << probe.second;
  const auto run = RunShell(
      "prlimit --fsize=1024 " + kCli + " save --marks '" + marks + "' --out '" + target + "'",
      folder);
  EXPECT_EQ(run.first, 2);
  EXPECT_EQ(run.second, "Save CSV file error: Cannot write " + target + ": File too large\n");
  EXPECT_EQ(ReadBytes(target), kEarlierFile);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"marks.csv", "target.csv"}));
}

// The batch program saves to $DIR/target.csv after setup (shell commands mounting $DIR) in a
// private mount namespace, as root or, failing that, as root of a user namespace; the shell
// inside writes the status, standard error, the target's bytes and $DIR's names to files outside.
TEST(OsWriteFaults, AFullOrReadOnlyFileSystem) {
  const struct {
    std::string Setup;
    int Marks;  // 1000 marks are about 90 KB to save
    const char* Description;
  } cases[] = {
      {"mount -t tmpfs -o size=64k kestral \"$DIR\"", 1000, "No space left on device"},
      {"printf 'an earlier file\\r\\n' >\"$DIR/target.csv\" && mount --bind \"$DIR\" \"$DIR\" && "
       "mount -o remount,ro,bind \"$DIR\"",
       10, "Read-only file system"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Description);
    TempFolder folder;
    const std::string dir = folder / "mnt", marks = WriteMarks(folder, c.Marks);
    ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    const std::string script = folder.Write(
        "save.sh", "DIR='" + dir + "'\n" + c.Setup + " || exit 1\n" +
                       "printf 'an earlier file\\r\\n' >\"$DIR/target.csv\" 2>/dev/null\n" + kCli +
                       " save --marks '" + marks + "' --out \"$DIR/target.csv\" 2>'" +
                       folder / "err" + "'\necho $? >'" + folder / "status" + "'\ncat " +
                       "\"$DIR/target.csv\" >'" + folder / "target" + "'\nls -A \"$DIR\" >'" +
                       folder / "listing" + "'\n");
    std::string refused;
    for (const char* unshare : {"unshare -m", "unshare -rm"}) {
      const auto shell = RunShell(std::string(unshare) + " sh '" + script + "'", folder);
      if (shell.first == 0 && !ReadBytes(folder / "status").empty()) break;
      refused += std::string(unshare) + ": " + shell.second;
    }
    if (ReadBytes(folder / "status").empty()) GTEST_SKIP() << "no mount namespace: " << refused;
    EXPECT_EQ(ReadBytes(folder / "status"), "2\n");
    EXPECT_EQ(ReadBytes(folder / "err"),
              "Save CSV file error: Cannot write " + dir + "/target.csv: " + c.Description + "\n");
    EXPECT_EQ(ReadBytes(folder / "target"), kEarlierFile);
    EXPECT_EQ(ReadBytes(folder / "listing"), "target.csv\n");
  }
}

TEST(OsWriteFaults, AnImmutableTargetFailsTheRenameAndTheTemporaryFileGoes) {
  TempFolder folder;
  const std::string target = folder.Write("target.csv", kEarlierFile);
  const auto set = RunShell("chattr +i '" + target + "'", folder);
  if (set.first != 0) GTEST_SKIP() << "chattr +i refused: " << set.second;
  MarkList list;
  list.AppendRow({"6628/1001", "280000.000", "6130000.000", "", "", "", "", ""});
  std::ostringstream err;
  StreamMessageSink sink(err);
  EXPECT_FALSE(SaveMarkDetailsFile(target, list, sink));
  EXPECT_EQ(err.str(),
            "Save CSV file error: Cannot write " + target + ": Operation not permitted\n");
  EXPECT_EQ(ReadBytes(target), kEarlierFile);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"target.csv"});
  RunShell("chattr -i '" + target + "'", folder);  // so that the folder can be removed
}

}  // namespace
}  // namespace modKestralMGA
