// Reading text files: the byte rules, the refusals and their messages, and line splitting.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "common/Errors.h"
#include "common/TextFile.h"

using namespace modKestralMGA;
using testsupport::TempFolder;

namespace {

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  LineSplitter splitter(bytes);
  std::string_view line;
  while (splitter.Next(line)) {
    lines.emplace_back(line);
    EXPECT_EQ(splitter.LineNumber(), static_cast<std::int64_t>(lines.size()));
  }
  return lines;
}

// The message of the FileError that reading path throws ("" when it throws none).
template <typename Read>
std::string ErrorOf(Read read) {
  try {
    read();
  } catch (const FileError& e) {
    return e.what();
  }
  return {};
}

TEST(TextFileTest, ByteRulesOfTheWholeFile) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::string Expected;
  };
  const std::vector<Case> cases = {
      {"plain", "a,b\r\nc\r\n", "a,b\r\nc\r\n"},
      {"utf-8 BOM dropped", "\xEF\xBB\xBFPSM\r\n", "PSM\r\n"},
      {"BOM only at the start", "a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},
      {"trailing 0x1A dropped", "x\r\n\x1A", "x\r\n"},
      {"several trailing 0x1A", "x\x1A\x1A\x1A", "x"},
      {"inner 0x1A kept", "x\x1A\r\ny", "x\x1A\r\ny"},
      {"Windows-1252 kept", "\xB0\x80\xE9", "\xB0\x80\xE9"},
      {"empty", "", ""},
      {"BOM and 0x1A only", "\xEF\xBB\xBF\x1A", ""},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    const std::string path = folder.Write("file.txt", c.Bytes);
    const TextFile file = ReadTextFile(path);
    EXPECT_EQ(file.Bytes, c.Expected) << c.Name;
    EXPECT_EQ(file.Path, path) << c.Name;
    // The first line is the first line of what the whole file reads as.
    const std::vector<std::string> lines = SplitLines(c.Expected);
    EXPECT_EQ(ReadFirstLine(path), lines.empty() ? std::string() : lines.front()) << c.Name;
  }
}

TEST(TextFileTest, RefusesANul) {
  TempFolder folder;
  const std::string expected =
      " is not a plain text file (UTF-16 or binary); save it as plain text";
  // UTF-16 text: every other byte is NUL.
  const std::string utf16 = folder.Write("utf16.txt", std::string("\xFF\xFEP\0S\0M\0", 8));
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(utf16); }), utf16 + expected);
  EXPECT_EQ(ErrorOf([&] { ReadFirstLine(utf16); }), utf16 + expected);
  // The message names the file as the caller shows it.
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(utf16, "PLAN.LNS"); }), "PLAN.LNS" + expected);

  // A NUL at the last byte of the first 4 KiB, after a first line that ends early: ReadFirstLine
  // must still look at the whole 4 KiB.
  std::string late = "first line\r\n" + std::string(4096 - 13, 'x') + std::string(1, '\0');
  ASSERT_EQ(late.size(), 4096u);
  const std::string latePath = folder.Write("late.txt", late + "more");
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(latePath); }), latePath + expected);
  EXPECT_EQ(ErrorOf([&] { ReadFirstLine(latePath); }), latePath + expected);

  // A NUL past the first 4 KiB refuses the whole file too: kept, it would reach a cell, and a
  // list saved with it in its first 4 KiB could not be opened again. Reading the first line
  // alone does not look past it.
  const std::string beyond = "first line\r\n" + std::string(4096, 'x') + std::string(1, '\0');
  const std::string beyondPath = folder.Write("beyond.txt", beyond);
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(beyondPath); }), beyondPath + expected);
  EXPECT_EQ(ReadFirstLine(beyondPath), "first line");
}

TEST(TextFileTest, FilesThatCannotBeReadNameThePath) {
  TempFolder folder;
  const std::string missing = folder / "missing.lns";
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(missing); }),
            "Cannot open " + missing + ": No such file or directory");
  EXPECT_EQ(ErrorOf([&] { ReadFirstLine(missing, "missing.lns"); }),
            "Cannot open missing.lns: No such file or directory");
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(folder.Path()); }),
            "Cannot open " + folder.Path() + ": Is a directory");
  EXPECT_EQ(ErrorOf([&] { ReadFirstLine(folder.Path()); }),
            "Cannot open " + folder.Path() + ": Is a directory");
}

TEST(TextFileTest, AnUnreadableFileGivesTheSystemDescription) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  TempFolder folder;
  const std::string path = folder.Write("locked.txt", "x");
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  EXPECT_EQ(ErrorOf([&] { ReadTextFile(path); }), "Cannot open " + path + ": Permission denied");
}

// The English description whatever the locale (the tests run under de_DE.UTF-8, where strerror
// would say "Datei oder Verzeichnis nicht gefunden" when the translations are installed).
TEST(TextFileTest, SystemErrorTextIsEnglish) {
  EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
  EXPECT_EQ(SystemErrorText(EACCES), "Permission denied");
  EXPECT_EQ(SystemErrorText(ENOSPC), "No space left on device");
  EXPECT_EQ(SystemErrorText(-5), "Unknown error -5");
}

TEST(TextFileTest, FirstLineOfLargeAndOddFiles) {
  TempFolder folder;
  struct Case {
    const char* Name;
    std::string Bytes;
    std::string Expected;
  };
  const std::string longLine(100000, 'L');
  const std::vector<Case> cases = {
      {"blank first line of a large file", "\r\n" + std::string(3000000, 'x'), ""},
      {"CR alone", "one\rtwo", "one"},
      {"LF alone", "one\ntwo", "one"},
      {"no line end", "only", "only"},
      {"no line end, 0x1A", "only\x1A", "only"},
      {"first line longer than the chunks", longLine + "\r\nnext", longLine},
      {"first line to the end", longLine, longLine},
      {"BOM", "\xEF\xBB\xBF\"PSM No.\",East\r\n", "\"PSM No.\",East"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadFirstLine(folder.Write("file.txt", c.Bytes)), c.Expected) << c.Name;
  }
}

TEST(LineSplitterTest, AllLineEndsAndTheUnendedLastLine) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
  };
  const std::vector<Case> cases = {
      {"CRLF", "a\r\nb\r\n", {"a", "b"}},
      {"LF", "a\nb\n", {"a", "b"}},
      {"CR", "a\rb\r", {"a", "b"}},
      {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"no final line end", "a\r\nb", {"a", "b"}},
      {"blank lines count", "a\r\n\r\n\nb", {"a", "", "", "b"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"one empty line", "\r\n", {""}},
      {"empty text", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.Bytes), c.Lines) << c.Name;
}

TEST(LineSplitterTest, BlankLines) {
  EXPECT_TRUE(IsBlankLine(""));
  EXPECT_TRUE(IsBlankLine(" \t "));
  EXPECT_FALSE(IsBlankLine(" ,"));
  EXPECT_FALSE(IsBlankLine("\r"));
  EXPECT_FALSE(IsBlankLine(" x "));
}

}  // namespace
