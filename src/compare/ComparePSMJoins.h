#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Seams.h"
#include "compare/CompareSettings.h"
#include "compare/JoinJudgement.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// What a comparison did, counted by verdict: the joins judged against the criterion (acceptable
// or not) and those not compared, by reason.
struct CompareSummary {
  std::int64_t Acceptable = 0;
  std::int64_t NotAcceptable = 0;
  std::int64_t MissingCoordinates = 0;  // "MGA Coordinates not available"
  std::int64_t OrderAboveLimit = 0;     // "Scaled Coordinates found"
  std::int64_t UnsolvedPoints = 0;      // "Plan coordinates not available"

  std::int64_t Judged() const { return Acceptable + NotAcceptable; }
  std::int64_t NotCompared() const { return MissingCoordinates + OrderAboveLimit + UnsolvedPoints; }
  void Count(JoinVerdict verdict);
  // "10 joins judged: 9 acceptable, 1 not acceptable; 0 not compared (0 missing coordinates, 0
  // order above the limit, 0 unsolved points)".
  std::string Text() const;
};

// Where the comparison writes its result lines: the results window's list, or the batch
// program's standard output.
class ResultList {
 public:
  virtual ~ResultList() = default;
  virtual void Clear() = 0;
  virtual void AddLine(std::string line) = 0;
  // The number of joins the comparison is about to list, before the first.
  virtual void Expect(std::size_t /*joins*/) {}
  // The comparison is running (busy pointer over the results window) or has ended (normal
  // pointer). The batch program and tests need nothing here.
  virtual void SetBusy(bool /*busy*/) {}
  // What the comparison did, once its last line is written (before the closing message).
  virtual void Summary(const CompareSummary& /*summary*/) {}
};

// Hears each join as the comparison judges it, with the entries of its two PSMs in the plan's
// point table: what the comparison concluded, for those that study its joins further.
class JoinObserver {
 public:
  virtual ~JoinObserver() = default;
  // The number of joins the comparison is about to judge, before the first.
  virtual void Expect(std::size_t /*joins*/) {}
  virtual void Judged(std::size_t fromEntry, std::size_t toEntry, const JoinJudgement& join) = 0;
};

// The title of the comparison's own messages.
inline constexpr const char* kJoinComparisonTitle = "Join Comparison";
// The title and text shown when the plan's lines file gave no line.
inline constexpr const char* kValidKestralFileErrorTitle = "Valid KESTRAL file error";
inline constexpr const char* kNoLinesFoundText = "No lines found in KESTRAL file";

// Plan point numbers above this are PSM keys; the comparison joins only those points.
inline constexpr std::int32_t kHighestOrdinaryPoint = 4600;

// Refuses a criterion text that matches none of the criteria (the shipped five and a user's,
// exactly, case and blanks counting):
// "Unknown accuracy criterion: " + text, "Join Comparison", exclamation. True when the criterion
// is known.
bool CheckAccuracyCriterion(const CompareSettings& settings, MessageSink& sink);

// True for the result line of a join not acceptable (its verdict at the end, at column 30 or
// after), false for its detail lines and every other line.
bool IsNotAcceptableLine(std::string_view line);

// Refuses a "Compare up to Order" text that is not wholly a number (empty, blank, letters, "2a";
// blanks around a number are allowed): "Compare up to Order is not a number: " + text, "Join
// Comparison", exclamation. Read by the numeric value rule such a text would make every join
// "Scaled Coordinates found" and the plan look as if it passed. True when it is a number.
bool CheckMaxOrder(const CompareSettings& settings, MessageSink& sink);

// Reads the plan's lines for the Compare command: ValidKESTRALfile (when it finds no line, also
// "No lines found in KESTRAL file" under "Valid KESTRAL file error", exclamation), LoadLines,
// then marks the usable lines; a plan identifier ending in ".xml" is read as a LandXML survey
// instead (LoadLandXmlPlan). False when the command ends there (its messages shown).
bool ReadPlanForCompare(const std::string& planIdentifier, Plan& plan, MessageSink& sink);

// Compares every pair of the plan's PSMs (points numbered above 4600, in the order of the plan
// points) with its MGA join and writes the result lines: the heading, the bearing datum lines
// when "2 PSM's" is chosen with both datum PSMs given, then one verdict line per pair and the
// detail lines of not-acceptable joins (of every join with full details). Keys stand at column
// 0 and 15 and the verdict at 30 (PadToColumn). Calls events after every pair. Ends with the
// closing message ("***** 1 JOIN WAS NOT ACCEPTABLE *****" or "***** N JOINS WERE NOT
// ACCEPTABLE *****", "Join Comparison", exclamation) when any join was not acceptable. Each
// judgement goes to observer, when given, before its lines are added. Returns
// the number of joins not acceptable. Throws what a failure inside it throws (a datum key beyond
// 32 bits: KeyTooLargeError); the command reports it.
std::int64_t ComparePSMJoins(const Plan& plan, JoinContext& context,
                             const CompareSettings& settings, ResultList& list, MessageSink& sink,
                             PendingEvents& events, JoinObserver* observer = nullptr);

// The Compare command from the plan build on, once the lines of planIdentifier are read
// (ReadPlanForCompare) and the results window is shown: BuildPlanPoints, whose curve file is
// planIdentifier + ".cve" (the plan whose lines were read, also when the plan was picked in the
// dialog under a name without ".lns" and the plan identifier box stays empty), then
// ComparePSMJoins. A failure in either (coordinates beyond the range of a double, a datum key
// beyond 32 bits, memory) ends the command with its description under "Join Comparison"
// (exclamation), and nothing is returned; otherwise the number of joins not acceptable. The
// observer, when given, hears every judgement.
std::optional<std::int64_t> BuildAndComparePlan(const std::string& planIdentifier, Plan& plan,
                                                JoinContext& context,
                                                const CompareSettings& settings, ResultList& list,
                                                MessageSink& sink, PendingEvents& events,
                                                JoinObserver* observer = nullptr);

}  // namespace modKestralMGA
