// The comparison: the result lines of every verdict, the bearing datum section, the closing
// message, the refusal of an unknown criterion, the reading of the plan for the command, and the
// failures that end the command.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "GeodesyFixtures.h"
#include "RecordingSink.h"
#include "TempFolder.h"
#include "common/Errors.h"
#include "compare/ComparePSMJoins.h"
#include "geodesy/MarkIndex.h"

namespace modKestralMGA {
namespace {

using testsupport::PlaceLikeMga;
using testsupport::PlanOf;
using testsupport::RecordingResultList;
using testsupport::RecordingSink;
using testsupport::TempFolder;
using testsupport::TestCompareSettings;
using Lines = std::vector<std::string>;

const Lines kHeading = {"Comparison of PSM joins for /plans/1234", ""};
const Lines kColumnTitles = {" ", "From            To", " "};

Lines Joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The comparison marks (CompareFixtures.h) at an average height of 100 m; plan points placed from
// 6628/1001 at (1000, 1000).
class ComparePSMJoinsTest : public testing::Test {
 protected:
  ComparePSMJoinsTest() { m_settings.averageHeight = "100.000"; }

  JoinContext Context() { return {m_index, m_settings}; }
  PlanPoint Like(std::int32_t key, double seconds = 0.0, double metres = 0.0) {
    JoinContext context = Context();
    return PlaceLikeMga(context, m_origin, key, seconds, metres);
  }

  // The lines of a comparison of plan, and the messages it showed.
  Lines Compare(const Plan& plan, std::int64_t* notAcceptable = nullptr) {
    JoinContext context = Context();
    RecordingResultList list;
    NoPendingEvents events;
    const std::int64_t count = ComparePSMJoins(plan, context, m_settings, list, m_sink, events);
    if (notAcceptable != nullptr) *notAcceptable = count;
    return list.Lines();
  }

  const PlanPoint m_origin{66281001, 1000.0, 1000.0, 1};
  MarkList m_list = testsupport::ComparisonMarks();
  MarkIndex m_index{m_list};
  TestCompareSettings m_settings;
  RecordingSink m_sink;
};

TEST_F(ComparePSMJoinsTest, LinesOfEachVerdict) {
  const struct {
    const char* what;
    const char* criterion;
    bool fullDetails;
    PlanPoint to;
    Lines lines;
  } cases[] = {
      {"acceptable",
       "Urban Areas",
       false,
       Like(66281002),
       {"66281001       66281002       JOIN ACCEPTABLE"}},
      {"acceptable with full details",
       "Urban Areas",
       true,
       Like(66281002, 7.0, -0.05),
       {"66281001       66281002       JOIN ACCEPTABLE",
        "Diff in bearing = 7.0 sec.   Allowable = 7.3 sec.",
        "Diff in distance = 0.050 m    Allowable = 0.050 m"}},
      {"distance not acceptable",
       "Urban Areas",
       false,
       Like(66281002, 0.0, 0.06),
       {"66281001       66281002       *** JOIN NOT ACCEPTABLE ***",
        "Diff in bearing = 0.0 sec.   Allowable = 7.3 sec.",
        "Diff in distance = 0.060 m    Allowable = 0.050 m"}},
      {"bearing not acceptable",
       "Adelaide City",
       false,
       Like(66281002, -5.0),
       {"66281001       66281002       *** JOIN NOT ACCEPTABLE ***",
        "Diff in bearing = 5.0 sec.   Allowable = 4.4 sec.",
        "Diff in distance = 0.000 m    Allowable = 0.030 m"}},
      // No bearing difference and a distance difference of the whole join: both exactly at the
      // allowances of a text that is none of the criteria.
      {"at the allowances exactly",
       "no such criterion",
       true,
       {66281007, 1000.0, 1000.0, 1},
       {"66281001       66281007       JOIN ACCEPTABLE",
        "Diff in bearing = 0.0 sec.   Allowable = 0.0 sec.",
        "Diff in distance = 999.819 m    Allowable = 999.819 m"}},
      {"order above the limit",
       "Urban Areas",
       true,
       {66281003, 1000.0, 2000.0, 1},
       {"66281001       66281003       Scaled Coordinates found"}},
      {"mark missing",
       "Urban Areas",
       true,
       {66289999, 1000.0, 2000.0, 1},
       {"66281001       66289999       MGA Coordinates not available"}},
      {"point unsolved",
       "Urban Areas",
       true,
       {66281002, 0.0, 0.0, 0},
       {"66281001       66281002       Plan coordinates not available"}},
      {"unsolved and missing",
       "Urban Areas",
       true,
       {66289999, 0.0, 0.0, 0},
       {"66281001       66289999       Plan coordinates not available"}},
      // Plan 359.5959, MGA 0.0001.
      {"either side of north",
       "Urban Areas",
       true,
       Like(66281005, -2.0),
       {"66281001       66281005       JOIN ACCEPTABLE",
        "Diff in bearing = 2.0 sec.   Allowable = 10.3 sec.",
        "Diff in distance = 0.000 m    Allowable = 0.050 m"}},
  };
  for (const auto& c : cases) {
    m_settings.criterion = c.criterion;
    m_settings.fullDetails = c.fullDetails;
    std::int64_t notAcceptable = -1;
    EXPECT_EQ(Compare(PlanOf({m_origin, c.to}), &notAcceptable),
              Joined({kHeading, kColumnTitles, c.lines}))
        << c.what;
    const bool failed = c.lines.front().find("NOT ACCEPTABLE") != std::string::npos;
    EXPECT_EQ(notAcceptable, failed ? 1 : 0) << c.what;
  }
}

TEST_F(ComparePSMJoinsTest, ComparesPairsOfPsmsInPlanOrderOnly) {
  // 4600 is an ordinary point; 4601 is the lowest PSM key.
  const Plan plan =
      PlanOf({m_origin, {4600, 0.0, 0.0, 1}, Like(66281002), {4601, 5.0, 5.0, 1}, {12, 0, 0, 1}});
  EXPECT_EQ(Compare(plan),
            Joined({kHeading,
                    kColumnTitles,
                    {"66281001       66281002       JOIN ACCEPTABLE",
                     "66281001       4601           MGA Coordinates not available",
                     "66281002       4601           MGA Coordinates not available"}}));
  EXPECT_EQ(Compare(PlanOf({{12, 0.0, 0.0, 1}, {4600, 1.0, 1.0, 1}})),
            Joined({kHeading, kColumnTitles}));
  EXPECT_TRUE(m_sink.Entries().empty());
}

TEST_F(ComparePSMJoinsTest, ClosingMessageCountsTheJoinsNotAcceptable) {
  // Each PSM placed 0.1 % too far from 6628/1001: every join between them fails.
  const PlanPoint far1002 = Like(66281002, 0.0, 1.414);
  const PlanPoint far1007 = Like(66281007, 0.0, 1.0);
  const PlanPoint far1005 = Like(66281005, 0.0, 1.0);
  const struct {
    Plan plan;
    std::int64_t count;
    std::vector<RecordingSink::Entry> messages;
  } cases[] = {
      {PlanOf({m_origin, Like(66281002), Like(66281007)}), 0, {}},
      {PlanOf({m_origin, far1002, Like(66281003)}),
       1,
       {{"***** 1 JOIN WAS NOT ACCEPTABLE *****", "Join Comparison", MessageIcon::Exclamation}}},
      {PlanOf({m_origin, far1002, far1007, far1005}),
       5,
       {{"***** 5 JOINS WERE NOT ACCEPTABLE *****", "Join Comparison", MessageIcon::Exclamation}}},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    JoinContext context = Context();
    RecordingResultList list;
    NoPendingEvents events;
    EXPECT_EQ(ComparePSMJoins(c.plan, context, m_settings, list, sink, events), c.count);
    EXPECT_EQ(sink.Entries(), c.messages);
  }
}

// The count has no 16-bit limit: 257 PSMs 100 m apart and 1 % too far apart on the plan make
// 32896 joins that all fail.
TEST(ComparePSMJoinsCount, PassesSixteenBits) {
  MarkList list;
  std::vector<PlanPoint> points;
  for (int i = 0; i < 257; ++i) {
    const int east = 280000 + 100 * (i % 16);
    const int north = 6130000 + 100 * (i / 16);
    const std::string number = "6628/" + std::to_string(1000 + i);
    list.AppendRow(JoinMark(number, std::to_string(east), std::to_string(north), "1"));
    points.push_back({66281000 + i, (east - 280000) * 1.01, (north - 6130000) * 1.01, 1});
  }
  MarkIndex index(list);
  TestCompareSettings settings;
  JoinContext context{index, settings};
  RecordingResultList results;
  RecordingSink sink;
  NoPendingEvents events;
  EXPECT_EQ(ComparePSMJoins(PlanOf(points), context, settings, results, sink, events), 32896);
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Text, "***** 32896 JOINS WERE NOT ACCEPTABLE *****");
}

TEST_F(ComparePSMJoinsTest, BearingDatumSection) {
  const std::string heading = "BEARING DATUM                  Bearing         Distance";
  const std::string found = "Average Height = 100.000 m AHD";
  const std::string twelveBlanks(12, ' ');
  const std::string twentyBlanks(20, ' ');
  const struct {
    const char* what;
    bool twoPsms;
    std::string from;
    std::string to;
    Lines lines;
  } cases[] = {
      {"both marks listed",
       true,
       "6628/1001",
       "6628/1002",
       {heading, "6628/1001 to 6628/1002        45.0000        1413.962", found,
        "Combined Scale Factor = 1.00017809"}},
      {"numbers typed without the slash",
       true,
       "66281001",
       "66281002",
       {heading, "66281001 to 66281002          45.0000        1413.962", found,
        "Combined Scale Factor = 1.00017809"}},
      {"a mark missing from the list",
       true,
       "6628/1001",
       "6628/9999",
       {heading, "6628/1001 to 6628/9999        0.0000         0.000", found,
        "Combined Scale Factor = 0.00000000"}},
      {"a mark above the order limit: plane join",
       true,
       "6628/1001",
       "6628/1003",
       {heading, "6628/1001 to 6628/1003        0.0000         1000.000", found,
        "Combined Scale Factor = 1.00000000"}},
      {"label past column 30",
       true,
       "6628/1001" + twelveBlanks,
       "6628/1002",
       {heading, "6628/1001" + twelveBlanks + " to 6628/1002 45.0000   1413.962", found,
        "Combined Scale Factor = 1.00017809"}},
      {"bearing past column 45",
       true,
       "6628/1001" + twentyBlanks,
       "6628/1002",
       {heading, "6628/1001" + twentyBlanks + " to 6628/1002 45.0000 1413.962", found,
        "Combined Scale Factor = 1.00017809"}},
      {"To empty", true, "6628/1001", "", {}},
      {"From empty", true, "", "6628/1002", {}},
      {"another bearing datum", false, "6628/1001", "6628/1002", {}},
  };
  for (const auto& c : cases) {
    m_settings.twoPsms = c.twoPsms;
    m_settings.datum1 = c.from;
    m_settings.datum2 = c.to;
    EXPECT_EQ(Compare(PlanOf({m_origin})), Joined({kHeading, c.lines, kColumnTitles})) << c.what;
  }
}

// The busy pointer shows while the lines are written and goes before the closing message; the
// pending events run once for every pair of PSMs, none for the pairs skipped.
class EventLog final : public MessageSink, public PendingEvents {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override {
    Log.push_back("message");
  }
  void Process() override { Log.push_back("events"); }
  std::vector<std::string> Log;
};

TEST_F(ComparePSMJoinsTest, BusyPointerAndPendingEvents) {
  EventLog log;
  RecordingResultList list(&log.Log);
  JoinContext context = Context();
  const Plan plan = PlanOf({m_origin, {12, 0.0, 0.0, 1}, Like(66281002, 0.0, 1.0), Like(66281007)});
  EXPECT_EQ(ComparePSMJoins(plan, context, m_settings, list, log, log), 2);
  const Lines expected = {"busy", "events", "events", "events", "normal", "message"};
  EXPECT_EQ(log.Log, expected);

  // A datum PSM number beyond 32 bits ends the comparison; the pointer is normal again.
  log.Log.clear();
  m_settings.twoPsms = true;
  m_settings.datum1 = "6628/1001";
  m_settings.datum2 = "99999999999";
  EXPECT_THROW(ComparePSMJoins(plan, context, m_settings, list, log, log), KeyTooLargeError);
  EXPECT_EQ(log.Log, Lines({"busy", "normal"}));
  EXPECT_EQ(list.Lines(), Joined({kHeading,
                                  {"BEARING DATUM                  Bearing         "
                                   "Distance"}}));
}

TEST(CheckAccuracyCriterion, RefusesATextThatIsNoneOfTheFive) {
  TestCompareSettings settings;
  for (const auto criterion : kAccuracyCriteria) {
    settings.criterion = criterion;
    RecordingSink sink;
    EXPECT_TRUE(CheckAccuracyCriterion(settings, sink)) << criterion;
    EXPECT_TRUE(sink.Entries().empty());
  }
  settings.criterion = "urban areas";
  RecordingSink sink;
  EXPECT_FALSE(CheckAccuracyCriterion(settings, sink));
  const std::vector<RecordingSink::Entry> expected = {
      {"Unknown accuracy criterion: urban areas", "Join Comparison", MessageIcon::Exclamation}};
  EXPECT_EQ(sink.Entries(), expected);
}

TEST(ReadPlanForCompare, MessagesOfPlansThatGiveNoLines) {
  TempFolder folder;
  folder.Write("empty.lns", "");
  folder.Write("header.lns", "From,To,Bearing,Distance\r\n4601,4602,90.0000,100\r\n");
  const std::string missing = folder / "missing";
  const std::string noLines = "No lines found in KESTRAL file";
  const std::string validTitle = "Valid KESTRAL file error";
  const auto warn = MessageIcon::Exclamation;
  const struct {
    std::string plan;
    std::vector<RecordingSink::Entry> messages;
  } cases[] = {
      {missing,
       {{"Cannot find plan file " + missing, "Read KESTRAL file error", warn},
        {noLines, validTitle, warn}}},
      {folder / "empty", {{noLines, validTitle, warn}}},
      {folder / "header",
       {{"Not a number at line 1 of " + (folder / "header.lns") + ": From", "Load Lines error",
         warn}}},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    Plan plan;
    EXPECT_FALSE(ReadPlanForCompare(c.plan, plan, sink)) << c.plan;
    EXPECT_EQ(sink.Entries(), c.messages) << c.plan;
  }
}

class BuildAndComparePlanTest : public ComparePSMJoinsTest {
 protected:
  // Reads and compares the plan whose lines file holds lines.
  std::optional<std::int64_t> Run(const std::string& lines, Lines& results) {
    m_folder.Write("plan.lns", lines);
    m_settings.plan = m_folder / "plan";
    Plan plan;
    EXPECT_TRUE(ReadPlanForCompare(m_settings.plan, plan, m_sink));
    JoinContext context = Context();
    RecordingResultList list;
    NoPendingEvents events;
    const std::optional<std::int64_t> count =
        BuildAndComparePlan(m_settings.plan, plan, context, m_settings, list, m_sink, events);
    results = list.Lines();
    return count;
  }
  Lines Heading() const { return {"Comparison of PSM joins for " + m_settings.plan, ""}; }

  TempFolder m_folder;
};

TEST_F(BuildAndComparePlanTest, MissingCurveFileLeavesItsPointUnsolvedAndGoesOn) {
  Lines results;
  EXPECT_EQ(Run("66281001,66281002,1100.000,50.000\r\n", results), 0);
  EXPECT_EQ(results, Joined({Heading(),
                             kColumnTitles,
                             {"66281001       66281002       Plan coordinates not available"}}));
  ASSERT_EQ(m_sink.Count(), 1u);
  EXPECT_EQ(m_sink[0].Title, "Get Chord data error");
}

TEST_F(BuildAndComparePlanTest, FailuresEndTheCommandWithTheirDescription) {
  Lines results;
  EXPECT_EQ(Run("66281001,66281002,90.0000,1e308\r\n66281002,66281003,90.0000,1e308\r\n", results),
            std::nullopt);
  std::vector<RecordingSink::Entry> expected = {{"Plan coordinates out of range at point 66281003",
                                                 "Join Comparison", MessageIcon::Exclamation}};
  EXPECT_EQ(m_sink.Entries(), expected);

  m_sink = RecordingSink();
  m_settings.twoPsms = true;
  m_settings.datum1 = "6628/1001";
  m_settings.datum2 = "6628/1000000";
  EXPECT_EQ(Run("66281001,66281002,45.0000,1413.962\r\n", results), std::nullopt);
  expected = {{"PSM number too large for a key: 6628/1000000", "Join Comparison",
               MessageIcon::Exclamation}};
  EXPECT_EQ(m_sink.Entries(), expected);
}

}  // namespace
}  // namespace modKestralMGA
