// Case-insensitive path resolution, so that a plan identifier typed in upper case still opens
// its files on a case-sensitive file system.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "TempFolder.h"
#include "common/PathResolve.h"

using namespace modKestralMGA;
using testsupport::TempFolder;

namespace {

class PathResolveTest : public ::testing::Test {
 protected:
  void MakeFolder(const std::string& name) {
    ASSERT_EQ(::mkdir((m_folder / name).c_str(), 0755), 0);
  }
  TempFolder m_folder;
};

TEST_F(PathResolveTest, UpperCasedPathOpensTheLowerCaseFile) {
  MakeFolder("plans");
  const std::string file = m_folder.Write("plans/dp1234.lns", "x");
  EXPECT_EQ(ResolvePath(m_folder / "PLANS/DP1234.LNS"), file);
  EXPECT_EQ(ResolvePath(m_folder / "Plans/Dp1234.Lns"), file);
  EXPECT_TRUE(FileExists(m_folder / "PLANS/DP1234.LNS"));
  EXPECT_FALSE(FileExists(m_folder / "PLANS/DP1235.LNS"));
}

TEST_F(PathResolveTest, LatinOneLettersMatchIgnoringCase) {
  const std::string file = m_folder.Write("r\xC3\xA9seau.lns", "x");  // "réseau.lns"
  EXPECT_EQ(ResolvePath(m_folder / "R\xC3\x89SEAU.LNS"), file);       // "RÉSEAU.LNS"
  // U+00D7 (multiplication sign) and U+00F7 (division sign) are not a letter pair.
  m_folder.Write("a\xC3\xB7", "x");
  EXPECT_EQ(ResolvePath(m_folder / "A\xC3\x97"), m_folder / "A\xC3\x97");
}

TEST_F(PathResolveTest, ExactNameFirstElseFirstInByteOrder) {
  m_folder.Write("PLAN.lns", "upper");
  m_folder.Write("plan.LNS", "lower");
  m_folder.Write("Plan.lns", "mixed");
  // The exact name wins even where another name comes first in byte order.
  EXPECT_EQ(ResolvePath(m_folder / "plan.LNS"), m_folder / "plan.LNS");
  // No exact name: the first in byte order ("PLAN.lns" < "Plan.lns" < "plan.LNS").
  EXPECT_EQ(ResolvePath(m_folder / "pLaN.lNs"), m_folder / "PLAN.lns");
  // The same choice for a folder component on the way.
  MakeFolder("Sub");
  MakeFolder("SUB");
  const std::string file = m_folder.Write("SUB/a.txt", "x");
  m_folder.Write("Sub/a.txt", "y");
  EXPECT_EQ(ResolvePath(m_folder / "sub/A.TXT"), file);
}

TEST_F(PathResolveTest, BackslashIsAnOrdinaryCharacter) {
  const std::string file = m_folder.Write("plans\\dp1.lns", "x");
  EXPECT_EQ(ResolvePath(m_folder / "PLANS\\DP1.LNS"), file);
  EXPECT_EQ(ResolvePath(m_folder / "plans/dp1.lns"), m_folder / "plans/dp1.lns");
}

TEST_F(PathResolveTest, ExistingOrMissingPathsComeBackAsGiven) {
  m_folder.Write("a.txt", "x");
  // Exists as given (also with doubled and trailing separators): unchanged.
  EXPECT_EQ(ResolvePath(m_folder / "a.txt"), m_folder / "a.txt");
  EXPECT_EQ(ResolvePath(m_folder.Path() + "//a.txt"), m_folder.Path() + "//a.txt");
  EXPECT_EQ(ResolvePath(m_folder.Path() + "/"), m_folder.Path() + "/");
  // A missing component, early or last: the path as given, so opening fails as usual.
  EXPECT_EQ(ResolvePath(m_folder / "NOPE/A.TXT"), m_folder / "NOPE/A.TXT");
  EXPECT_EQ(ResolvePath(m_folder / "B.TXT"), m_folder / "B.TXT");
  // A file used as a folder.
  EXPECT_EQ(ResolvePath(m_folder / "A.TXT/x"), m_folder / "A.TXT/x");
  EXPECT_EQ(ResolvePath(""), "");
  EXPECT_FALSE(FileExists(""));
  // Separators are kept as written while components are resolved.
  EXPECT_EQ(ResolvePath(m_folder.Path() + "//A.TXT"), m_folder.Path() + "//a.txt");
}

TEST_F(PathResolveTest, RelativePathsResolveFromTheCurrentFolder) {
  MakeFolder("Work");
  m_folder.Write("Work/dp9.cve", "x");
  char* previous = ::getcwd(nullptr, 0);
  ASSERT_NE(previous, nullptr);
  ASSERT_EQ(::chdir(m_folder.Path().c_str()), 0);
  EXPECT_EQ(ResolvePath("WORK/DP9.CVE"), "Work/dp9.cve");
  EXPECT_EQ(ResolvePath("./work/dp9.CVE"), "./Work/dp9.cve");
  EXPECT_TRUE(FileExists("work/DP9.cve"));
  EXPECT_EQ(::chdir(previous), 0);
  ::free(previous);
}

}  // namespace
