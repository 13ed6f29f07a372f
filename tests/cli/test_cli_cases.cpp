// The batch program's cases, run in-process: tests/data/cli-cases (its contract: status, the
// "<title>: <text>" lines on standard error, standard output exactly, the files it writes) and
// the bad-input corpus tests/data/bad. Each <case>.expect holds, line by line ("#" notes):
//   run: words split at blanks (several add up)   arg: one argument as written (blanks kept)
//   status: the exit status                        stderr: one line each, in order
//   stdout: one line each | none | unwritable (every write to standard output fails)
//   stdout-file: the file holding the expected standard output byte for byte
//   out: unchanged - {out} held an earlier file, which must be byte for byte as it was
//   saved: one line each - {out} held an earlier file and now holds exactly these lines (CR LF)
//   file: NAME GOLDEN - {folder}/NAME is GOLDEN, today's "Printed on" line there as DATE
//   pdf: NAME GOLDEN - the lines of the PDF {folder}/NAME, "Printed on" as above
// {dir} is the case's folder, {marks} the fixtures' marks, {folder} a fresh folder, {out} a file
// in it. Nothing is left in the folder but those files, and no case changes the corpus folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "../unit/PdfText.h"
#include "../unit/TempFolder.h"
#include "cli/RunCli.h"
#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
const std::string kEarlierFile = "an earlier file\r\n";
const char* const kFolders[] = {"tests/data/bad", "tests/data/cli-cases"};

// A stream buffer every write to which fails, as a full disk or a closed pipe makes it.
class FailingBuffer final : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

struct Expectation {
  std::vector<std::string> Args;
  std::string Used;  // the run's words and golden files, to see that every fixture is used
  int Status = -1;
  std::string Err, Out, Saved;
  bool OutNone = false, Unwritable = false, OutUnchanged = false;
  std::map<std::string, std::string> Files, Pdfs;  // name in {folder} -> golden file
};

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
}

Expectation ReadExpectation(const fs::path& path, const std::string& folder) {
  Expectation e;
  std::istringstream in(ReadBytes(path.string()));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    const std::size_t colon = line.find(':');
    const std::string key = line.substr(0, colon);
    std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
    Replace(value, "{dir}", path.parent_path().string());
    Replace(value, "{marks}", "tests/data/cli/marks.csv");
    Replace(value, "{out}", folder + "/out.csv");
    Replace(value, "{folder}", folder);
    if (key == "run" || key == "arg") e.Used += value + "\n";
    if (key == "run") {
      std::istringstream words(value);
      e.Args.insert(e.Args.end(), std::istream_iterator<std::string>(words), {});
    } else if (key == "arg") {
      e.Args.push_back(value);
    } else if (key == "status") {
      e.Status = std::stoi(value);
    } else if (key == "stderr") {
      e.Err += value + "\n";
    } else if (key == "stdout") {
      e.OutNone |= value == "none";
      e.Unwritable |= value == "unwritable";
      if (value != "none" && value != "unwritable") e.Out += value + "\n";
    } else if (key == "stdout-file") {
      e.Out = ReadBytes(value);
      e.Used += value + "\n";
    } else if (key == "out" && value == "unchanged") {
      e.OutUnchanged = true;
    } else if (key == "saved") {
      e.Saved += value + "\r\n";
    } else if (key == "file" || key == "pdf") {
      std::istringstream words(value);
      std::string name, golden;
      words >> name >> golden;
      (key == "file" ? e.Files : e.Pdfs)[name] = golden;
      e.Used += golden + "\n";
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
std::map<std::string, std::uintmax_t> Listing() {
  std::map<std::string, std::uintmax_t> listing;
  for (const char* folder : kFolders) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      listing[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
    }
  }
  return listing;
}

std::vector<fs::path> Cases() {
  std::vector<fs::path> cases;
  for (const auto& [path, size] : Listing()) {
    if (fs::path(path).extension() == ".expect") cases.push_back(path);
  }
  return cases;
}

TEST(CliCases, EveryCaseGivesTheOutcomeWrittenBesideIt) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  const auto listing = Listing();
  for (const fs::path& path : Cases()) {
    SCOPED_TRACE(path.string());
    testsupport::TempFolder folder;
    const Expectation e = ReadExpectation(path, folder.Path());
    const bool earlier = e.OutUnchanged || !e.Saved.empty();
    if (earlier) folder.Write("out.csv", kEarlierFile);

    FailingBuffer failing;
    std::ostringstream out, err;
    if (e.Unwritable) out.basic_ios::rdbuf(&failing);
    EXPECT_EQ(RunCli(e.Args, out, err), e.Status);
    EXPECT_EQ(err.str(), e.Err);
    EXPECT_EQ(out.str(), e.Unwritable || e.OutNone ? "" : e.Out);
    const std::string outFile = ReadBytes(folder / "out.csv");
    EXPECT_EQ(outFile, !earlier ? "" : e.OutUnchanged ? kEarlierFile : e.Saved);
    std::set<std::string> names;
    if (earlier) names.insert("out.csv");
    for (const auto& [name, golden] : e.Files) {
      names.insert(name);
      EXPECT_EQ(WithDatePlaceholder(ReadBytes(folder / name)), ReadBytes(golden)) << name;
    }
    for (const auto& [name, golden] : e.Pdfs) {
      names.insert(name);
      EXPECT_EQ(WithDatePlaceholder(PdfLines(folder / name)), ReadBytes(golden)) << name;
    }
    EXPECT_EQ(folder.Names(), names) << "files left beside the output";
    EXPECT_EQ(Listing(), listing) << "the case changed a corpus folder";
  }
}

// Every fixture of the corpus folders is used by a case.
TEST(CliCases, EveryFileBelongsToACase) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  std::string used;
  for (const fs::path& path : Cases()) used += ReadExpectation(path, "").Used;
  for (const auto& [name, size] : Listing()) {
    const fs::path file(name);
    if (file.extension() == ".expect") continue;
    const std::string stem = (file.parent_path() / file.stem()).string();
    EXPECT_TRUE(used.find(name) != std::string::npos ||
                used.find(stem + " ") != std::string::npos ||
                used.find(stem + "\n") != std::string::npos)
        << name << " is used by no case";
  }
}

}  // namespace
}  // namespace modKestralMGA
