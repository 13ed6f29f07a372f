#pragma once

#include <cstdint>
#include <string>

#include "common/Seams.h"
#include "compare/CompareSettings.h"
#include "geodesy/Joins.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// Where the comparison writes its result lines: the results window's list, or the batch
// program's standard output.
class ResultList {
 public:
  virtual ~ResultList() = default;
  virtual void Clear() = 0;
  virtual void AddLine(std::string line) = 0;
};

// The title of the comparison's own messages.
inline constexpr const char* kJoinComparisonTitle = "Join Comparison";

// Refuses a criterion text that matches none of the five: "Unknown accuracy criterion: " + text,
// "Join Comparison", exclamation. True when the criterion is known.
bool CheckAccuracyCriterion(const CompareSettings& settings, MessageSink& sink);

// Reads the plan's lines for the Compare command: ValidKESTRALfile (when it finds no line, also
// "No lines found in KESTRAL file" under "Valid KESTRAL file error"), LoadLines, then marks the
// usable lines. False when the command ends there (its messages shown).
bool ReadPlanForCompare(const std::string& planIdentifier, Plan& plan, MessageSink& sink);

// Compares every pair of the plan's PSMs (points numbered above 4600, in the order of the plan
// points) with its MGA join and writes the result lines: the heading, the bearing datum lines
// when "2 PSM's" is chosen with both datum PSMs given, then one verdict line per pair and the
// detail lines of not-acceptable joins (of every join with full details). Calls events after
// every pair. Ends with the closing message ("***** 1 JOIN WAS NOT ACCEPTABLE *****" or
// "***** N JOINS WERE NOT ACCEPTABLE *****", "Join Comparison", exclamation) when any join was
// not acceptable. Returns the number of joins not acceptable. Throws what a failure inside it
// throws (a datum key beyond 32 bits: KeyTooLargeError); the command reports it.
std::int64_t ComparePSMJoins(const Plan& plan, JoinContext& context,
                             const CompareSettings& settings, ResultList& list, MessageSink& sink,
                             PendingEvents& events);

}  // namespace modKestralMGA
