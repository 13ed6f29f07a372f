// Every fuzz finding, and every seed, run again through its target's entry function on every
// build: a fixed finding that comes back fails here (the target aborts or an exception escapes).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTargets.h"

namespace modKestralMGA::fuzz {
namespace {

// The files of folder, sorted; none when it does not exist.
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FuzzReplay : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, FindingsAndSeeds) {
  const FuzzTarget& target = GetParam();
  const std::filesystem::path source(KESTRAL_SOURCE_DIR);
  const std::vector<std::filesystem::path> seeds = FilesIn(source / "fuzz/corpus" / target.Name);
  EXPECT_GE(seeds.size(), 10U) << "seeds of " << target.Name;
  std::vector<std::filesystem::path> files =
      FilesIn(source / "tests/data/fuzz-regress" / target.Name);
  files.insert(files.end(), seeds.begin(), seeds.end());
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::string bytes = Bytes(file);
    EXPECT_EQ(target.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(kFuzzTargets),
                         [](const testing::TestParamInfo<FuzzTarget>& param) {
                           return std::string(param.param.Name);
                         });

}  // namespace
}  // namespace modKestralMGA::fuzz
