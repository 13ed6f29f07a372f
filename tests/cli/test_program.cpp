// The built batch program itself, without a display. Its golden runs give the same bytes under
// LC_ALL=C and under LC_ALL=de_DE.UTF-8 (a comma-decimal locale), in status, both streams, saved
// files and PDF text: Qt adopts the environment's locale when it starts, and its own diagnostics
// must not reach standard error; a full standard output ends with status 2. Then the write failures
// the operating system itself gives, each check skipping itself (with the reason) where the system
// refuses to set it up: the earlier file stays as it was, with nothing left beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kEarlierFile = "an earlier file\r\n";
const std::string kExample = "compare --marks examples/marks.csv --plan examples/plan";
const std::string kOneNotAcceptable = "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n";

// text with {cli} made the program's path and {folder} the folder's.
std::string Substitute(std::string text, const TempFolder& folder) {
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"{cli}", KESTRAL_CLI_PROGRAM},
                                 {"{folder}", folder.Path()}}) {
    for (std::size_t at; (at = text.find(from)) != std::string::npos;)
      text.replace(at, from.size(), to);
  }
  return text;
}

// Runs the shell command line from the source folder without a display or a language, standard
// error to folder/err and standard output to folder/out unless the line sends it elsewhere; its
// exit status (-1 when it did not exit).
int RunLine(std::string line, const TempFolder& folder) {
  if (line.find('>') == std::string::npos) line += " >{folder}/out";
  const int status =
      std::system(Substitute(std::string("cd '") + KESTRAL_SOURCE_DIR + "' && env " +
                                 "-u LANG -u LANGUAGE -u DISPLAY -u " +
                                 "WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + line + " 2>{folder}/err",
                             folder)
                      .c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The status, both streams, the saved file, the report and the PDF's lines of a run under locale.
std::vector<std::string> RunUnder(const std::string& locale, const std::string& args) {
  TempFolder folder;
  std::vector<std::string> run = {
      std::to_string(RunLine("LC_ALL=" + locale + " {cli} " + args, folder))};
  for (const char* name : {"out", "err", "saved.csv", "report.txt"})
    run.push_back(ReadBytes(folder / name));
  if (!std::filesystem::exists(folder / "report.pdf")) return run;
  for (const auto& page : testsupport::PdfPageLines(
           testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, folder / "report.pdf"))) {
    run.insert(run.end(), page.begin(), page.end());
  }
  return run;
}

TEST(Program, GoldenRunsGiveTheSameBytesUnderEveryLocale) {
  const std::string compare = "compare --marks tests/data/cli/marks.csv --plan tests/data/cli/";
  const std::string done = "Print Joins: Printing completed\n";
  const struct {
    std::string Args;
    int Status;
    std::string Golden;  // the expected standard output in tests/data/cli/expected ("": none)
    std::string Err;
  } cases[] = {
      {compare + "good", 0, "good.stdout", ""},
      {compare + "bad", 1, "bad.stdout",
       "Join Comparison: ***** 2 JOINS WERE NOT ACCEPTABLE *****\n"},
      {compare + "good --full-details --datum 6628/1001 6628/1003", 0, "datum-details.stdout", ""},
      {compare + "good --datum 6628/1001 6628/1002 --ellipsoid amg", 0, "datum-amg.stdout", ""},
      {kExample + " --full-joins --report {folder}/report.txt --pdf {folder}/report.pdf", 1,
       "example.stdout", kOneNotAcceptable + done + done},
      {"joins --marks tests/data/cli/marks.csv --height 12.5 6628/1001 6628/1002 6628/1007", 0, "",
       ""},
      {"save --marks tests/data/cli/marks.csv --out {folder}/saved.csv", 0, "", ""},
      {kExample + " >/dev/full", 2, "",
       kOneNotAcceptable + "kestralmga-cli: cannot write to standard output\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args);
    const std::vector<std::string> plain = RunUnder("C", c.Args);
    EXPECT_EQ(plain[0], std::to_string(c.Status));
    EXPECT_EQ(plain[2], c.Err);
    if (!c.Golden.empty()) {
      EXPECT_EQ(plain[1], ReadBytes(std::string(KESTRAL_SOURCE_DIR) + "/tests/data/cli/expected/" +
                                    c.Golden));
    }
    EXPECT_EQ(plain, RunUnder("de_DE.UTF-8", c.Args));
  }
}

// A folder with a Mark Details file of count marks (about 90 bytes each when saved), and an
// earlier target.csv.
struct SaveFolder : TempFolder {
  explicit SaveFolder(int count) {
    std::string text;
    for (int i = 1000; i < 1000 + count; ++i) {
      const std::string n = std::to_string(i);
      text += "6628," + n + ",,,,54,280" + n + ".000,6130" + n +
              ".000,,,,1,,GDA2020,,,,,,,,100.000,,,,,,,,,,,FOUND,,,,,,,,,,\r\n";
    }
    Write("marks.csv", text);
    Write("target.csv", kEarlierFile);
  }
  const std::string Save = "{cli} save --marks {folder}/marks.csv --out ";
  const std::string Target = *this / "target.csv";
};

// A file-size limit lets the first write through in part; the next one fails (EFBIG). An
// immutable target fails the rename after the temporary file was written, which goes.
TEST(Program, AFileSizeLimitOrAnImmutableTarget) {
  SaveFolder folder(50);
  if (RunLine("prlimit --fsize=1024 true", folder) != 0) GTEST_SKIP() << ReadBytes(folder / "err");
  EXPECT_EQ(RunLine("prlimit --fsize=1024 " + folder.Save + folder.Target, folder), 2);
  EXPECT_EQ(ReadBytes(folder / "err"),
            "Save CSV file error: Cannot write " + folder.Target + ": File too large\n");
  if (RunLine("chattr +i " + folder.Target, folder) != 0) GTEST_SKIP() << ReadBytes(folder / "err");
  EXPECT_EQ(RunLine(folder.Save + folder.Target, folder), 2);
  EXPECT_EQ(ReadBytes(folder / "err"),
            "Save CSV file error: Cannot write " + folder.Target + ": Operation not permitted\n");
  RunLine("chattr -i " + folder.Target, folder);  // so that the folder can be removed
  EXPECT_EQ(ReadBytes(folder.Target), kEarlierFile);
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"err", "marks.csv", "out", "target.csv"}));
}

// A full 64 KiB tmpfs (ENOSPC) and a read-only bind mount (EROFS) on $DIR in a private mount
// namespace, as root or, failing that, as root of a user namespace; the script inside saves to
// $DIR/target.csv and copies the target and $DIR's names to files outside.
TEST(Program, AFullOrReadOnlyFileSystem) {
  const struct {
    std::string Setup;  // shell commands that mount $DIR
    int Marks;          // 1000 marks are about 90 KB to save
    const char* Description;
  } cases[] = {
      {"mount -t tmpfs -o size=64k kestral \"$DIR\"", 1000, "No space left on device"},
      {"printf 'an earlier file\\r\\n' >\"$DIR/target.csv\" && mount --bind \"$DIR\" \"$DIR\" && "
       "mount -o remount,ro,bind \"$DIR\"",
       10, "Read-only file system"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Description);
    SaveFolder folder(c.Marks);
    folder.Write("save.sh", Substitute("DIR={folder}/mnt\nmkdir \"$DIR\" && " + c.Setup +
                                           " || exit 99\nprintf 'an earlier file\\r\\n' "
                                           "2>/dev/null >\"$DIR/target.csv\"\n" +
                                           folder.Save + "\"$DIR/target.csv\"\nstatus=$?\n" +
                                           "cat \"$DIR/target.csv\" >{folder}/target\n" +
                                           "ls -A \"$DIR\" >{folder}/listing\nexit $status\n",
                                       folder));
    int status = -1;
    for (const char* unshare : {"unshare -m", "unshare -rm"}) {
      status = RunLine(std::string(unshare) + " sh {folder}/save.sh", folder);
      if (!ReadBytes(folder / "listing").empty()) break;
    }
    if (ReadBytes(folder / "listing").empty()) GTEST_SKIP() << ReadBytes(folder / "err");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(ReadBytes(folder / "err"), "Save CSV file error: Cannot write " + folder / "mnt" +
                                             "/target.csv: " + c.Description + "\n");
    EXPECT_EQ(ReadBytes(folder / "target"), kEarlierFile);
    EXPECT_EQ(ReadBytes(folder / "listing"), "target.csv\n");
  }
}

}  // namespace
}  // namespace modKestralMGA
