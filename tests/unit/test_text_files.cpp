// Text files: reading them (the byte rules, the refusals and their messages, line splitting),
// Windows-1252 text, value lines, columns of printed text, case-insensitive paths, and replacing
// a file atomically.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "CompareFixtures.h"
#include "FaultyFileOps.h"
#include "common/AtomicFile.h"
#include "common/ColumnWriter.h"
#include "common/Cp1252.h"
#include "common/Errors.h"
#include "common/PathResolve.h"
#include "common/TextFile.h"
#include "common/ValueList.h"
#include "marks/ImportText.h"
#include "marks/MarkCommands.h"
#include "plan/CurveFile.h"
#include "plan/LinesFile.h"

namespace modKestralMGA {
namespace {

using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::RecordingSink;
using testsupport::Said;
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
// of printed text, case-insensitive paths and plan identifiers against text.tsv.
TEST(TextFile, BytesLinesCodePageAndPathsGiveTheResultsOfTheirCases) {
  TempFolder root;
  for (const char* folder : {"plans", "Sub", "SUB", "Work"}) ::mkdir((root / folder).c_str(), 0755);
  for (const char* name : {"plans/dp1234.lns", "r\xC3\xA9seau", "a\xC3\xB7", "PLAN.lns", "plan.LNS",
                           "Plan.lns", "SUB/a.txt", "Sub/a.txt", "plans\\dp1.lns", "Work/dp9.cve"})
    root.Write(name, "x");
  const auto results = [&](const Fields& in) -> Fields {
    ValueLineSplitter split;
    if (in[0] == "values") {
      const auto& values = split.Split(in[1], 1, "test.csv");
      return Fields(values.begin(), values.end());
    }
    if (in[0] == "kept") {  // the values kept of the first N, then the count of all
      const auto& kept =
          split.Split(in[2], 1, "test.csv", static_cast<std::size_t>(CaseNumber(in[1])));
      Fields got(kept.begin(), kept.end());
      return got.push_back(std::to_string(split.Count())), got;
    }
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
    if (in[0] == "identifier") return {PlanIdentifierFromName(in[1])};
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
    return {ErrorOf([&] { return ReadTextFile(path, "F").Bytes.str(); }),
            ErrorOf([&] { return ReadFirstLine(path, "F"); })};
  };
  EXPECT_EQ(CheckCases("text.tsv", results), 82);
  // Files larger than the chunks read, and a blank first line of a large file.
  const std::string longLine(100000, 'L'), large = "\r\n" + std::string(3000000, 'x');
  for (const std::string& bytes : {longLine + "\r\nnext", longLine, large}) {
    const std::string path = root.Write("file.txt", bytes);
    EXPECT_EQ(ReadTextFile(path).Bytes.str(), bytes);
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

// A pipe, as standard input is one when the batch program is fed by another: a child process
// writes prefix, then filler over and over until the pipe is closed (nothing more when filler
// is empty). Read through its /dev/fd path, which opens the pipe anew as /dev/stdin does.
class FedPipe {
 public:
  FedPipe(const std::string& prefix, const std::string& filler) {
    std::string block;  // the filler repeated, written a block at a time
    while (!filler.empty() && block.size() < 65536) block += filler;
    int ends[2] = {-1, -1};
    EXPECT_EQ(::pipe(ends), 0);
    m_child = ::fork();
    if (m_child == 0) {  // only what is safe after a fork: write and _exit
      ::close(ends[0]);
      bool open = WriteAll(ends[1], prefix);
      while (open && !block.empty()) open = WriteAll(ends[1], block);
      ::_exit(0);
    }
    ::close(ends[1]);
    m_readEnd = ends[0];
  }
  FedPipe(const FedPipe&) = delete;
  FedPipe& operator=(const FedPipe&) = delete;
  // Closing the last read end ends a child still writing (a write to a closed pipe).
  ~FedPipe() {
    ::close(m_readEnd);
    int status = 0;
    ::waitpid(m_child, &status, 0);
  }
  std::string Path() const { return "/dev/fd/" + std::to_string(m_readEnd); }

 private:
  static bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd, bytes.data(), bytes.size());
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }
  pid_t m_child = -1;
  int m_readEnd = -1;
};

// Both readers of a text file on each source (a file, a device, a pipe fed endlessly or not),
// with the largest size taken: what they give or the message they throw. None of them may
// read a source that never ends to its end, nor take long over a large file.
TEST(TextFile, RefusesANulAFileTooLargeAndASourceThatNeverEnds) {
  TempFolder folder;
  const std::string refused = " is not a plain text file (UTF-16 or binary); save it as plain text";
  // A NUL at the last byte of the first 4 KiB, after a first line that ends early: ReadFirstLine
  // must still look at the whole 4 KiB. A NUL past the first 4 KiB refuses the whole file too:
  // kept, it would reach a cell, and a list saved with it could not be opened again.
  const std::string late =
      folder.Write("late.txt", "first line\r\n" + std::string(4083, 'x') + '\0' + "more");
  const std::string beyond =
      folder.Write("beyond.txt", "first line\r\n" + std::string(4096, 'x') + '\0');
  // Files of zeros exactly the largest size taken and one byte more, sparse (no disk): the first
  // is refused by its first 4 KiB, the second by its size alone.
  const std::string largest = folder / "largest.txt", tooLarge = folder / "too-large.txt";
  for (const auto& [path, size] :
       {std::pair{largest, kMaxTextFileBytes}, std::pair{tooLarge, kMaxTextFileBytes + 1}}) {
    folder.Write(path.substr(folder.Path().size() + 1), "");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
  }
  // Through a pipe, more than one chunk (the join of chunks), up to a lowered largest size. A
  // device that never ends: tests/data/bad/md-dev-zero.
  std::string chunks = "first\r\n";
  for (int i = 0; chunks.size() < 3'000'000; ++i) chunks += std::to_string(i) + ",";
  const std::string tooLargeText = "File too large to be a lines file: F";
  struct Source {
    std::string Path, Prefix, Filler;  // a pipe when Path is empty
    std::size_t MaxBytes;
    std::string Whole, FirstLine;  // what each reader gives, or its message
  };
  const std::size_t most = kMaxTextFileBytes;
  const Source sources[] = {
      {late, "", "", most, "F" + refused, "F" + refused},
      {beyond, "", "", most, "F" + refused, "first line"},
      {largest, "", "", most, "F" + refused, "F" + refused},
      {tooLarge, "", "", most, tooLargeText, tooLargeText},
      {"", std::string(5000, 'x') + '\0', "x", most, "F" + refused, "F" + refused},
      {"", "", "line\r\n", 3'000'000, tooLargeText, "line"},
      {"", "", "x", 3'000'000, tooLargeText, tooLargeText},
      {"", chunks, "", chunks.size(), chunks, "first"},
      {"", chunks, "", chunks.size() - 1, tooLargeText, "first"},
  };
  for (const Source& source : sources) {
    SCOPED_TRACE(source.Path + source.Prefix.substr(0, 8) + "/" + source.Filler);
    const auto read = [&](bool whole) {
      const FedPipe pipe(source.Prefix, source.Filler);
      const std::string path = source.Path.empty() ? pipe.Path() : source.Path;
      return ErrorOf([&] {
        return whole ? ReadTextFile(path, "F", "lines file", source.MaxBytes).Bytes.str()
                     : ReadFirstLine(path, "F", "lines file", source.MaxBytes);
      });
    };
    EXPECT_EQ(read(true), source.Whole);
    EXPECT_EQ(read(false), source.FirstLine);
  }
  // Without a name to show, the message names the path; the kind is a text file.
  EXPECT_EQ(ErrorOf([&] { return ReadTextFile(late).Bytes.str(); }), late + refused);
  EXPECT_EQ(ErrorOf([&] { return ReadFirstLine(tooLarge); }),
            "File too large to be a text file: " + tooLarge);

  if (::geteuid() != 0) {  // permissions do not stop the superuser
    ASSERT_EQ(::chmod(late.c_str(), 0), 0);
    EXPECT_EQ(ErrorOf([&] { return ReadTextFile(late).Bytes.str(); }),
              "Cannot open " + late + ": Permission denied");
  }
}

// Every reader of the program's files refuses a file over 1 GiB (sparse here: it costs no disk)
// by its size, naming what the file should have been, each under its own title, then goes on as
// after any unreadable file (devices that never end: tests/data/bad/md-dev-zero, im-dev-urandom).
TEST(TextFile, EveryReaderRefusesAFileTooLarge) {
  TempFolder folder;
  const std::string big = folder.Write("big", "");
  ASSERT_EQ(::truncate(big.c_str(), static_cast<off_t>(kMaxTextFileBytes + 1)), 0);
  for (const char* extension : {".lns", ".cve"})
    ASSERT_EQ(::symlink(big.c_str(), (big + extension).c_str()), 0);
  RecordingSink sink;
  MarkList list;
  LinesFileText text;
  OpenMarkDetailsFile(big, big, list, sink);
  ReadDumpFileAtStartUp(big, list, sink);
  ImportDelimitedText(big, big, ReadImportColumnNumbers("1", "2", "3", "0", "0"), list, sink);
  EXPECT_EQ(ValidKESTRALfile(big, sink, text), 0);
  CurveIndex curves(big, sink);
  EXPECT_EQ(curves.Find(1, 2), nullptr);
  const std::string tooLarge = "File too large to be a ";
  EXPECT_EQ(Said(sink),
            "! Open CSV file error | " + tooLarge + "Mark Details file: " + big + " | 0\n" +
                "! Open CSV file error | This is not a Mark Details file | 0\n" +
                "! Open CSV file error | " + tooLarge + "screen dump file: " + big + " | 0\n" +
                "! Open Dump file error | No mark details found in dump file | 1\n" +
                "! Import file error | " + tooLarge + "text file of coordinates: " + big +
                " | 0\n" + "! Import error | Nothing found in file | 1\n" +
                "! Read KESTRAL file error | " + tooLarge + "lines file: " + big + ".lns | 1\n" +
                "! Get Chord data error | " + tooLarge + "curve file: " + big + ".cve | 1\n");
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
  ValueLineSplitter all, keepingOne;
  const std::string longest(kMaxValueLength, 'v');
  EXPECT_EQ(all.Split("\"" + longest + "\"," + longest, 1, "f"),
            (std::vector<std::string_view>{longest, longest}));
  // Unquoted, quoted, unterminated, grown by a doubled quote: one byte too long, whether the
  // value is kept or only counted.
  for (const std::string& line : {"a," + longest + "v", "\"" + longest + "v\"",
                                  "\"" + longest + "v", "\"" + longest + "\"\"\""}) {
    EXPECT_EQ(ErrorOf([&] { return all.Split(line, 41207, "/plans/DP1234.lns"), ""; }),
              "Value too long at line 41207 of /plans/DP1234.lns");
    EXPECT_EQ(ErrorOf([&] { return keepingOne.Split("a,b," + line, 7, "f", 1), ""; }),
              "Value too long at line 7 of f");
  }
}

// Every step of a replacement made to fail in turn: the writers' fault loop
// (tests/cli/test_write_faults.cpp). When even the clean-up fails, the message still names the
// failure that ended the write, and the old file stays.
TEST(AtomicFile, AFailedCleanUpReportsTheFailureThatEndedTheWrite) {
  TempFolder folder;
  const std::string target = folder.Write("plan.lns", "old");
  FaultyFileOps ops(
      {.FailAt = 4, .FromThenOn = true, .SpareRemoveTemp = false, .ErrorNumber = ENOSPC});
  EXPECT_EQ(ErrorOf([&] { return AtomicWriteFile(target, "new", ops), ""; }),
            "Cannot write " + target + ": No space left on device");
  EXPECT_EQ(ops.FirstFailure(), "Write");
  EXPECT_EQ(ReadBytes(target), "old");
}

// Permission bits stay (an empty and a large file); a new file gets 0666 less the umask, and
// reading the umask does not change it. Written through a link, or an absolute link to a link, the
// file at the end is replaced and the links stay; the temporary file goes into the target's folder
// and is gone; a link to a file not yet there creates that file. A FIFO is written in place and
// stays a FIFO. Nothing is left behind. (What cannot be written: tests/data/bad/out-*.expect.)
TEST(AtomicFile, KeepsModesAndLinks) {
  const mode_t previousMask = ::umask(022);
  TempFolder folder;
  ASSERT_EQ(::mkdir((folder / "data").c_str(), 0755), 0);
  const std::string real = folder.Write("data/real.csv", "old");
  const std::string large(5 * 1024 * 1024, 'x');
  struct stat info {};
  for (const mode_t mode : {mode_t{0604}, mode_t{0755}})
    for (const std::string& bytes : {std::string(), large}) {
      ::chmod(real.c_str(), mode);
      AtomicWriteFile(real, bytes);
      EXPECT_EQ(ReadBytes(real), bytes);
      EXPECT_TRUE(::stat(real.c_str(), &info) == 0 && (info.st_mode & 07777) == mode);
    }
  for (const mode_t mask : {mode_t{027}, mode_t{0}}) {
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
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  const Names names = {"data", "link.csv", "chain.csv", "dangling.csv", "fifo"};
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
  EXPECT_EQ(folder.Names(), names);
  EXPECT_EQ(folder.Names("data"), (Names{"real.csv", "later.csv"}));
}

}  // namespace
}  // namespace modKestralMGA
