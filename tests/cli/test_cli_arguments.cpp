// Reading the batch program's command line: defaults, the mark list options in their order with
// the column numbers each import takes, and the bearing datum choices' effect on the full
// details boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/CliCompareSettings.h"

namespace modKestralMGA {
namespace {

CompareArguments Compare(std::vector<std::string> args) {
  args.insert(args.begin(), {"compare", "--plan", "/plans/1234.LNS"});
  const CliArguments parsed = ParseCliArguments(args);
  EXPECT_EQ(parsed.Which, CliArguments::Command::Compare);
  return parsed.Compare;
}

TEST(CliArguments, DefaultsAreThoseTheMainWindowStartsWith) {
  const CompareArguments arguments = Compare({});
  const CliCompareSettings settings(arguments);
  EXPECT_EQ(settings.PlanIdentifier(), "/plans/1234");
  EXPECT_EQ(settings.AccuracyCriterionText(), "Urban Areas");
  EXPECT_EQ(settings.MaxOrderText(), "5");
  EXPECT_EQ(settings.CalculationMode(), DistanceCalculationMode::MGA94_2020);
  EXPECT_FALSE(settings.TwoPsms());
  EXPECT_EQ(settings.Datum1Text(), "");
  EXPECT_FALSE(settings.FullDetails());
  EXPECT_FALSE(arguments.PrintFullJoins());
  EXPECT_FALSE(arguments.NoPsmList);
  EXPECT_FALSE(arguments.Report.has_value());
  EXPECT_TRUE(arguments.MarkSources.empty());
}

TEST(CliArguments, MarkListOptionsKeepTheirOrderAndImportsTheirColumns) {
  using Kind = MarkSource::Kind;
  const ImportColumns initial = kInitialImportColumns;
  const ImportColumns c456 = {"4", "5", "6", "0", "0"};
  const ImportColumns c789 = {"7", "8", "9", "2", "1"};
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::vector<MarkSource> sources;
  } cases[] = {
      {"marks in order",
       {"--marks", "b.csv", "--marks", "a.csv"},
       {{Kind::MarkDetails, "b.csv", {}}, {Kind::MarkDetails, "a.csv", {}}}},
      {"import without columns takes the initial ones",
       {"--import", "p.txt"},
       {{Kind::DelimitedText, "p.txt", initial}}},
      {"the columns that follow an import are its own, and last given for the next",
       {"--import", "p.txt", "--columns", "4,5,6,0,0", "--marks", "m.csv", "--import", "q.txt"},
       {{Kind::DelimitedText, "p.txt", c456},
        {Kind::MarkDetails, "m.csv", {}},
        {Kind::DelimitedText, "q.txt", c456}}},
      {"columns given before an import",
       {"--columns", "4,5,6,0,0", "--import", "p.txt", "--import", "q.txt", "--columns",
        "7,8,9,2,1"},
       {{Kind::DelimitedText, "p.txt", c456}, {Kind::DelimitedText, "q.txt", c789}}},
      {"columns after a --marks are not the previous import's",
       {"--import", "p.txt", "--marks", "m.csv", "--columns", "7,8,9,2,1", "--import", "q.txt"},
       {{Kind::DelimitedText, "p.txt", initial},
        {Kind::MarkDetails, "m.csv", {}},
        {Kind::DelimitedText, "q.txt", c789}}},
  };
  for (const auto& c : cases) {
    const std::vector<MarkSource> sources = Compare(c.args).MarkSources;
    ASSERT_EQ(sources.size(), c.sources.size()) << c.what;
    for (std::size_t i = 0; i < sources.size(); ++i) {
      EXPECT_EQ(sources[i].SourceKind, c.sources[i].SourceKind) << c.what << " " << i;
      EXPECT_EQ(sources[i].Path, c.sources[i].Path) << c.what << " " << i;
      if (sources[i].SourceKind == Kind::DelimitedText) {
        EXPECT_EQ(sources[i].Columns, c.sources[i].Columns) << c.what << " " << i;
      }
    }
  }
}

TEST(CliArguments, ColumnsNeedFiveNumbers) {
  for (const char* columns : {"1,2,3,0", "1,2,3,0,0,0", "1,2,,0,0", "a,b,c,d,e", ""}) {
    EXPECT_THROW(Compare({"--import", "p.txt", "--columns", columns}), BadArguments) << columns;
  }
  // Each is read by the numeric value rule later: blanks and trailing text are kept as typed.
  const ImportColumns typed = {" 1", "2 ", "3m", "0", "0"};
  EXPECT_EQ(Compare({"--import", "p.txt", "--columns", " 1,2 ,3m,0,0"}).MarkSources[0].Columns,
            typed);
}

TEST(CliArguments, BearingDatumChoicesAndFullDetails) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    bool twoPsms;
    bool fullDetails;
    bool fullJoins;
  } cases[] = {
      {"None of the above", {}, false, false, false},
      {"Tertiary Network ticks both", {"--tertiary"}, false, true, true},
      {"2 PSM's clears both", {"--datum", "6628/1001", "6628/1002"}, true, false, false},
      {"2 PSM's, then the boxes ticked",
       {"--full-details", "--datum", "6628/1001", "6628/1002", "--full-joins"},
       true,
       true,
       true},
      {"full details alone", {"--full-details"}, false, true, false},
  };
  for (const auto& c : cases) {
    const CompareArguments arguments = Compare(c.args);
    const CliCompareSettings settings(arguments);
    EXPECT_EQ(settings.TwoPsms(), c.twoPsms) << c.what;
    EXPECT_EQ(settings.FullDetails(), c.fullDetails) << c.what;
    EXPECT_EQ(arguments.PrintFullJoins(), c.fullJoins) << c.what;
  }
  const CliCompareSettings datum(Compare({"--datum", "6628/1001 ", "\"6628/1002\""}));
  EXPECT_EQ(datum.Datum1Text(), "6628/1001 ");
  EXPECT_EQ(datum.Datum2Text(), "\"6628/1002\"");
}

}  // namespace
}  // namespace modKestralMGA
