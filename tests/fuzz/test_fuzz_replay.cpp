// Every fuzz finding, and every seed, run again through its target's entry function on every
// build: a fixed finding that comes back fails here (the target aborts or an exception escapes).
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>
#include <string>

#include "../unit/TempFolder.h"
#include "FuzzTargets.h"

namespace modKestralMGA::fuzz {

// A target shows by its name where a test's name carries it: its bytes hold the address of its
// entry function, which changes with every build.
void PrintTo(const FuzzTarget& target, std::ostream* out) {
  *out << target.Name;
}

namespace {

class FuzzReplay : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, FindingsAndSeeds) {
  const FuzzTarget& target = GetParam();
  std::set<std::filesystem::path> files;  // sorted; none when a folder is missing
  for (const char* folder : {"fuzz/corpus", "tests/data/fuzz-regress"}) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(KESTRAL_SOURCE_DIR) / folder / target.Name, error)) {
      if (entry.is_regular_file()) files.insert(entry.path());
    }
    // The seeds are read first: ten of them at least.
    if (files.size() < 10) ADD_FAILURE() << "seeds of " << target.Name;
  }
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::string bytes = testsupport::ReadBytes(file.string());
    EXPECT_EQ(target.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(kFuzzTargets),
                         [](const testing::TestParamInfo<FuzzTarget>& param) {
                           return std::string(param.param.Name);
                         });

}  // namespace
}  // namespace modKestralMGA::fuzz
