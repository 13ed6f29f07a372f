// The comparison: the result lines of every verdict, the bearing datum section, the closing
// message, and plan points out of range ending the command. Expected lines and messages:
// tests/data/model/compare.txt.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "common/NumericValue.h"
#include "compare/ComparePSMJoins.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

// Settings, plan points, and the result lines and closing message of each comparison:
// tests/data/model/compare_cases.txt and compare.txt.
TEST(ComparePSMJoins, ResultLinesDatumSectionAndClosingMessage) {
  CompareData d;
  std::string transcript;
  for (const auto& c : TableRows("compare_cases.txt")) {
    std::vector<PlanPoint> points;
    for (const std::string& point : Split(c[3], ";")) {
      const auto v = Split(point.substr(point[0] == '~' ? 1 : 0), ",");
      const auto at = [&](std::size_t i) { return i < v.size() ? NumericValue(v[i]) : 0.0; };
      const std::int32_t number = std::stoi(v[0]);
      points.push_back(point[0] == '~' ? d.Like(number, at(1), at(2))
                                       : PlanPoint{number, at(1), at(2), std::int16_t(at(3))});
    }
    d.settings.m_criterion = c[1];
    d.settings.m_fullDetails = c[2] == "1";
    d.settings.m_twoPsms = c[4] == "1";
    d.settings.m_datum1 = c[5];
    d.settings.m_datum2 = c[6];
    d.settings.m_maxOrder = c.size() > 7 ? c[7] : "5";
    JoinContext context{d.index, d.settings};
    RecordingResultList list;
    RecordingSink sink;
    NoPendingEvents events;
    const auto count = ComparePSMJoins(PlanOf(points), context, d.settings, list, sink, events);
    transcript +=
        "== " + c[0] + ": " + std::to_string(count) + "\n" + Written(list.Lines()) + Said(sink);
  }
  ExpectGolden(transcript, "compare.txt");
}

// The count has no 16-bit limit: 257 PSMs 100 m apart and 1 % too far apart on the plan make
// 32896 joins that all fail.
TEST(ComparePSMJoins, CountPassesSixteenBits) {
  CompareData d;
  d.marks.Clear();
  std::vector<PlanPoint> points;
  for (int i = 0; i < 257; ++i) {
    const int east = 100 * (i % 16), north = 100 * (i / 16);
    d.marks.AppendRow(JoinMark("6628/" + std::to_string(1000 + i), std::to_string(280000 + east),
                               std::to_string(6130000 + north), "1"));
    points.push_back({66281000 + i, east * 1.01, north * 1.01, 1});
  }
  JoinContext context{d.index, d.settings};
  RecordingResultList results;
  RecordingSink sink;
  NoPendingEvents events;
  EXPECT_EQ(ComparePSMJoins(PlanOf(points), context, d.settings, results, sink, events), 32896);
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink[0].Text, "***** 32896 JOINS WERE NOT ACCEPTABLE *****");
}

// The busy pointer shows while the lines are written and goes before the closing message; the
// pending events run once for every pair of PSMs, none for the pairs skipped. A datum PSM number
// beyond 32 bits ends the comparison with the pointer normal again.
class EventLog final : public MessageSink, public PendingEvents {
 public:
  void Message(const std::string&, const std::string&, MessageIcon) override {
    Log.push_back("message");
  }
  void Process() override { Log.push_back("events"); }
  std::vector<std::string> Log;
};

TEST(ComparePSMJoins, BusyPointerAndPendingEvents) {
  CompareData d;
  EventLog log;
  RecordingResultList list(&log.Log);
  JoinContext context{d.index, d.settings};
  const Plan plan = PlanOf({d.origin, {12, 0, 0, 1}, d.Like(66281002, 0, 1), d.Like(66281007)});
  EXPECT_EQ(ComparePSMJoins(plan, context, d.settings, list, log, log), 2);
  EXPECT_EQ(log.Log,
            (std::vector<std::string>{"busy", "events", "events", "events", "normal", "message"}));
  log.Log.clear();
  d.settings.SetDatum("6628/1001", "99999999999");
  EXPECT_THROW(ComparePSMJoins(plan, context, d.settings, list, log, log), KeyTooLargeError);
  EXPECT_EQ(log.Log, (std::vector<std::string>{"busy", "normal"}));
  EXPECT_EQ(list.Lines().back(), "BEARING DATUM                  Bearing         Distance");
}

// Plan points placed out of range end the command with their description. The command's other
// refusals and failures: tests/data/cli-cases/compare-criterion-before-count,
// compare-datum-key-too-large, compare-no-lines-file, and tests/data/bad/ln-empty, ln-header and
// cv-missing.
TEST(ComparePSMJoins, PlanOutOfRangeEndsTheCommandWithItsMessage) {
  CompareData d;
  TempFolder folder;
  folder.Write("plan.lns",
               "66281001,66281002,90.0000,1e308\r\n66281002,66281003,90.0000,1e308\r\n");
  RecordingSink sink;
  RecordingResultList list;
  NoPendingEvents events;
  Plan plan;
  ASSERT_TRUE(ReadPlanForCompare(folder / "plan", plan, sink));
  JoinContext context{d.index, d.settings};
  EXPECT_EQ(BuildAndComparePlan(folder / "plan", plan, context, d.settings, list, sink, events),
            std::nullopt);
  EXPECT_EQ(Said(sink),
            "! Join Comparison | Plan coordinates out of range at point 66281003 | 1\n");
  EXPECT_TRUE(list.Lines().empty());
}

}  // namespace
}  // namespace modKestralMGA
