// The bad-input corpus: every case in tests/data/bad/ is run through the batch program in-process
// and must give exactly the outcome written beside it in <case>.expect:
//   run: the arguments ({dir} is tests/data/bad, {marks} the fixtures' good marks file, {out} a
//        file in a fresh folder)
//   status: the exit status
//   stderr: one line each, in order ("<title>: <text>"); none when there are none
//   stdout: one line each, in order, or "stdout: none"
//   out: unchanged   - {out} held an earlier file, which must be byte for byte as it was
//   saved: one line each - {out} held an earlier file and now holds exactly these lines (CR LF)
// Lines starting with # say what the case shows. No case may add, change or remove anything in
// tests/data/bad.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../unit/TempFolder.h"
#include "CliTestSupport.h"

namespace modKestralMGA {
namespace {

using testsupport::ReadBytes;
using testsupport::TempFolder;

const std::string kDir = "tests/data/bad";
const std::string kMarks = "tests/data/cli/marks.csv";
const std::string kEarlierFile = "an earlier file\r\n";

struct Expectation {
  std::string Run;
  int Status = -1;
  std::string Err;
  std::optional<std::string> Out;    // nothing: "stdout: none"
  bool OutUnchanged = false;         // out: unchanged
  std::optional<std::string> Saved;  // saved: lines, each ended by CR LF
};

void Replace(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string Substitute(std::string text, const std::string& out) {
  Replace(text, "{dir}", kDir);
  Replace(text, "{marks}", kMarks);
  Replace(text, "{out}", out);
  return text;
}

Expectation ReadExpectation(const std::filesystem::path& path, const std::string& out) {
  Expectation e;
  std::string stdoutLines;
  bool stdoutNone = false;
  std::string savedLines;
  bool saved = false;
  std::istringstream in(ReadBytes(path.string()));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
      ADD_FAILURE() << path << ": no key in \"" << line << "\"";
      continue;
    }
    const std::string key = line.substr(0, colon);
    std::string value = line.size() > colon + 1 ? line.substr(colon + 2) : "";
    value = Substitute(value, out);
    if (key == "run") {
      e.Run = value;
    } else if (key == "status") {
      e.Status = std::stoi(value);
    } else if (key == "stderr") {
      e.Err += value + "\n";
    } else if (key == "stdout" && value == "none") {
      stdoutNone = true;
    } else if (key == "stdout") {
      stdoutLines += value + "\n";
    } else if (key == "out" && value == "unchanged") {
      e.OutUnchanged = true;
    } else if (key == "saved") {
      saved = true;
      savedLines += value + "\r\n";
    } else {
      ADD_FAILURE() << path << ": unknown key " << key;
    }
  }
  if (!stdoutNone) e.Out = stdoutLines;
  if (saved) e.Saved = savedLines;
  return e;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The names and sizes of the corpus folder's entries, to see that no case changed it.
std::map<std::string, std::uintmax_t> Listing() {
  std::map<std::string, std::uintmax_t> listing;
  for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
    listing[entry.path().filename().string()] = entry.is_regular_file() ? entry.file_size() : 0;
  }
  return listing;
}

std::vector<std::filesystem::path> Cases() {
  std::vector<std::filesystem::path> cases;
  for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
    if (entry.path().extension() == ".expect") cases.push_back(entry.path());
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

class BadInputTest : public testing::Test {
 protected:
  void SetUp() override { testsupport::EnterSourceFolder(); }
};

TEST_F(BadInputTest, EveryCaseGivesTheOutcomeWrittenBesideIt) {
  const std::vector<std::filesystem::path> cases = Cases();
  ASSERT_FALSE(cases.empty());
  const auto listing = Listing();
  for (const std::filesystem::path& path : cases) {
    SCOPED_TRACE(path.string());
    TempFolder folder;
    const std::string out = folder / "out.csv";
    const Expectation e = ReadExpectation(path, out);
    if (e.OutUnchanged || e.Saved) folder.Write("out.csv", kEarlierFile);

    const testsupport::CliRun run = testsupport::RunCliOn(Words(e.Run));
    EXPECT_EQ(run.Status, e.Status);
    EXPECT_EQ(run.Err, e.Err);
    EXPECT_EQ(run.Out, e.Out.value_or(""));
    if (e.OutUnchanged) {
      EXPECT_EQ(ReadBytes(out), kEarlierFile);
    }
    if (e.Saved) {
      EXPECT_EQ(ReadBytes(out), *e.Saved);
    }
    EXPECT_EQ(folder.Names().size(), e.OutUnchanged || e.Saved ? 1U : 0U)
        << "a file left beside the output";
    EXPECT_EQ(Listing(), listing) << "the case changed the corpus folder";
  }
}

// Every data file of the corpus is used by a case.
TEST_F(BadInputTest, EveryFileBelongsToACase) {
  std::string runs;
  for (const std::filesystem::path& path : Cases()) runs += ReadExpectation(path, "").Run + "\n";
  for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
    if (entry.path().extension() == ".expect") continue;
    const std::string name = entry.path().filename().string();
    const std::string stem = entry.path().stem().string();
    EXPECT_TRUE(runs.find(kDir + "/" + name) != std::string::npos ||
                runs.find(kDir + "/" + stem + " ") != std::string::npos ||
                runs.find(kDir + "/" + stem + "\n") != std::string::npos)
        << name << " is used by no case";
  }
}

}  // namespace
}  // namespace modKestralMGA
