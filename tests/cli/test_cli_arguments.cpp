// Reading the batch program's command line where its outputs do not show it directly: the mark
// list options in their order with the column numbers each import takes, the --columns form, and
// texts kept as typed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliArguments.h"

namespace modKestralMGA {
namespace {

CompareArguments Compare(std::vector<std::string> args) {
  args.insert(args.begin(), {"compare", "--plan", "1234"});
  return ParseCliArguments(args).Compare;
}

TEST(CliArguments, MarkListOptionsKeepTheirOrderAndImportsTheirColumns) {
  const MarkSource::Kind m = MarkSource::Kind::MarkDetails, i = MarkSource::Kind::DelimitedText;
  const ImportColumns c0 = kInitialImportColumns, c4 = {"4", "5", "6", "0", "0"},
                      c7 = {"7", "8", "9", "2", "1"};
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::vector<MarkSource> sources;
  } cases[] = {
      {"marks in order", {"--marks", "b", "--marks", "a"}, {{m, "b", {}}, {m, "a", {}}}},
      {"without --columns the initial numbers", {"--import", "p"}, {{i, "p", c0}}},
      {"the columns after an import are its own, and carry to the next",
       {"--import", "p", "--columns", "4,5,6,0,0", "--marks", "m", "--import", "q"},
       {{i, "p", c4}, {m, "m", {}}, {i, "q", c4}}},
      {"columns before an import",
       {"--columns", "4,5,6,0,0", "--import", "p", "--import", "q", "--columns", "7,8,9,2,1"},
       {{i, "p", c4}, {i, "q", c7}}},
      {"columns after a --marks are not the previous import's",
       {"--import", "p", "--marks", "m", "--columns", "7,8,9,2,1", "--import", "q"},
       {{i, "p", c0}, {m, "m", {}}, {i, "q", c7}}},
  };
  for (const auto& c : cases) {
    const std::vector<MarkSource> sources = Compare(c.args).MarkSources;
    ASSERT_EQ(sources.size(), c.sources.size()) << c.what;
    for (std::size_t n = 0; n < sources.size(); ++n) {
      EXPECT_EQ(sources[n].SourceKind, c.sources[n].SourceKind) << c.what << " " << n;
      EXPECT_EQ(sources[n].Path, c.sources[n].Path) << c.what << " " << n;
      if (sources[n].SourceKind == i) {
        EXPECT_EQ(sources[n].Columns, c.sources[n].Columns) << c.what << " " << n;
      }
    }
  }
}

TEST(CliArguments, ColumnsNeedFiveNumbersKeptAsTyped) {
  for (const char* columns : {"1,2,3,0,0,0", "1,2,,0,0", "a,b,c,d,e", ""}) {
    EXPECT_THROW(Compare({"--import", "p", "--columns", columns}), BadArguments) << columns;
  }
  // Each is read by the numeric value rule when the file is imported.
  const ImportColumns typed = {" 1", "2 ", "3m", "0", "0"};
  EXPECT_EQ(Compare({"--import", "p", "--columns", " 1,2 ,3m,0,0"}).MarkSources[0].Columns, typed);
}

TEST(CliArguments, DatumTextsAsTypedAndTertiaryTicksPrintFullJoins) {
  const CompareArguments datum = Compare({"--datum", "6628/1001 ", "\"6628/1002\""});
  EXPECT_EQ(datum.Datum, std::make_pair(std::string("6628/1001 "), std::string("\"6628/1002\"")));
  EXPECT_TRUE(Compare({"--tertiary"}).PrintFullJoins());
  EXPECT_FALSE(Compare({"--datum", "1", "2", "--full-details"}).PrintFullJoins());
}

}  // namespace
}  // namespace modKestralMGA
