// Replacing a file atomically: every step made to fail in turn must leave the old file as it
// was and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "FaultyFileOps.h"
#include "TempFolder.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"

using namespace modKestralMGA;
using testsupport::FaultyFileOps;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

const std::string kOldBytes = "old,1\r\nold,2\r\n";

std::string NewBytes() {
  std::string bytes;
  for (int i = 0; i < 200; ++i) bytes += "6628/1001,273741.2966,5796489.7769\r\n";
  return bytes;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

// Restores the umask when the test ends.
class UmaskGuard {
 public:
  explicit UmaskGuard(mode_t mask) : m_previous(::umask(mask)) {}
  UmaskGuard(const UmaskGuard&) = delete;
  UmaskGuard& operator=(const UmaskGuard&) = delete;
  ~UmaskGuard() { ::umask(m_previous); }

 private:
  mode_t m_previous;
};

struct FaultCase {
  const char* Name;
  bool FromThenOn;
  bool ShortFirstWrite;
  bool FailedWriteWritesNothing;
  bool TargetExists;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.Name;
}

class AtomicFileFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(AtomicFileFaultTest, EveryFailedStepLeavesTheOldFile) {
  const FaultCase& c = GetParam();
  TempFolder folder;
  const std::string target = folder / "marks.csv";
  if (c.TargetExists) folder.Write("marks.csv", kOldBytes);
  const std::set<std::string> namesBefore = folder.Names();
  const std::string newBytes = NewBytes();

  std::set<std::string> failedSteps;
  bool succeeded = false;
  for (int n = 1; n < 40 && !succeeded; ++n) {
    FaultyFileOps ops({.FailAt = n,
                       .FromThenOn = c.FromThenOn,
                       .ShortFirstWrite = c.ShortFirstWrite,
                       .FailedWriteWritesNothing = c.FailedWriteWritesNothing});
    try {
      AtomicWriteFile(target, newBytes, ops);
      succeeded = true;
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write " + target + ": Input/output error")
          << "n = " << n;
      EXPECT_FALSE(ops.FirstFailure().empty()) << "n = " << n << ": an error without a failure";
      failedSteps.insert(ops.FirstFailure());
    }
    if (succeeded) {
      // Only the folder sync after the rename may fail without failing the write.
      EXPECT_TRUE(ops.FirstFailure().empty() || ops.FirstFailure() == "SyncFolder")
          << "n = " << n << ": " << ops.FirstFailure() << " failed, yet the write succeeded";
      EXPECT_EQ(ReadBytes(target), newBytes);
      EXPECT_EQ(folder.Names(), (std::set<std::string>{"marks.csv"}));
    } else if (c.TargetExists) {
      EXPECT_EQ(ReadBytes(target), kOldBytes) << "n = " << n;
    } else {
      EXPECT_EQ(::access(target.c_str(), F_OK), -1) << "n = " << n;
    }
    if (!succeeded) {
      EXPECT_EQ(folder.Names(), namesBefore) << "n = " << n << ": temporary file left";
    }
  }
  EXPECT_TRUE(succeeded);
  EXPECT_EQ(failedSteps, (std::set<std::string>{"StatTarget", "CreateTemp", "CopyMode", "Write",
                                                "Sync", "Close", "Rename"}));
}

INSTANTIATE_TEST_SUITE_P(
    FaultPlans, AtomicFileFaultTest,
    ::testing::Values(FaultCase{"Once", false, false, false, true},
                      FaultCase{"OnceNewFile", false, false, false, false},
                      FaultCase{"FromThenOn", true, false, false, true},
                      FaultCase{"FromThenOnNewFile", true, false, false, false},
                      FaultCase{"ShortWriteFirst", false, true, false, true},
                      FaultCase{"ShortWriteThenFromThenOn", true, true, false, true},
                      FaultCase{"WriteOfNothing", false, false, true, true},
                      FaultCase{"ShortWriteThenNothing", false, true, true, false}),
    [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.Name); });

// When even the clean-up fails, the message still names the failure that ended the write.
TEST(AtomicFileTest, TheFirstFailureIsReported) {
  TempFolder folder;
  const std::string target = folder.Write("plan.lns", kOldBytes);
  FaultyFileOps ops(
      {.FailAt = 4, .FromThenOn = true, .SpareRemoveTemp = false, .ErrorNumber = ENOSPC});
  try {
    AtomicWriteFile(target, NewBytes(), ops);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write " + target + ": No space left on device");
  }
  EXPECT_EQ(ops.FirstFailure(), "Write");
  EXPECT_EQ(ReadBytes(target), kOldBytes);
}

TEST(AtomicFileTest, ReplacedFileKeepsItsPermissionBits) {
  TempFolder folder;
  const UmaskGuard mask(022);
  for (const mode_t mode : {mode_t{0640}, mode_t{0604}, mode_t{0600}, mode_t{0755}}) {
    const std::string target = folder.Write("report.txt", kOldBytes);
    ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    AtomicWriteFile(target, "new\r\n");
    EXPECT_EQ(ModeOf(target), mode);
    EXPECT_EQ(ReadBytes(target), "new\r\n");
  }
}

TEST(AtomicFileTest, NewFileGetsTheUmaskedDefault) {
  TempFolder folder;
  for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{0}, mode_t{077}}) {
    const UmaskGuard guard(mask);
    const std::string target = folder / "new.txt";
    ::unlink(target.c_str());
    AtomicWriteFile(target, "x");
    EXPECT_EQ(ModeOf(target), 0666 & ~mask) << "umask " << mask;
    // Reading the umask does not change it.
    EXPECT_EQ(::umask(mask), mask);
  }
}

TEST(AtomicFileTest, SymbolicLinkStaysAndItsTargetIsReplaced) {
  TempFolder folder;
  ASSERT_EQ(::mkdir((folder / "data").c_str(), 0755), 0);
  const std::string real = folder.Write("data/real.csv", kOldBytes);
  const std::string link = folder / "link.csv";
  const std::string chain = folder / "chain.csv";
  ASSERT_EQ(::symlink("data/real.csv", link.c_str()), 0);
  ASSERT_EQ(::symlink(link.c_str(), chain.c_str()), 0);  // absolute, to a link

  for (const std::string& path : {link, chain}) {
    AtomicWriteFile(path, "through " + path);
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(chain.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadBytes(real), "through " + path);
    // The temporary file went into the target's folder and is gone.
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"data", "link.csv", "chain.csv"}));
    EXPECT_EQ(folder.Names("data"), (std::set<std::string>{"real.csv"}));
  }

  // A link to a file not yet there creates that file.
  const std::string dangling = folder / "dangling.csv";
  ASSERT_EQ(::symlink("data/later.csv", dangling.c_str()), 0);
  AtomicWriteFile(dangling, "later");
  EXPECT_EQ(ReadBytes(folder / "data/later.csv"), "later");
}

TEST(AtomicFileTest, WhatCannotBeWrittenIsReported) {
  TempFolder folder;
  struct Case {
    const char* Name;
    std::string Path;
    std::string Description;
  };
  ASSERT_EQ(::mkdir((folder / "sub").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("loop2", (folder / "loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", (folder / "loop2").c_str()), 0);
  const std::vector<Case> cases = {
      {"missing folder", folder / "missing/x.txt", "No such file or directory"},
      {"a folder as the target", folder / "sub", "Is a directory"},
      {"a loop of links", folder / "loop1", "Too many levels of symbolic links"},
  };
  for (const Case& c : cases) {
    try {
      AtomicWriteFile(c.Path, "x");
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write " + c.Path + ": " + c.Description) << c.Name;
    }
  }
  EXPECT_EQ(folder.Names(), (std::set<std::string>{"sub", "loop1", "loop2"}));
  EXPECT_TRUE(folder.Names("sub").empty());
}

TEST(AtomicFileTest, EmptyAndLargeContents) {
  TempFolder folder;
  const std::string target = folder.Write("big.txt", kOldBytes);
  AtomicWriteFile(target, "");
  EXPECT_EQ(ReadBytes(target), "");
  std::string large(5 * 1024 * 1024, 'x');
  for (std::size_t i = 0; i < large.size(); i += 997) large[i] = static_cast<char>(i % 251);
  AtomicWriteFile(target, large);
  EXPECT_EQ(ReadBytes(target), large);
}

}  // namespace
