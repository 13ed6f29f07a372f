// The comparison: the result lines of every verdict, the bearing datum section, the closing
// message, the refusal of an unknown criterion, the reading of the plan for the command, and the
// failures that end the command. Expected lines and messages: tests/data/model/compare.txt.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "common/Errors.h"
#include "compare/ComparePSMJoins.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

std::string Outcome(const std::string& what, std::optional<std::int64_t> count,
                    const RecordingResultList& list, const RecordingSink& sink) {
  return "== " + what + ": " + (count ? std::to_string(*count) : "ended") + "\n" +
         Written(list.Lines()) + Said(sink);
}

// Plan points placed from 6628/1001 (CompareFixtures.h); each row one comparison, then the bearing
// datum rows ("2 PSM's" with the datum boxes) and another bearing datum, whose boxes are not read.
TEST(ComparePSMJoins, ResultLinesDatumSectionAndClosingMessage) {
  CompareData d;
  std::string transcript;
  const auto run = [&](const std::string& what, const char* criterion, bool full,
                       const std::vector<PlanPoint>& plan, bool twoPsms = false,
                       const std::string& from = "", const std::string& to = "") {
    d.settings.m_criterion = criterion;
    d.settings.m_fullDetails = full;
    d.settings.m_twoPsms = twoPsms;
    d.settings.m_datum1 = from;
    d.settings.m_datum2 = to;
    JoinContext context{d.index, d.settings};
    RecordingResultList list;
    RecordingSink sink;
    NoPendingEvents events;
    const auto count = ComparePSMJoins(PlanOf(plan), context, d.settings, list, sink, events);
    transcript += Outcome(what, count, list, sink);
  };
  const PlanPoint o = d.origin;
  // Each PSM placed 0.1 % too far from 6628/1001: every join between them fails.
  const PlanPoint far2 = d.Like(66281002, 0, 1.414), far7 = d.Like(66281007, 0, 1.0);
  const struct {
    const char *what, *criterion;
    bool full;
    std::vector<PlanPoint> plan;
  } cases[] = {
      // clang-format off
      {"acceptable", "Urban Areas", false, {o, d.Like(66281002)}},
      {"acceptable, full details", "Urban Areas", true, {o, d.Like(66281002, 7, -0.05)}},
      {"distance not acceptable", "Urban Areas", false, {o, d.Like(66281002, 0, 0.06)}},
      {"bearing not acceptable", "Adelaide City", false, {o, d.Like(66281002, -5)}},
      {"order above the limit", "Urban Areas", true, {o, {66281003, 1000, 2000, 1}}},
      {"mark missing", "Urban Areas", true, {o, {66289999, 1000, 2000, 1}}},
      {"point unsolved", "Urban Areas", true, {o, {66281002, 0, 0, 0}}},
      // 4600 is an ordinary point, 4601 the lowest PSM key; pairs in plan order only.
      {"pairs of PSMs", "Urban Areas", false,
       {o, {4600, 0, 0, 1}, d.Like(66281002), {4601, 5, 5, 1}, {12, 0, 0, 1}}},
      {"no PSMs", "Urban Areas", false, {{12, 0, 0, 1}, {4600, 1, 1, 1}}},
      {"one join not acceptable", "Urban Areas", false, {o, far2, d.Like(66281003)}},
      {"five joins not acceptable", "Urban Areas", false, {o, far2, far7, d.Like(66281005, 0, 1.0)}},
      // clang-format on
  };
  for (const auto& c : cases) run(c.what, c.criterion, c.full, c.plan);
  const std::string blank12(12, ' '), blank20(20, ' ');
  // clang-format off
  const std::string datums[][3] = {
      {"both listed", "6628/1001", "6628/1002"}, {"typed without the slash", "66281001", "66281002"},
      {"a mark missing", "6628/1001", "6628/9999"}, {"order above the limit", "6628/1001", "6628/1003"},
      {"label past column 30", "6628/1001" + blank12, "6628/1002"},
      {"bearing past column 45", "6628/1001" + blank20, "6628/1002"},
      {"To empty", "6628/1001", ""}, {"From empty", "", "6628/1002"}};
  // clang-format on
  for (const auto& c : datums) run("datum: " + c[0], "Urban Areas", false, {o}, true, c[1], c[2]);
  run("another bearing datum", "Urban Areas", false, {o}, false, "6628/1001", "6628/1002");
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

// The command's steps around the comparison: the criterion check, and a plan placed out of range
// or a datum key beyond 32 bits ending the command with their description (a missing, empty or
// unreadable lines file and a missing curve file: tests/data/cli-cases/compare-no-lines-file,
// tests/data/bad/ln-empty, ln-header and cv-missing).
TEST(ComparePSMJoins, CommandStepsAndTheirMessages) {
  CompareData d;
  TempFolder folder;
  d.settings.m_criterion = "urban areas";
  RecordingSink refused;
  EXPECT_FALSE(CheckAccuracyCriterion(d.settings, refused));
  d.settings.m_criterion = "Adelaide City";
  EXPECT_TRUE(CheckAccuracyCriterion(d.settings, refused));
  std::string transcript = "== criteria\n" + Said(refused);
  const char* cases[][3] = {
      {"out of range", "66281001,66281002,90.0000,1e308\r\n66281002,66281003,90.0000,1e308\r\n",
       ""},
      {"datum key too large", "66281001,66281002,45.0000,1413.962\r\n", "6628/1000000"}};
  for (const auto& c : cases) {
    d.settings.m_plan = folder / c[0];
    folder.Write(std::string(c[0]) + ".lns", c[1]);
    d.settings.SetDatum("6628/1001", c[2]);
    RecordingSink sink;
    RecordingResultList list;
    NoPendingEvents events;
    Plan plan;
    ASSERT_TRUE(ReadPlanForCompare(d.settings.m_plan, plan, sink));
    JoinContext context{d.index, d.settings};
    transcript += Outcome(
        c[0], BuildAndComparePlan(d.settings.m_plan, plan, context, d.settings, list, sink, events),
        list, sink);
  }
  ExpectGolden(Replaced(transcript, folder.Path(), "<folder>"), "compare_command.txt");
}

}  // namespace
}  // namespace modKestralMGA
