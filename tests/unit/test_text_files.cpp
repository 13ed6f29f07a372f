// Text files: reading them (the byte rules, the refusals and their messages, line splitting),
// Windows-1252 text, value lines, columns of printed text, case-insensitive paths, and replacing
// a file atomically.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "FaultyFileOps.h"
#include "common/AtomicFile.h"
#include "common/ColumnWriter.h"
#include "common/Cp1252.h"
#include "common/Errors.h"
#include "common/PathResolve.h"
#include "common/TextFile.h"
#include "common/ValueList.h"

namespace modKestralMGA {
namespace {

using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using Names = std::set<std::string>;
using testsupport::CaseNumber;
using testsupport::CheckCases;
using testsupport::Fields;

// What read returns, or the message of the FileError it throws.
std::string ErrorOf(const std::function<std::string()>& read) {
  try {
    return read();
  } catch (const FileError& e) {
    return e.what();
  }
}

// The byte rules of text files, line splitting, value lines, typed text in Windows-1252, columns
// of printed text and case-insensitive paths against text.tsv.
TEST(TextFile, BytesLinesCodePageAndPathsGiveTheResultsOfTheirCases) {
  TempFolder root;
  for (const char* folder : {"plans", "Sub", "SUB", "Work"}) ::mkdir((root / folder).c_str(), 0755);
  for (const char* name : {"plans/dp1234.lns", "r\xC3\xA9seau", "a\xC3\xB7", "PLAN.lns", "plan.LNS",
                           "Plan.lns", "SUB/a.txt", "Sub/a.txt", "plans\\dp1.lns", "Work/dp9.cve"})
    root.Write(name, "x");
  std::vector<std::string> values = {"old", "old", "old", "old", "old"};
  const auto results = [&](const Fields& in) -> Fields {
    if (in[0] == "values") return SplitValueLine(in[1], 1, "test.csv", values), values;
    if (in[0] == "lines") {
      Fields lines;
      LineSplitter splitter(in[1]);
      for (std::string_view line; splitter.Next(line);) {
        lines.emplace_back(line);
        EXPECT_EQ(splitter.LineNumber(), static_cast<std::int64_t>(lines.size()));
      }
      return lines;
    }
    if (in[0] == "blank") return {IsBlankLine(in[1]) ? "yes" : "no"};
    if (in[0] == "cp1252") return {Utf8ToCp1252(in[1])};
    if (in[0] == "path") return {ResolvePath(root.Path() + in[1]).substr(root.Path().size())};
    if (in[0] == "columns") {  // column:text places a field, +text writes text on, / ends a line
      RecordingColumnWriter out;
      for (auto it = in.begin() + 1; it != in.end(); ++it) {
        const std::size_t colon = it->find(':');
        if (*it == "/")
          out.EndLine();
        else if ((*it)[0] == '+')
          out.Text(it->substr(1));
        else
          out.Field(static_cast<int>(CaseNumber(it->substr(0, colon))), it->substr(colon + 1));
      }
      return out.Lines();
    }
    const std::string path = in[0] == "text" ? root.Write("file.txt", in[1]) : root / in[1];
    return {ErrorOf([&] { return ReadTextFile(path, "F").Bytes; }),
            ErrorOf([&] { return ReadFirstLine(path, "F"); })};
  };
  EXPECT_EQ(CheckCases("text.tsv", results), 70);
  // Files larger than the chunks read, and a blank first line of a large file.
  const std::string longLine(100000, 'L'), large = "\r\n" + std::string(3000000, 'x');
  for (const std::string& bytes : {longLine + "\r\nnext", longLine, large}) {
    const std::string path = root.Write("file.txt", bytes);
    EXPECT_EQ(ReadTextFile(path).Bytes, bytes);
    EXPECT_EQ(ReadTextFile(path).Path, path);
    EXPECT_EQ(ReadFirstLine(path), bytes.substr(0, std::min(bytes.find('\r'), bytes.size())));
  }
  EXPECT_EQ(ResolvePath(""), "");
  EXPECT_TRUE(FileExists(root / "PLANS/DP1234.LNS"));
  EXPECT_FALSE(FileExists(root / "PLANS/DP1235.LNS") || FileExists(""));
  // Relative paths resolve from the current folder.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(root.Path());
  EXPECT_EQ(ResolvePath("WORK/DP9.CVE"), "Work/dp9.cve");
  EXPECT_EQ(ResolvePath("./work/dp9.CVE"), "./Work/dp9.cve");
  std::filesystem::current_path(previous);
}

TEST(TextFile, RefusesANulAndNamesWhatCannotBeRead) {
  TempFolder folder;
  const std::string refused = " is not a plain text file (UTF-16 or binary); save it as plain text";
  // Without a name to show, the message names the path. A NUL at the last byte of the first
  // 4 KiB, after a first line that ends early: ReadFirstLine must still look at the whole 4 KiB.
  const std::string late =
      folder.Write("late.txt", "first line\r\n" + std::string(4083, 'x') + '\0' + "more");
  EXPECT_EQ(ErrorOf([&] { return ReadFirstLine(late); }), late + refused);
  // A NUL past the first 4 KiB refuses the whole file too: kept, it would reach a cell, and a
  // list saved with it in its first 4 KiB could not be opened again.
  const std::string beyond =
      folder.Write("beyond.txt", "first line\r\n" + std::string(4096, 'x') + '\0');
  EXPECT_EQ(ErrorOf([&] { return ReadTextFile(beyond).Bytes; }), beyond + refused);
  EXPECT_EQ(ReadFirstLine(beyond), "first line");

  EXPECT_EQ(SystemErrorText(-5), "Unknown error -5");
  if (::geteuid() != 0) {  // permissions do not stop the superuser
    ASSERT_EQ(::chmod(late.c_str(), 0), 0);
    EXPECT_EQ(ErrorOf([&] { return ReadTextFile(late).Bytes; }),
              "Cannot open " + late + ": Permission denied");
  }
}

// Every byte to UTF-8 against Microsoft's code page 1252 table (cp1252-all-bytes.utf8, written by
// Python's cp1252 codec; the five undefined bytes are the C1 controls of the same number), and
// back.
TEST(Cp1252, EveryByteBothWays) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string golden = ReadBytes(KESTRAL_TEST_DATA_DIR "/core/cp1252-all-bytes.utf8");
  EXPECT_EQ(Cp1252ToUtf8(all), golden);
  EXPECT_EQ(Utf8ToCp1252(golden), all);
}

TEST(ValueList, RefusesAValueOneByteTooLong) {
  std::vector<std::string> values;
  const std::string longest(kMaxValueLength, 'v');
  SplitValueLine("\"" + longest + "\"," + longest, 1, "f", values);
  EXPECT_EQ(values, (std::vector<std::string>{longest, longest}));
  // Unquoted, quoted, unterminated, grown by a doubled quote: one byte too long.
  for (const std::string& line : {"a," + longest + "v", "\"" + longest + "v\"",
                                  "\"" + longest + "v", "\"" + longest + "\"\"\""}) {
    EXPECT_EQ(ErrorOf([&] { return SplitValueLine(line, 41207, "/plans/DP1234.lns", values), ""; }),
              "Value too long at line 41207 of /plans/DP1234.lns");
  }
}

// Every step of a replacement made to fail in turn (once or from then on, after a short write, or
// as a write of nothing) leaves the old file as it was, or no file, and no temporary file.
TEST(AtomicFile, EveryFailedStepLeavesTheOldFile) {
  const std::string oldBytes = "old,1\r\nold,2\r\n";
  std::string newBytes;
  for (int i = 0; i < 200; ++i) newBytes += "6628/1001,273741.2966,5796489.7769\r\n";
  // From then on, a short first write, a failed write writes nothing, the target exists.
  const bool plans[][4] = {{0, 0, 0, 1}, {0, 0, 0, 0}, {1, 0, 0, 1}, {1, 0, 0, 0},
                           {0, 1, 0, 1}, {1, 1, 0, 1}, {0, 0, 1, 1}, {0, 1, 1, 0}};
  for (const auto& plan : plans) {
    TempFolder folder;
    const std::string target = folder / "marks.csv";
    if (plan[3]) folder.Write("marks.csv", oldBytes);
    const Names namesBefore = folder.Names();
    Names failedSteps;
    bool succeeded = false;
    for (int n = 1; n < 40 && !succeeded; ++n) {
      SCOPED_TRACE(testing::Message() << "plan " << &plan - plans << ", n = " << n);
      FaultyFileOps ops({.FailAt = n,
                         .FromThenOn = plan[0],
                         .ShortFirstWrite = plan[1],
                         .FailedWriteWritesNothing = plan[2]});
      try {
        AtomicWriteFile(target, newBytes, ops);
        succeeded = true;
        // Only the folder sync after the rename may fail without failing the write.
        EXPECT_TRUE(ops.FirstFailure().empty() || ops.FirstFailure() == "SyncFolder");
        EXPECT_EQ(ReadBytes(target), newBytes);
        EXPECT_EQ(folder.Names(), Names{"marks.csv"});
      } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot write " + target + ": Input/output error");
        failedSteps.insert(ops.FirstFailure());
        EXPECT_EQ(ReadBytes(target), plan[3] ? oldBytes : "");
        EXPECT_EQ(folder.Names(), namesBefore);
      }
    }
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(failedSteps,
              (Names{"StatTarget", "CreateTemp", "CopyMode", "Write", "Sync", "Close", "Rename"}));
  }
  // When even the clean-up fails, the message still names the failure that ended the write.
  TempFolder folder;
  const std::string target = folder.Write("plan.lns", oldBytes);
  FaultyFileOps ops(
      {.FailAt = 4, .FromThenOn = true, .SpareRemoveTemp = false, .ErrorNumber = ENOSPC});
  EXPECT_EQ(ErrorOf([&] { return AtomicWriteFile(target, newBytes, ops), ""; }),
            "Cannot write " + target + ": No space left on device");
  EXPECT_EQ(ops.FirstFailure(), "Write");
  EXPECT_EQ(ReadBytes(target), oldBytes);
}

// Permission bits stay (an empty and a large file); a new file gets 0666 less the umask, and
// reading the umask does not change it. Written through a link, or an absolute link to a link, the
// file at the end is replaced and the links stay; the temporary file goes into the target's folder
// and is gone; a link to a file not yet there creates that file. A FIFO is written in place and
// stays a FIFO. What cannot be written is reported (a folder, also named as "data/."; a link to
// /dev/full, written in place), and nothing is left behind.
TEST(AtomicFile, KeepsModesAndLinksAndReportsWhatCannotBeWritten) {
  const mode_t previousMask = ::umask(022);
  TempFolder folder;
  ASSERT_EQ(::mkdir((folder / "data").c_str(), 0755), 0);
  const std::string real = folder.Write("data/real.csv", "old");
  std::string large(5 * 1024 * 1024, 'x');
  for (std::size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>(i % 251);
  struct stat info {};
  for (const mode_t mode : {mode_t{0640}, mode_t{0604}, mode_t{0755}})
    for (const std::string& bytes : {std::string(), large}) {
      ::chmod(real.c_str(), mode);
      AtomicWriteFile(real, bytes);
      EXPECT_EQ(ReadBytes(real), bytes);
      EXPECT_TRUE(::stat(real.c_str(), &info) == 0 && (info.st_mode & 07777) == mode);
    }
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{0}, mode_t{077}}) {
    ::umask(mask);
    ::unlink(real.c_str());
    AtomicWriteFile(real, "x");
    EXPECT_TRUE(::stat(real.c_str(), &info) == 0 && (info.st_mode & 07777) == (0666 & ~mask));
    EXPECT_EQ(::umask(mask), mask) << "umask " << mask;
  }
  ::umask(previousMask);

  const std::string link = folder / "link.csv", chain = folder / "chain.csv";
  ASSERT_EQ(::symlink("data/real.csv", link.c_str()), 0);
  ASSERT_EQ(::symlink(link.c_str(), chain.c_str()), 0);
  ASSERT_EQ(::symlink("data/later.csv", (folder / "dangling.csv").c_str()), 0);
  ASSERT_EQ(::symlink("loop2", (folder / "loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", (folder / "loop2").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/full", (folder / "full").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  const Names names = {"data",  "link.csv", "chain.csv", "dangling.csv",
                       "loop1", "loop2",    "full",      "fifo"};
  for (const std::string& path : {link, chain}) {
    AtomicWriteFile(path, "through " + path);
    EXPECT_EQ(ReadBytes(real), "through " + path);
    for (const std::string& stays : {link, chain})
      EXPECT_TRUE(::lstat(stays.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    EXPECT_TRUE(folder.Names() == names && folder.Names("data") == Names{"real.csv"});
  }
  AtomicWriteFile(folder / "dangling.csv", "later");
  EXPECT_EQ(ReadBytes(folder / "data/later.csv"), "later");
  const int reader = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  AtomicWriteFile(folder / "fifo", "in place");
  std::string piped(16, '\0');
  piped.resize(static_cast<std::size_t>(std::max(::read(reader, piped.data(), piped.size()), 0L)));
  ::close(reader);
  EXPECT_EQ(piped, "in place");
  EXPECT_TRUE(::lstat((folder / "fifo").c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
  const std::pair<std::string, std::string> refused[] = {
      {folder / "missing/x.txt", "No such file or directory"},
      {folder / "data", "Is a directory"},
      {folder / "data/.", "Is a directory"},
      {folder / "full", "No space left on device"},
      {folder / "loop1", "Too many levels of symbolic links"}};
  for (const auto& [path, description] : refused) {
    EXPECT_EQ(ErrorOf([&] { return AtomicWriteFile(path, "x"), ""; }),
              "Cannot write " + path + ": " + description);
  }
  EXPECT_EQ(folder.Names(), names);
  EXPECT_EQ(folder.Names("data"), (Names{"real.csv", "later.csv"}));
}

}  // namespace
}  // namespace modKestralMGA
