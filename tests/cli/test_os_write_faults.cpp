// Write failures that the operating system itself gives, each check skipping itself (with the
// reason) where the system refuses to set it up: a file-size limit (a real short write, then
// EFBIG), a full 64 KiB tmpfs in a private mount namespace (ENOSPC), a read-only bind mount
// (EROFS), and an immutable target (the rename fails after the temporary file was written). The
// earlier file must stay as it was, with nothing left beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <string>

#include "../unit/TempFolder.h"
#include "CliTestSupport.h"
#include "marks/MarkCommands.h"
#include "marks/MarkList.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kEarlierFile = "an earlier file\r\n";

struct Shell {
  int Status = -1;
  std::string Err;
};

// Runs a shell command with its standard error kept; the exit status (-1 when it did not exit).
Shell RunShell(const std::string& command, const TempFolder& folder) {
  const std::string errPath = folder / "shell-err.txt";
  const int status = std::system((command + " 2>'" + errPath + "'").c_str());
  Shell shell{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(errPath)};
  std::remove(errPath.c_str());
  return shell;
}

// A Mark Details file of count marks (about 90 bytes each when saved).
std::string WriteMarks(const TempFolder& folder, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(1000 + i);
    text += "6628," + number + ",,,,54,280" + number + ".000,6130" + number +
            ".000,,,,1,,GDA2020,,,,,,,,100.000,,,,,,,,,,,FOUND,,,,,,,,,,\r\n";
  }
  return folder.Write("marks.csv", text);
}

std::string Cli() {
  return std::string("'") + KESTRAL_CLI_PROGRAM + "'";
}

// The batch program saving marks to target under a mount made in a private mount namespace by
// setup (shell commands on $DIR), as root or, failing that, as root of a user namespace. The
// result: the status, standard error, the target's bytes and the folder's names, written by the
// shell inside the namespace to files outside it. Skips the test when no namespace can be made.
struct MountedSave {
  Shell Run;
  std::string Target;
  std::string Listing;
};

MountedSave SaveUnderMount(const TempFolder& folder, const std::string& setup,
                           const std::string& marks) {
  const std::string dir = folder / "mnt";
  EXPECT_EQ(::mkdir(dir.c_str(), 0755), 0);
  const std::string script = folder.Write(
      "save.sh", "DIR='" + dir + "'\n" + setup + " || exit 1\n" +
                     "printf 'an earlier file\\r\\n' >\"$DIR/target.csv\" 2>/dev/null\n" + Cli() +
                     " save --marks '" + marks + "' --out \"$DIR/target.csv\" 2>'" +
                     folder / "err.txt" + "'\necho $? >'" + folder / "status.txt" +
                     "'\ncat \"$DIR/target.csv\" >'" + folder / "target.txt" +
                     "'\nls -A \"$DIR\" >'" + folder / "listing.txt" + "'\n");
  MountedSave result;
  for (const char* unshare : {"unshare -m", "unshare -rm"}) {
    const Shell shell = RunShell(std::string(unshare) + " sh '" + script + "'", folder);
    if (shell.Status == 0 && !ReadBytes(folder / "status.txt").empty()) {
      result.Run = {std::atoi(ReadBytes(folder / "status.txt").c_str()),
                    ReadBytes(folder / "err.txt")};
      result.Target = ReadBytes(folder / "target.txt");
      result.Listing = ReadBytes(folder / "listing.txt");
      return result;
    }
    result.Run.Err += std::string(unshare) + ": " + shell.Err;
  }
  return result;
}

TEST(OsWriteFaults, AFileSizeLimitGivesAShortWriteThenFileTooLarge) {
  TempFolder folder;
  const std::string marks = WriteMarks(folder, 50);
  const std::string target = folder.Write("target.csv", kEarlierFile);
  // The limit lets the first write through in part; the next one fails.
  const Shell probe = RunShell("prlimit --fsize=1024 true", folder);
  if (probe.Status != 0) GTEST_SKIP() << "prlimit refused: " << probe.Err;
  const Shell run = RunShell(
      "prlimit --fsize=1024 " + Cli() + " save --marks '" + marks + "' --out '" + target + "'",
      folder);
  EXPECT_EQ(run.Status, 2);
  EXPECT_EQ(run.Err, "Save CSV file error: Cannot write " + target + ": File too large\n");
  EXPECT_EQ(ReadBytes(target), kEarlierFile);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"marks.csv", "target.csv"}));
}

// A full 64 KiB tmpfs (about 90 KB to save) and a read-only bind mount, each in a private mount
// namespace.
TEST(OsWriteFaults, AFullOrReadOnlyFileSystem) {
  struct Case {
    const char* What;
    std::string Setup;  // shell commands that mount $DIR
    int Marks;
    const char* Description;
  };
  const Case cases[] = {
      {"full", "mount -t tmpfs -o size=64k kestral \"$DIR\"", 1000, "No space left on device"},
      {"read-only",
       "printf 'an earlier file\\r\\n' >\"$DIR/target.csv\" && mount --bind \"$DIR\" \"$DIR\" && "
       "mount -o remount,ro,bind \"$DIR\"",
       10, "Read-only file system"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder folder;
    const MountedSave save = SaveUnderMount(folder, c.Setup, WriteMarks(folder, c.Marks));
    if (save.Run.Status < 0) GTEST_SKIP() << "no private mount namespace: " << save.Run.Err;
    const std::string target = folder / "mnt/target.csv";
    EXPECT_EQ(save.Run.Status, 2);
    EXPECT_EQ(save.Run.Err,
              "Save CSV file error: Cannot write " + target + ": " + c.Description + "\n");
    EXPECT_EQ(save.Target, kEarlierFile);
    EXPECT_EQ(save.Listing, "target.csv\n");
  }
}

// Takes the immutable flag off again, so that the folder can be removed.
class Immutable {
 public:
  Immutable(const std::string& path, const TempFolder& folder) : m_path(path), m_folder(folder) {
    m_set = RunShell("chattr +i '" + path + "'", folder);
  }
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;
  ~Immutable() { RunShell("chattr -i '" + m_path + "'", m_folder); }
  const Shell& Set() const { return m_set; }

 private:
  std::string m_path;
  const TempFolder& m_folder;
  Shell m_set;
};

TEST(OsWriteFaults, AnImmutableTargetFailsTheRenameAndTheTemporaryFileGoes) {
  TempFolder folder;
  const std::string target = folder.Write("target.csv", kEarlierFile);
  const Immutable immutable(target, folder);
  if (immutable.Set().Status != 0) GTEST_SKIP() << "chattr +i refused: " << immutable.Set().Err;
  MarkList list;
  list.AppendRow({"6628/1001", "280000.000", "6130000.000", "", "", "", "", ""});
  class Kept final : public MessageSink {
   public:
    void Message(const std::string& text, const std::string& title, MessageIcon) override {
      lines += title + ": " + text + "\n";
    }
    std::string lines;
  } sink;
  EXPECT_FALSE(SaveMarkDetailsFile(target, list, sink));
  EXPECT_EQ(sink.lines,
            "Save CSV file error: Cannot write " + target + ": Operation not permitted\n");
  EXPECT_EQ(ReadBytes(target), kEarlierFile);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"target.csv"});
}

}  // namespace
}  // namespace modKestralMGA
