#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DataGenerator.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The data sets of the benchmarks, the same in every benchmark program and in the files written
// for timing the batch program, so that the figures of one run speak of the same inputs.

inline constexpr std::uint64_t kMarksSeed = 20240601;
inline constexpr std::uint64_t kPlanSeed = 20240611;
// A statewide Mark Details file.
inline constexpr std::size_t kStatewideMarkCount = 200000;
// The lines of the plans compared against the statewide list (20,000 lines, 4,600 other points).
inline constexpr std::size_t kComparisonPlanLines = 20000;

// count marks of a statewide list, one in twenty of them in one city, one in a hundred repeating
// an earlier one (so that removing duplicates has work to do).
std::vector<GeneratedMark> StatewideMarks(std::size_t count);

// The statewide list, made at the first call and kept for the run: the marks, the mark list as
// opening their file leaves it (repeated marks removed) and its average height text.
struct StatewideList {
  std::vector<GeneratedMark> Marks;
  MarkList List;
  std::string AverageHeight;
};
const StatewideList& Statewide();

// The Mark Details file (with its title line) and the delimited text file of StatewideMarks(count),
// made at the first call for each count and kept for the run.
const std::string& MarkDetailsText(std::size_t count);
const std::string& DelimitedText(std::size_t count);

// The average height of the marks as opening their file computes it, written "0.000": the text
// the batch program puts in "Average Height".
std::string AverageHeightOf(const std::vector<GeneratedMark>& marks);

// A traverse of about `lines` lines numbered mostly by made-up PSM keys, a tenth of its legs
// curves, 2% extra 999 lines, three disconnected parts: the plan build's scaling series.
PlanShape TraverseShape(std::size_t lines);

// A chain of `lines` straight lines listed from its far end: the worst order for the passes.
PlanShape ChainFromFarEndShape(std::size_t lines);

// A plan of kComparisonPlanLines lines whose `psms` PSMs are the marks of the list nearest to
// its first mark (in the city), 4,600 other points between them, curves, 999 lines, lines measured
// again and five disconnected parts; distances at ground for the marks' average height. One PSM in
// fifty lies 0.1 m east of its listed position, so that its joins are not acceptable.
GeneratedPlan ComparisonPlan(const std::vector<GeneratedMark>& marks, std::size_t psms);

// The PSMs of ComparisonPlan(marks, psms), in its traverse order.
std::vector<GeneratedMark> ComparisonPsms(const std::vector<GeneratedMark>& marks,
                                          std::size_t psms);

// A plan of one line between two neighbouring marks of the list: opening the list is then all
// the batch program's work.
GeneratedPlan OneLinePlan(const std::vector<GeneratedMark>& marks);

}  // namespace modKestralMGA
