// The batch program's cases, run in-process: tests/data/cli-cases (its contract: status, the
// "<title>: <text>" lines on standard error, standard output exactly, the files it writes) and
// the bad-input corpus tests/data/bad. Each <case>.expect holds, line by line ("#" notes):
//   run: words split at blanks (several add up)   arg: one argument as written (blanks kept)
//   status: the exit status                        stderr: one line each, in order
//   stdout: one line each | none | unwritable (every write to standard output fails)
//   stdout-file: the file holding the expected standard output byte for byte
//   out: unchanged - {out} held an earlier file, which must be byte for byte as it was
//   saved: one line each - {out} held an earlier file and now holds exactly these lines (CR LF)
//   stdout-pdf: GOLDEN - standard output is a PDF alone, whose text lines are GOLDEN
//   file: NAME GOLDEN - {folder}/NAME (a PDF's text lines) is GOLDEN, "Printed on" today as DATE
//   (standard output too, where its expectation holds "Printed on DATE"); a .geojson as it is
//   stdin: FILE - the file the process's standard input reads during the run
//   link: NAME TARGET - {folder}/NAME is made a symbolic link to TARGET before the run
//   env: NAME VALUE - the environment variable NAME is VALUE during the run
// {dir} is the case's folder, {marks} the fixtures' marks, {folder} a fresh folder, {out} a file
// in it. Nothing is left in the folder but those files, no case changes the corpus folders, and
// /dev/null and /dev/full stay devices. With KESTRAL_UPDATE_GOLDEN=1 (make golden) each case's
// outcome is written into its expectation and its golden files first.
//
// The built batch program itself, without a display. Its golden runs give the same bytes under
// LC_ALL=C and under LC_ALL=de_DE.UTF-8 (a comma-decimal locale), in status, both streams, saved
// files and PDF text: Qt adopts the environment's locale when it starts, and its own diagnostics
// must not reach standard error; a full standard output ends with status 2. Then the write failures
// the operating system itself gives, each check skipping itself (with the reason) where the system
// refuses to set it up: the earlier file stays as it was, with nothing left beside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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
using testsupport::Golden;
using testsupport::ReadBytes;
using testsupport::TempFolder;
const std::string kEarlierFile = "an earlier file\r\n";

// text with every key of substitutions replaced by its value.
std::string Substitute(std::string text, const std::map<std::string, std::string>& substitutions) {
  for (const auto& [from, to] : substitutions) {
    for (std::size_t at; (at = text.find(from)) != std::string::npos;)
      text.replace(at, from.size(), to);
  }
  return text;
}

struct Expectation {
  std::vector<std::string> Args;
  std::string Used;  // every value, to see that every fixture is used
  int Status = -1;
  std::string Err, Out, OutFile;  // OutFile: what {out}, an earlier file at first, holds after
  std::string OutGolden;          // the stdout-file
  bool Unwritable = false;
  std::map<std::string, std::string> Files;  // name in {folder} ("stdout.pdf": standard output)
  std::string Stdin;                         // the file standard input reads
  std::map<std::string, std::string> Links;  // name in {folder} -> the link's target
  std::map<std::string, std::string> Env;    // variable -> its value during the run
};

// The key of a line of the expectation at path (empty for a note) and its value as the case reads
// it, placeholders filled in.
std::pair<std::string, std::string> KeyAndValue(const std::string& line, const fs::path& path,
                                                const std::string& folder) {
  if (line.empty() || line.front() == '#') return {};
  const std::string key = line.substr(0, line.find(':'));
  return {key, Substitute(key.size() + 2 <= line.size() ? line.substr(key.size() + 2) : "",
                          {{"{dir}", path.parent_path()},
                           {"{marks}", "tests/data/cli/marks.csv"},
                           {"{out}", folder + "/out.csv"},
                           {"{folder}", folder}})};
}

Expectation ReadExpectation(const fs::path& path, const std::string& folder) {
  Expectation e;
  std::istringstream in(ReadBytes(path.string()));
  for (std::string line; std::getline(in, line);) {
    const auto [key, value] = KeyAndValue(line, path, folder);
    if (key.empty()) continue;
    e.Used += value + "\n";
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
      e.Unwritable |= value == "unwritable";
      if (value != "none" && value != "unwritable") e.Out += value + "\n";
    } else if (key == "stdout-file") {
      e.Out = ReadBytes(e.OutGolden = value);
    } else if (key == "out" && value == "unchanged") {
      e.OutFile = kEarlierFile;
    } else if (key == "saved") {
      e.OutFile += value + "\r\n";
    } else if (key == "file" || key == "link" || key == "env") {  // NAME GOLDEN|TARGET|VALUE
      (key == "file"   ? e.Files
       : key == "link" ? e.Links
                       : e.Env)[value.substr(0, value.find(' '))] =
          value.substr(value.find(' ') + 1);
    } else if (key == "stdout-pdf") {
      e.Files["stdout.pdf"] = value;
    } else if (key == "stdin") {
      e.Stdin = value;
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
    for (const auto& entry : fs::directory_iterator(folder))
      listing[entry.path()] = entry.is_regular_file() ? entry.file_size() : 0;
  }
  return listing;
}

// The lines of text, each ended by end.
std::vector<std::string> LinesOf(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, next; at < text.size(); at = next + end.size())
    lines.push_back(text.substr(at, (next = std::min(text.find(end, at), text.size())) - at));
  return lines;
}

// Writes an outcome into the expectation at path (make golden): got holds the values of each key
// it rewrites, which take the place of that key's lines (which follow each other) or follow the
// last line; a line whose value reads as its new value stays as written, as do the notes and the
// lines of other keys.
void RewriteExpectation(const fs::path& path, const std::string& folder,
                        std::map<std::string, std::vector<std::string>> got) {
  const auto rewritten = got;
  const std::vector<std::string> lines = LinesOf(ReadBytes(path.string()), "\n");
  std::map<std::string, std::vector<std::string>> old;  // of each key: its lines
  for (const std::string& line : lines) old[KeyAndValue(line, path, folder).first].push_back(line);
  std::string text;
  const auto write = [&](const std::string& key) {
    for (std::size_t n = 0; n < got[key].size(); ++n) {
      const bool same =
          n < old[key].size() && KeyAndValue(old[key][n], path, folder).second == got[key][n];
      text += (same ? old[key][n] : key + ": " + Substitute(got[key][n], {{folder, "{folder}"}})) +
              "\n";
    }
    got.erase(key);
  };
  for (const std::string& line : lines) {
    const std::string key = KeyAndValue(line, path, folder).first;
    if (!rewritten.contains(key)) {
      text += line + "\n";
    } else if (got.contains(key)) {
      write(key);
    }
  }
  while (!got.empty()) write(got.begin()->first);
  Golden(path.string(), text);
}

// Runs the case at path in a fresh folder through run (which gives the status and fills both
// streams) and checks its outcome; returns the case's values.
std::string CheckCase(
    const fs::path& path,
    const std::function<int(const Expectation&, std::ostringstream&, std::ostringstream&)>& run) {
  SCOPED_TRACE(path.string());
  TempFolder folder;
  const Expectation e = ReadExpectation(path, folder.Path());
  std::set<std::string> names;
  if (!e.OutFile.empty()) names.insert(fs::path(folder.Write("out.csv", kEarlierFile)).filename());
  for (const auto& [name, target] : e.Links) {
    names.insert(name);
    EXPECT_EQ(::symlink(fs::absolute(target).c_str(), (folder / name).c_str()), 0);
  }
  std::ostringstream out, err;
  const int status = run(e, out, err);
  EXPECT_EQ(status, e.Status);
  EXPECT_EQ(err.str(), e.Err);
  std::map<std::string, std::vector<std::string>> got = {{"status", {std::to_string(status)}},
                                                         {"stderr", LinesOf(err.str(), "\n")}};
  if (e.Files.contains("stdout.pdf")) {
    EXPECT_TRUE(out.str().ends_with("%%EOF\n")) << "more than the PDF on standard output";
    folder.Write("stdout.pdf", out.str());
  } else {
    const bool dated = e.Out.find("Printed on DATE") != std::string::npos;
    const std::string bytes = dated ? WithDatePlaceholder(out.str()) : out.str();
    EXPECT_EQ(bytes, e.OutGolden.empty() ? e.Out : Golden(e.OutGolden, bytes));
    if (e.OutGolden.empty() && !e.Unwritable)
      got["stdout"] = LinesOf(bytes.empty() ? "none" : bytes, "\n");
  }
  const std::string outFile = ReadBytes(folder / "out.csv");
  EXPECT_EQ(outFile, e.OutFile);
  if (!e.OutFile.empty()) {
    const bool unchanged = outFile == kEarlierFile;
    got["out"] = LinesOf(unchanged ? "unchanged" : "", "\n");
    got["saved"] = LinesOf(unchanged ? "" : outFile, "\r\n");
  }
  for (const auto& [name, golden] : e.Files) {
    names.insert(name);
    const std::string read =
        name.ends_with(".pdf") ? PdfLines(folder / name) : ReadBytes(folder / name);
    const std::string bytes = name.ends_with(".geojson") ? read : WithDatePlaceholder(read);
    EXPECT_EQ(bytes, Golden(golden, bytes)) << name;
  }
  if (testsupport::UpdatingGolden()) RewriteExpectation(path, folder.Path(), got);
  EXPECT_EQ(folder.Names(), names) << "files left beside the output";
  EXPECT_TRUE(fs::is_character_file("/dev/null") && fs::is_character_file("/dev/full"));
  return e.Used;
}

// Every case gives its outcome, and every fixture of the corpus folders is used by a case.
TEST(CliCases, EveryCaseGivesTheOutcomeWrittenBesideIt) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  const auto listing = Listing();
  std::string used;
  for (const auto& [path, size] : listing) {
    if (path.extension() != ".expect") continue;
    // An unwritable standard output is one that fails, as a full disk or a closed pipe leaves it.
    used += CheckCase(path, [](const Expectation& e, auto& out, auto& err) {
      if (e.Unwritable) out.setstate(std::ios::badbit);
      for (const auto& [name, value] : e.Env) ::setenv(name.c_str(), value.c_str(), 1);
      int status = 0;
      if (e.Stdin.empty()) {
        status = RunCli(e.Args, out, err);
      } else {
        const int saved = ::dup(0), input = ::open(e.Stdin.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_TRUE(saved >= 0 && input >= 0 && ::dup2(input, 0) == 0) << e.Stdin;
        status = RunCli(e.Args, out, err);
        ::dup2(saved, 0), ::close(saved), ::close(input);
      }
      for (const auto& [name, value] : e.Env) ::unsetenv(name.c_str());
      return status;
    });
    EXPECT_TRUE(testsupport::UpdatingGolden() || Listing() == listing)
        << path << " changed a corpus folder";
  }
  for (const auto& [path, size] : listing) {
    const std::string stem = (path.parent_path() / path.stem()).string();
    EXPECT_TRUE(path.extension() == ".expect" || used.find(path.string()) != std::string::npos ||
                used.find(stem + " ") != std::string::npos ||
                used.find(stem + "\n") != std::string::npos)
        << path << " is used by no case";
  }
}

// The mark list options in their order (compare-marks-in-order shows the order of two Mark Details
// files), each import with the column numbers it takes (written
// "path@P,E,N,H,Z"), which the outputs do not show directly.
TEST(CliArguments, MarkListOptionsKeepTheirOrderAndImportsTheirColumns) {
  const std::pair<std::string, std::string> cases[] = {
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
      for (std::size_t i = 0;
           source.SourceKind != MarkSource::Kind::MarkDetails && i < source.Columns.size(); ++i)
        sources += (i == 0 ? "@" : ",") + source.Columns[i];
    }
    EXPECT_EQ(sources, expected) << args;
  }
}

// Runs the shell command line ({cli} the program's path, {folder} the folder's) from the source
// folder without a display or a language, standard error to folder/err and standard output to
// folder/out unless the line sends it elsewhere; its exit status (-1 when it did not exit).
int RunLine(std::string line, const TempFolder& folder) {
  if (line.find('>') == std::string::npos) line += " >{folder}/out";
  const std::string command = "cd '" KESTRAL_SOURCE_DIR
                              "' && env -u LANG -u LANGUAGE -u DISPLAY "
                              "-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                              line + " 2>{folder}/err";
  const int status = std::system(
      Substitute(command, {{"{cli}", KESTRAL_CLI_PROGRAM}, {"{folder}", folder.Path()}}).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The built program gives the cases' outcomes, byte for byte, under LC_ALL=C and under a
// comma-decimal locale; an unwritable standard output is /dev/full.
TEST(Program, GoldenRunsGiveTheSameBytesUnderEveryLocale) {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0);
  for (const char* name :
       {"compare-good", "compare-not-acceptable", "compare-datum-details", "compare-datum-amg",
        "compare-example", "report-pdf", "report-datum-full-joins", "joins-height", "save-replaces",
        "compare-csv", "compare-json", "batch-csv", "compare-stdout-unwritable", "compare-geojson",
        "diagnose-survey-csv"}) {
    for (const std::string locale : {"C", "de_DE.UTF-8"}) {
      SCOPED_TRACE("LC_ALL=" + locale);
      CheckCase(std::string("tests/data/cli-cases/") + name + ".expect",
                [&](const Expectation& e, auto& out, auto& err) {
                  TempFolder streams;
                  std::string line = "LC_ALL=" + locale + " {cli}";
                  for (const std::string& arg : e.Args) line += " '" + arg + "'";
                  const int status = RunLine(line + (e.Unwritable ? " >/dev/full" : ""), streams);
                  out << ReadBytes(streams / "out"), err << ReadBytes(streams / "err");
                  return status;
                });
    }
  }
}

// The write failures the operating system itself gives a save, which tests/data/cli/save-fault.sh
// sets up in a private mount namespace, as root or, failing that, as root of a user namespace or
// without one. A case the system refuses to set up skips the test (with the reason) once the
// others ran: the earlier file stays as it was, with nothing left beside it.
TEST(Program, TheOperatingSystemsWriteFailures) {
  std::string skipped;
  for (const std::string description : {"File too large", "Operation not permitted",
                                        "No space left on device", "Read-only file system"}) {
    SCOPED_TRACE(description);
    TempFolder folder;
    int status = -1;
    for (const std::string unshare : {"unshare -m", "unshare -rm", ""}) {
      status = RunLine("CLI={cli} " + unshare + " sh tests/data/cli/save-fault.sh {folder} '" +
                           description + "'",
                       folder);
      if (!ReadBytes(folder / "listing").empty()) break;
    }
    if (ReadBytes(folder / "listing").empty()) {
      skipped += description + ": " + ReadBytes(folder / "err");
      continue;
    }
    EXPECT_EQ(status, 2);
    EXPECT_EQ(ReadBytes(folder / "err"), "Save CSV file error: Cannot write " + folder / "mnt" +
                                             "/target.csv: " + description + "\n");
    EXPECT_EQ(ReadBytes(folder / "target"), kEarlierFile);
    EXPECT_EQ(ReadBytes(folder / "listing"), "target.csv\n");
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

}  // namespace
}  // namespace modKestralMGA
