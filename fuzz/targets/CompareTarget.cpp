// A whole Compare on a fuzzed lines file and curve file against a fixed mark list, with settings
// chosen by the input, and the saved joins report after it: every command that ends early says
// why, and no number that is not finite reaches a result line or the report.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"
#include "compare/KeptResultList.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "reports/BearingDatumReport.h"
#include "reports/JoinsReport.h"

namespace modKestralMGA::fuzz {

namespace {

// The comparison's pairs are as many as the square of the plan's PSMs: a fuzzed plan of
// thousands of PSMs is a correct but long comparison, so a run stops after this many pairs.
constexpr int kPairBudget = 20000;

// Thrown by the pending-events hook when the budget is spent. Not a std::exception, so that the
// command's own trap lets it through.
struct BudgetSpent {};

class PairBudget final : public PendingEvents {
 public:
  void Process() override {
    if (++m_pairs > kPairBudget) throw BudgetSpent{};
  }

 private:
  int m_pairs = 0;
};

// The settings of the main and results windows, chosen by bits of the input's hash.
class ChosenSettings final : public ReportSettings {
 public:
  ChosenSettings(std::string planIdentifier, std::uint64_t bits)
      : m_planIdentifier(std::move(planIdentifier)), m_bits(bits) {}

  void SetAverageHeightText(std::string text) { m_averageHeight = std::move(text); }
  // The height box as the user may have typed it between the comparison and the report.
  std::string TypedHeight() const {
    static const std::array<const char*, 4> kHeights = {"100.000", "-50", "1e400", "abc"};
    return kHeights[Pick(40, kHeights.size())];
  }

  std::string MaxOrderText() const override {
    static const std::array<const char*, 5> kOrders = {"5", "", "40000", "1e9", "-1"};
    return kOrders[Pick(0, kOrders.size())];
  }
  std::string AverageHeightText() const override { return m_averageHeight; }
  DistanceCalculationMode CalculationMode() const override {
    static const std::array<DistanceCalculationMode, 3> kModes = {
        DistanceCalculationMode::MGA94_2020, DistanceCalculationMode::AMG84,
        DistanceCalculationMode::Plane};
    return kModes[Pick(8, kModes.size())];
  }
  std::string PlanIdentifier() const override { return m_planIdentifier; }
  std::string AccuracyCriterionText() const override {
    static const std::array<const char*, 6> kCriteria = {"Urban Areas",
                                                         "Rural Areas",
                                                         "Adelaide City",
                                                         "URBAN SURVEY (prior Feb 2019)",
                                                         "RURAL SURVEY (prior Feb 2019)",
                                                         "urban areas"};
    // The unknown text only now and then, so that most runs compare.
    const std::size_t pick = Pick(16, 16);
    return kCriteria[pick < 5 ? pick : (pick == 15 ? 5 : pick % 5)];
  }
  bool TwoPsms() const override { return Pick(24, 4) != 0; }
  std::string Datum1Text() const override { return Datum()[0]; }
  std::string Datum2Text() const override { return Datum()[1]; }
  bool FullDetails() const override { return Pick(32, 2) == 1; }
  bool PrintPsmList() const override { return Pick(33, 2) == 1; }
  bool PrintFullJoins() const override { return Pick(34, 2) == 1; }
  bool PrintDiagnosis() const override { return Pick(35, 2) == 1; }

 private:
  std::size_t Pick(int shift, std::size_t count) const {
    return static_cast<std::size_t>((m_bits >> shift) % count);
  }
  std::array<std::string, 2> Datum() const {
    static const std::array<std::array<const char*, 2>, 4> kDatums = {{{"6628/1001", "6628/1002"},
                                                                       {"6628/1001", "6628/9999"},
                                                                       {"9999/999999", "6628/1001"},
                                                                       {"66281007", ""}}};
    const auto& datum = kDatums[Pick(28, kDatums.size())];
    return {datum[0], datum[1]};
  }

  std::string m_planIdentifier;
  std::uint64_t m_bits;
  std::string m_averageHeight = "0.000";
};

// The mark list: the seeds' PSMs, one above any order limit, one without coordinates, one whose
// key is beyond 32 bits, one at the largest key.
MarkList FixedMarks() {
  MarkList list;
  list.AppendRow({"6628/1001", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", ""});
  list.AppendRow({"6628/1002", "281000.000", "6131000.000", "100.000", "2", "54", "GDA2020", ""});
  list.AppendRow({"6628/1003", "280000.000", "6131000.000", "100.000", "6", "54", "GDA2020", ""});
  list.AppendRow({"6628/1007", "280500.000", "6130200.000", "", "3", "54", "GDA2020", ""});
  list.AppendRow({"4601", "500000", "10000000", "", "", "", "", ""});
  list.AppendRow({"4602", "500120.456", "10000100", "", "1e9", "", "", ""});
  list.AppendRow({"6628/1009", "", "6130500.000", "", "", "", "", ""});
  list.AppendRow({"9999/999999", "280000.000", "6130000.000", "", "", "", "", ""});
  list.AppendRow({"2147/483647", "280001.000", "6130001.000", "", "", "", "", ""});
  return list;
}

// The largest plan coordinate (metres; none is negative once the plan is built).
double FarthestCoordinate(const Plan& plan) {
  double farthest = 0.0;
  for (std::int64_t i = 0; i <= plan.PlanPointCount; ++i) {
    const PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    farthest = std::max({farthest, point.East, point.North});
  }
  return farthest;
}

bool HoldsNonFinite(const std::string& text) {
  return text.find("NaN") != std::string::npos || text.find("Inf") != std::string::npos;
}

}  // namespace

int FuzzCompare(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsText(data, size);
  const std::size_t separator = bytes.find(kCompareFileSeparator);
  const std::string_view curveFile =
      separator == std::string_view::npos ? std::string_view() : bytes.substr(separator + 6);
  WriteScratchFile("plan.lns", bytes.substr(0, separator));
  WriteScratchFile("plan.cve", curveFile);
  const std::string planIdentifier = ScratchFolder() + "/plan";

  const MarkList marks = FixedMarks();
  ChosenSettings settings(planIdentifier, InputHash(bytes));
  KeptMessages messages;
  if (!CheckAccuracyCriterion(settings, messages)) {
    Require(messages.AnyTitled(kJoinComparisonTitle), "an unknown criterion says so");
    return 0;
  }
  settings.SetAverageHeightText(FormatNumber(AverageHeight(marks), kFormatMetres));
  Plan plan;
  if (!ReadPlanForCompare(planIdentifier, plan, messages)) {
    Require(!messages.Empty(), "a plan that cannot be compared says why");
    return 0;
  }

  MarkIndex index(marks);
  JoinContext context{index, settings};
  KeptResultList results;
  PairBudget budget;
  std::optional<std::int64_t> notAcceptable;
  try {
    notAcceptable =
        BuildAndComparePlan(planIdentifier, plan, context, settings, results, messages, budget);
  } catch (const BudgetSpent&) {
    return 0;
  }
  if (!notAcceptable) {
    Require(!messages.Empty() && messages.Entries().back().Title == kJoinComparisonTitle,
            "a comparison that failed says why");
    return 0;
  }
  // Only plan points more than the largest double apart may show a difference that is not
  // finite (and that join is not acceptable).
  const bool distancesFit = FarthestCoordinate(plan) < 1e307;
  // The first line names the plan, which may hold anything.
  const std::string_view lines = results.Text();
  for (std::size_t at = lines.find('\n'); at != std::string::npos && distancesFit;) {
    const std::size_t end = lines.find('\n', at + 1);
    if (end == std::string::npos) break;
    Require(!HoldsNonFinite(std::string(lines.substr(at + 1, end - at - 1))),
            "no result line shows a number that is not finite");
    at = end;
  }
  Require((*notAcceptable > 0) == messages.AnyTitled(kJoinComparisonTitle),
          "joins not acceptable, and only they, give the closing message");

  settings.SetAverageHeightText(settings.TypedHeight());
  const std::string reportPath = ScratchFolder() + "/report.txt";
  KeptMessages reportMessages;
  if (!SaveJoinsReport(reportPath, plan, context, settings, "Monday, January 1, 2024",
                       reportMessages)) {
    Require(!reportMessages.Empty(), "a report that failed says why");
    return 0;
  }
  Require(reportMessages.AllTitled({kDatumNotInPlanTitle}),
          "a report written whole shows at most that the datum PSMs are not in the plan");
  bool exists = false;
  std::string report = ReadWholeFile(reportPath, exists);
  Require(exists, "the report is written");
  for (std::size_t at = report.find(planIdentifier); at != std::string::npos;
       at = report.find(planIdentifier)) {
    report.erase(at, planIdentifier.size());
  }
  Require(!distancesFit || !HoldsNonFinite(report), "no number in the report is not finite");
  return 0;
}

}  // namespace modKestralMGA::fuzz
