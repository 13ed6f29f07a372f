#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/Seams.h"
#include "compare/CompareSettings.h"
#include "compare/JoinJudgement.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// Where the comparison writes its result lines: the results window's list, or the batch
// program's standard output.
class ResultList {
 public:
  virtual ~ResultList() = default;
  virtual void Clear() = 0;
  virtual void AddLine(std::string line) = 0;
  // The comparison is running (busy pointer over the results window) or has ended (normal
  // pointer). The batch program and tests need nothing here.
  virtual void SetBusy(bool /*busy*/) {}
};

// Hears each join as the comparison judges it, with the entries of its two PSMs in the plan's
// point table: what the comparison concluded, for those that study its joins further.
class JoinObserver {
 public:
  virtual ~JoinObserver() = default;
  virtual void Judged(std::size_t fromEntry, std::size_t toEntry, const JoinJudgement& join) = 0;
};

// The title of the comparison's own messages.
inline constexpr const char* kJoinComparisonTitle = "Join Comparison";
// The title and text shown when the plan's lines file gave no line.
inline constexpr const char* kValidKestralFileErrorTitle = "Valid KESTRAL file error";
inline constexpr const char* kNoLinesFoundText = "No lines found in KESTRAL file";

// Plan point numbers above this are PSM keys; the comparison joins only those points.
inline constexpr std::int32_t kHighestOrdinaryPoint = 4600;

// Refuses a criterion text that matches none of the five (exactly, case and blanks counting):
// "Unknown accuracy criterion: " + text, "Join Comparison", exclamation. True when the criterion
// is known.
bool CheckAccuracyCriterion(const CompareSettings& settings, MessageSink& sink);

// Reads the plan's lines for the Compare command: ValidKESTRALfile (when it finds no line, also
// "No lines found in KESTRAL file" under "Valid KESTRAL file error", exclamation), LoadLines,
// then marks the usable lines. False when the command ends there (its messages shown).
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
