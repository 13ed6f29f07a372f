#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/ComparePSMJoins.h"
#include "compare/JoinJudgement.h"
#include "diagnosis/SimilarityFit.h"
#include "markjoins/MarkIndex.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// One join as the comparison judged it, with the entries of its two PSMs in the plan's points.
struct JudgedJoin {
  std::size_t FromEntry = 0;
  std::size_t ToEntry = 0;
  JoinJudgement Judgement;
};

// Keeps the comparison's judgements for the diagnosis, so that no join is computed twice; tells
// each to next too, when given.
class JudgementCollector final : public JoinObserver {
 public:
  explicit JudgementCollector(JoinObserver* next = nullptr) : m_next(next) {}
  void Expect(std::size_t joins) override {
    m_joins.reserve(m_joins.size() + joins);
    if (m_next != nullptr) m_next->Expect(joins);
  }
  void Judged(std::size_t fromEntry, std::size_t toEntry, const JoinJudgement& join) override {
    m_joins.push_back({fromEntry, toEntry, join});
    if (m_next != nullptr) m_next->Judged(fromEntry, toEntry, join);
  }
  const std::vector<JudgedJoin>& Joins() const { return m_joins; }

 private:
  JoinObserver* m_next;
  std::vector<JudgedJoin> m_joins;
};

// What judging a plan's joins reads besides the plan: the mark list (through its index, at its
// revision), the join settings (order limit, average height, ellipsoid) and the criterion. Joins
// judged under equal conditions are judged alike, value for value.
struct JudgingConditions {
  const MarkIndex* Index = nullptr;
  const MarkList* List = nullptr;
  std::uint64_t ListRevision = 0;
  std::string MaxOrder;
  std::string AverageHeight;
  DistanceCalculationMode Mode = DistanceCalculationMode::MGA94_2020;
  const AccuracyCriterion* Criterion = nullptr;

  bool operator==(const JudgingConditions&) const = default;
};

// The conditions of judging joins through context against criterion, as they stand now.
JudgingConditions ConditionsOf(const JoinContext& context, const AccuracyCriterion* criterion);

// A comparison's judgements of the joins of plan (in its order) and the conditions they were
// judged under, for a report on the same comparison that need not judge them again.
struct ComparedJoins {
  const Plan& ComparedPlan;
  const std::vector<JudgedJoin>& Joins;
  JudgingConditions Conditions;
};

// A join's verdict once the plan is turned and scaled by the fit of the marks.
enum class FittedVerdict { AcceptableAsIs, AcceptableAfterFit, NotAcceptable, NotCompared };

// What the diagnosis found about one PSM of the plan.
struct MarkDiagnosis {
  std::int32_t Key = 0;
  int Joins = 0;        // joins of the mark that were compared (acceptable or not)
  int Failed = 0;       // of those, not acceptable as they stand
  bool Listed = false;  // the list gives the mark positive MGA coordinates
  bool Suspect = false;
  // MGA minus the fitted plan position, metres; a suspect's from the fit of the others. None
  // when the mark is not listed, its plan point is not placed, or the fit gives no residuals.
  std::optional<double> ResidualEast;
  std::optional<double> ResidualNorth;
};

// A mark whose removal explains failed joins that no other mark explains.
struct Suspect {
  std::int32_t Key = 0;
  int Explains = 0;  // failed joins removed with it
};

// A plan PSM that stands where the list has another mark.
struct Renumbering {
  std::int32_t PlanPoint = 0;
  std::int32_t ListedKey = 0;
  double Distance = 0.0;  // metres between the fitted plan position and the listed mark
  bool SwappedDigits = false;
};

// A line of the plan that no point needed, set against the plan coordinates of its ends.
struct PlanCheck {
  std::int32_t From = 0;
  std::int32_t To = 0;
  double BearingSeconds = 0.0;  // stated bearing against the coordinates', seconds of arc
  double Distance = 0.0;        // stated distance against the coordinates', metres
  double Misclosure = 0.0;      // metres between the end the line places and the placed end
  bool Acceptable = true;
};

struct DiagnosisSummary {
  int Judged = 0;
  int AcceptableAsIs = 0;
  int AcceptableAfterFit = 0;
  int NotAcceptable = 0;
  int NotCompared = 0;
  std::string Finding;  // one sentence
};

// The PSM number of a key as surveyors write it: 66281234 -> "6628/1234"; keys of four digits
// or fewer as they are.
std::string PsmText(std::int32_t key);

// A named mark's name as its plan writes it, any other key as PsmText writes it.
std::string PsmText(const MarkNameTable& names, std::int32_t key);

struct Diagnosis {
  DiagnosisSummary Summary;
  std::optional<SimilarityFit> Fit;
  std::vector<MarkDiagnosis> Marks;  // plan PSMs in the order of the plan points
  std::vector<Suspect> Suspects;     // in the order found
  std::vector<Renumbering> Renumberings;
  std::vector<PlanCheck> PlanChecks;    // not acceptable first, each part largest first
  std::vector<FittedVerdict> Verdicts;  // one per judged join, in the comparison's order
  MarkNameTable Names;                  // the plan's named marks (a LandXML plan's "PM 12345")

  // A mark as the diagnosis shows it: by its name as the plan writes it, else its PSM number.
  std::string PsmName(std::int32_t key) const { return PsmText(Names, key); }
  // A named mark's key stands in for its name only: it is no PSM number.
  bool IsNamed(std::int32_t key) const { return Names.WrittenName.count(key) != 0; }
};

// Marks within this distance (metres) of a plan PSM carried into MGA, or within three times the
// fit's RMS when that is larger, are taken as standing at its place.
inline constexpr double kRenumberingRadius = 0.10;

// Diagnoses one comparison from its judgements (joins, in the comparison's order), the plan it
// compared, the mark list it read (through marks) and its criterion (nullptr: none known): failures
// per mark, likely culprits, the fit of the other marks, verdicts after the fit, renumbering
// candidates and the plan's checks. Computes no MGA join again.
Diagnosis Diagnose(const Plan& plan, MarkIndex& marks, const std::vector<JudgedJoin>& joins,
                   const AccuracyCriterion* criterion);

}  // namespace modKestralMGA
