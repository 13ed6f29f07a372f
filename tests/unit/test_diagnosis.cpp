// The diagnosis of made-up surveys, each with one kind of fault: what it must find, and what it
// must not blame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "SyntheticSurvey.h"
#include "diagnosis/DiagnosisText.h"
#include "diagnosis/Renumbering.h"

namespace modKestralMGA {
namespace {

using namespace testsupport;

std::set<std::int32_t> SuspectKeys(const Diagnosis& d) {
  std::set<std::int32_t> keys;
  for (const Suspect& s : d.Suspects) keys.insert(s.Key);
  return keys;
}

double Residual(const Diagnosis& d, std::int32_t key) {
  for (const MarkDiagnosis& m : d.Marks) {
    if (m.Key == key && m.ResidualEast) return std::hypot(*m.ResidualEast, *m.ResidualNorth);
  }
  return -1.0;
}

struct DiagnosisCase {
  const char* Name;
  std::size_t Marks;
  SurveyFaults Faults;
  std::vector<std::int32_t> Keys;
  std::function<void(const SyntheticSurvey&, const Diagnosis&)> Check;
};

const std::vector<DiagnosisCase>& Cases() {
  static const std::vector<DiagnosisCase> cases = {
      {"one mark moved 0.12 m among 6",
       6,
       {.Moved = {3}},
       {},
       [](const SyntheticSurvey& s, const Diagnosis& d) {
         EXPECT_EQ(SuspectKeys(d), std::set<std::int32_t>{s.Keys[3]});
         EXPECT_EQ(d.Suspects.front().Explains, 5);
         EXPECT_NEAR(Residual(d, s.Keys[3]), 0.12, 0.002);
         EXPECT_LT(Residual(d, s.Keys[0]), 0.002);
         EXPECT_EQ(d.Summary.NotAcceptable, 5);
         EXPECT_EQ(d.Summary.Finding,
                   "Mark 6628/1004 (0.120 m) has likely moved: it explains 5 of the 5 joins not "
                   "acceptable.");
         EXPECT_TRUE(d.Renumberings.empty());
       }},
      {"two marks moved among 10",
       10,
       {.Moved = {2, 7}, .MovedBy = 0.15},
       {},
       [](const SyntheticSurvey& s, const Diagnosis& d) {
         EXPECT_EQ(SuspectKeys(d), (std::set<std::int32_t>{s.Keys[2], s.Keys[7]}));
         EXPECT_NEAR(Residual(d, s.Keys[7]), 0.15, 0.002);
         EXPECT_EQ(d.Fit->MarksUsed, 8);
       }},
      {"plan rotated 20 seconds",
       6,
       {.RotationSeconds = 20.0},
       {},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_NEAR(d.Fit->RotationSeconds, 20.0, 0.05);
         EXPECT_TRUE(d.Suspects.empty());
         EXPECT_EQ(d.Summary.NotAcceptable, 0);
         EXPECT_EQ(d.Summary.AcceptableAfterFit + d.Summary.AcceptableAsIs, 15);
         EXPECT_GT(d.Summary.AcceptableAfterFit, 10);
         EXPECT_NE(d.Summary.Finding.find("bearing datum"), std::string::npos);
       }},
      {"plan scaled 50 ppm",
       6,
       {.ScalePpm = 50.0},
       {},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_NEAR(d.Fit->ScalePpm, 50.0, 0.5);
         EXPECT_NEAR(d.Fit->RotationSeconds, 0.0, 0.05);
         EXPECT_TRUE(d.Suspects.empty());
         EXPECT_EQ(d.Summary.NotAcceptable, 0);
       }},
      {"two numbers swapped",
       6,
       {.Swapped = {0, 1}},
       {66281234, 66281243},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_EQ(SuspectKeys(d), (std::set<std::int32_t>{66281234, 66281243}));
         ASSERT_EQ(d.Renumberings.size(), 2u);
         for (const Renumbering& r : d.Renumberings) {
           EXPECT_TRUE(r.SwappedDigits);
           EXPECT_LT(r.Distance, 0.002);
           EXPECT_EQ(r.ListedKey, r.PlanPoint == 66281234 ? 66281243 : 66281234);
         }
         EXPECT_EQ(d.Summary.Finding,
                   "Plan point 66281243 stands where the list has 6628/1234 (two neighbouring "
                   "digits swapped).");
       }},
      {"one distance mistyped",
       6,
       {.MistypedCheck = 2},
       {},
       [](const SyntheticSurvey& s, const Diagnosis& d) {
         ASSERT_EQ(d.PlanChecks.size(),
                   5u);  // the lines between marks; those from the hub placed them
         EXPECT_EQ(d.PlanChecks.front().From, s.Keys[2]);
         EXPECT_EQ(d.PlanChecks.front().To, s.Keys[3]);
         EXPECT_NEAR(d.PlanChecks.front().Distance, 0.2, 0.003);
         EXPECT_FALSE(d.PlanChecks.front().Acceptable);
         EXPECT_TRUE(d.PlanChecks[1].Acceptable);
         EXPECT_EQ(d.Summary.Finding.rfind("Line 66281003-66281004 does not close: 0.2", 0), 0u);
       }},
      {"2 PSMs",
       2,
       {},
       {},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_EQ(d.Fit->MarksUsed, 2);
         EXPECT_FALSE(d.Fit->RmsMetres);
         EXPECT_FALSE(d.Marks[0].ResidualEast);
         EXPECT_EQ(d.Summary.Finding, "Every compared join is acceptable as it stands.");
       }},
      {"every join acceptable",
       6,
       {},
       {},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_EQ(d.Summary.AcceptableAsIs, 15);
         EXPECT_TRUE(d.Suspects.empty());
         EXPECT_LT(*d.Fit->RmsMetres, 0.001);
         EXPECT_TRUE(d.Renumberings.empty());
         EXPECT_TRUE(d.PlanChecks.front().Acceptable);
         EXPECT_EQ(d.Summary.Finding, "Every compared join is acceptable as it stands.");
       }},
      {"marks missing from the list",
       6,
       {.Unlisted = {1, 4}},
       {},
       [](const SyntheticSurvey&, const Diagnosis& d) {
         EXPECT_EQ(d.Summary.Judged, 6);
         EXPECT_EQ(d.Summary.NotCompared, 9);
         EXPECT_EQ(d.Summary.AcceptableAsIs, 6);
         EXPECT_FALSE(d.Marks[1].Listed);
         EXPECT_EQ(d.Summary.Finding,
                   "Every compared join is acceptable as it stands; 2 PSMs of the plan are not "
                   "in the mark list.");
       }},
  };
  return cases;
}

TEST(Diagnosis, FindsTheFaultOfEachMadeUpSurvey) {
  for (const DiagnosisCase& c : Cases()) {
    SCOPED_TRACE(c.Name);
    SyntheticSurvey survey(c.Marks, c.Faults, c.Keys);
    const Diagnosis d = survey.Diagnosed();
    ASSERT_TRUE(d.Fit.has_value());
    // Every pair of the plan's PSMs is judged or not compared.
    EXPECT_EQ(d.Summary.Judged + d.Summary.NotCompared, int(c.Marks * (c.Marks - 1) / 2));
    EXPECT_EQ(d.Verdicts.size(), survey.Judgements.Joins().size());
    c.Check(survey, d);
    // The text names every mark once.
    const auto lines = DiagnosisLines(d, "P");
    for (const std::int32_t key : survey.Keys) {
      EXPECT_EQ(
          std::count_if(lines.begin(), lines.end(),
                        [&](const std::string& l) { return l.rfind(PsmText(key) + " ", 0) == 0; }),
          1);
    }
  }
}

TEST(Diagnosis, SwappedDigitsAreNeighboursOnly) {
  EXPECT_TRUE(SwappedAdjacentDigits(66281243, 66281234));
  EXPECT_TRUE(SwappedAdjacentDigits(66281234, 62681234));
  EXPECT_FALSE(SwappedAdjacentDigits(66281234, 66281432));  // not neighbours
  EXPECT_FALSE(SwappedAdjacentDigits(66281234, 66281235));
  EXPECT_FALSE(SwappedAdjacentDigits(66281234, 66281234));
  EXPECT_FALSE(SwappedAdjacentDigits(66281234, 6628123));
}

}  // namespace
}  // namespace modKestralMGA
