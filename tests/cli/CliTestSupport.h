#pragma once

// What the batch program's tests share: a run of RunCli with its status and both streams, the
// golden outputs, and a standard output that cannot be written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/RunCli.h"

namespace modKestralMGA::testsupport {

// The folder the fixtures' paths are relative to (tests/data/cli/..., examples/...), as they
// appear in the expected outputs.
inline void EnterSourceFolder() {
  ASSERT_EQ(::chdir(KESTRAL_SOURCE_DIR), 0) << KESTRAL_SOURCE_DIR;
}

struct CliRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

inline CliRun RunCliOn(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  CliRun run;
  run.Status = RunCli(args, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

// One run of the batch program with what it must give: status, standard output exactly and
// standard error exactly.
struct CliCase {
  const char* what;
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;
};

inline void Check(const CliCase& c) {
  const CliRun run = RunCliOn(c.args);
  EXPECT_EQ(run.Status, c.status) << c.what;
  EXPECT_EQ(run.Out, c.out) << c.what;
  EXPECT_EQ(run.Err, c.err) << c.what;
}

// The expected standard output named name, from tests/data/cli/expected.
inline std::string Golden(const std::string& name) {
  const std::string path = std::string(KESTRAL_SOURCE_DIR) + "/tests/data/cli/expected/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stream buffer every write to which fails, as a full disk or a closed pipe makes it.
class FailingBuffer final : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace modKestralMGA::testsupport
