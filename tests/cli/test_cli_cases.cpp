// The batch program's cases, run in-process: tests/data/cli-cases (its contract: status, the
// "<title>: <text>" lines on standard error, standard output exactly, the files it writes) and
// the bad-input corpus tests/data/bad. Each <case>.expect holds, line by line ("#" notes):
//   run: words split at blanks (several add up)   arg: one argument as written (blanks kept)
//   status: the exit status                        stderr: one line each, in order
//   stdout: one line each | none | unwritable (every write to standard output fails)
//   stdout-file: the file holding the expected standard output byte for byte
//   out: unchanged - {out} held an earlier file, which must be byte for byte as it was
//   saved: one line each - {out} held an earlier file and now holds exactly these lines (CR LF)
//   file: NAME GOLDEN - {folder}/NAME (a PDF's text lines) is GOLDEN, "Printed on" today as DATE
// {dir} is the case's folder, {marks} the fixtures' marks, {folder} a fresh folder, {out} a file
// in it. Nothing is left in the folder but those files, and no case changes the corpus folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"
#include "cli/CliArguments.h"
#include "cli/RunCli.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
const std::string kEarlierFile = "an earlier file\r\n";

struct Expectation {
  std::vector<std::string> Args;
  std::string Used;  // every value, to see that every fixture is used
  int Status = -1;
  std::string Err, Out, OutFile;  // OutFile: what {out}, an earlier file at first, holds after
  bool Unwritable = false;
  std::map<std::string, std::string> Files;  // name in {folder} -> golden file
};

Expectation ReadExpectation(const fs::path& path, const std::string& folder) {
  Expectation e;
  std::istringstream in(ReadBytes(path.string()));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    const std::string key = line.substr(0, line.find(':'));
    std::string value = key.size() + 2 <= line.size() ? line.substr(key.size() + 2) : "";
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"{dir}", path.parent_path()},
                                   {"{marks}", "tests/data/cli/marks.csv"},
                                   {"{out}", folder + "/out.csv"},
                                   {"{folder}", folder}}) {
      for (std::size_t at; (at = value.find(from)) != std::string::npos;) {
        value.replace(at, from.size(), to);
      }
    }
    e.Used += value + "\n";
    std::istringstream words(value);
    if (key == "run") {
      e.Args.insert(e.Args.end(), std::istream_iterator<std::string>(words), {});
    } else if (key == "arg") {
      e.Args.push_back(value);
    } else if (key == "status") {
      e.Status = std::stoi(value);
    } else if (key == "stderr") {
      e.Err += value + "\n";
    } else if (key == "stdout") {
      e.Unwritable |= value == "unwritable";
      if (value != "none" && value != "unwritable") e.Out += value + "\n";
    } else if (key == "stdout-file") {
      e.Out = ReadBytes(value);
    } else if (key == "out" && value == "unchanged") {
      e.OutFile = kEarlierFile;
    } else if (key == "saved") {
      e.OutFile += value + "\r\n";
    } else if (key == "file") {
      std::string name, golden;
      words >> name >> golden;
      e.Files[name] = golden;
    } else {
      ADD_FAILURE() << path << ": unknown key in \"" << line << "\"";
    }
  }
  return e;
}

// The bytes with today's date line, which the report must hold, made "Printed on DATE".
std::string WithDatePlaceholder(std::string bytes) {
  const std::string today = "Printed on " + EnglishDateText(LocalToday());
  const std::size_t at = bytes.find(today);
  EXPECT_NE(at, std::string::npos) << "no date line for today";
  if (at != std::string::npos) bytes.replace(at, today.size(), "Printed on DATE");
  return bytes;
}

// The text lines of a PDF, each page ended by a form feed line.
std::string PdfLines(const std::string& path) {
  std::string text;
  for (const auto& page :
       testsupport::PdfPageLines(testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, path))) {
    for (const std::string& line : page) text += line + "\n";
    text += "\f\n";
  }
  return text;
}

// The names and sizes of the corpus folders' entries.
std::map<fs::path, std::uintmax_t> Listing() {
  std::map<fs::path, std::uintmax_t> listing;
  for (const char* folder : {"tests/data/bad", "tests/data/cli-cases"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      listing[entry.path()] = entry.is_regular_file() ? entry.file_size() : 0;
    }
  }
  return listing;
}

TEST(CliCases, EveryCaseGivesTheOutcomeWrittenBesideIt) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  const auto listing = Listing();
  for (const auto& [path, size] : listing) {
    if (path.extension() != ".expect") continue;
    SCOPED_TRACE(path.string());
    testsupport::TempFolder folder;
    const Expectation e = ReadExpectation(path, folder.Path());
    std::set<std::string> names;
    if (!e.OutFile.empty())
      names.insert(fs::path(folder.Write("out.csv", kEarlierFile)).filename());
    std::ostringstream out, err;
    if (e.Unwritable) out.setstate(std::ios::badbit);  // as a full disk or a closed pipe leaves it
    EXPECT_EQ(RunCli(e.Args, out, err), e.Status);
    EXPECT_EQ(err.str(), e.Err);
    EXPECT_EQ(out.str(), e.Out);
    EXPECT_EQ(ReadBytes(folder / "out.csv"), e.OutFile);
    for (const auto& [name, golden] : e.Files) {
      names.insert(name);
      const bool pdf = name.ends_with(".pdf");
      EXPECT_EQ(WithDatePlaceholder(pdf ? PdfLines(folder / name) : ReadBytes(folder / name)),
                ReadBytes(golden))
          << name;
    }
    EXPECT_EQ(folder.Names(), names) << "files left beside the output";
    EXPECT_EQ(Listing(), listing) << "the case changed a corpus folder";
  }
}

// Every fixture of the corpus folders is used by a case.
TEST(CliCases, EveryFileBelongsToACase) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  std::string used;
  for (const auto& [path, size] : Listing()) {
    if (path.extension() == ".expect") used += ReadExpectation(path, "").Used;
  }
  for (const auto& [path, size] : Listing()) {
    const std::string stem = (path.parent_path() / path.stem()).string();
    EXPECT_TRUE(path.extension() == ".expect" || used.find(path.string()) != std::string::npos ||
                used.find(stem + " ") != std::string::npos ||
                used.find(stem + "\n") != std::string::npos)
        << path << " is used by no case";
  }
}

// The mark list options in their order, each import with the column numbers it takes (written
// "path@P,E,N,H,Z"), which the outputs do not show directly.
TEST(CliArguments, MarkListOptionsKeepTheirOrderAndImportsTheirColumns) {
  const std::pair<std::string, std::string> cases[] = {
      {"--marks b --marks a", "b a"},
      {"--import p", "p@1,2,3,0,0"},
      {"--import p --columns 4,5,6,0,0 --marks m --import q", "p@4,5,6,0,0 m q@4,5,6,0,0"},
      {"--columns 4,5,6,0,0 --import p --import q --columns 7,8,9,2,1", "p@4,5,6,0,0 q@7,8,9,2,1"},
      {"--import p --marks m --columns 7,8,9,2,1 --import q", "p@1,2,3,0,0 m q@7,8,9,2,1"},
  };
  for (const auto& [args, expected] : cases) {
    std::istringstream words("compare --plan 1234 " + args);
    std::string sources;
    for (const MarkSource& source :
         ParseCliArguments({std::istream_iterator<std::string>(words), {}}).Compare.MarkSources) {
      sources += (sources.empty() ? "" : " ") + source.Path;
      if (source.SourceKind == MarkSource::Kind::MarkDetails) continue;
      for (const std::string& column : source.Columns) {
        sources += (&column == &source.Columns[0] ? "@" : ",") + column;
      }
    }
    EXPECT_EQ(sources, expected) << args;
  }
}

}  // namespace
}  // namespace modKestralMGA
