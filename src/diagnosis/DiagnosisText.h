#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

// The diagnosis as lines of text for the plan planIdentifier: the counts and the finding, the
// fit, a table of the marks (keys at column 0, joins at 15, failed at 23, residuals east and north
// at 31 and 43, "suspect", "not in list" or "not compared" at 55), the suspects, the renumbering
// candidates and the plan checks not acceptable ("line 12-13 does not close: 0.214 m, 41.0 s").
// Numbers in the program's formats.
std::vector<std::string> DiagnosisLines(const Diagnosis& diagnosis,
                                        const std::string& planIdentifier);

// The fit as DiagnosisLines gives it: "Fit from 5 marks: rotation 20.0 sec, scale 50.0 ppm, RMS
// 0.002 m", or "Fit: fewer than two PSMs with MGA coordinates" without a fit.
std::string DiagnosisFitLine(const std::optional<SimilarityFit>& fit);

// The suspects, the renumbering candidates and the plan checks not acceptable, a line each, as
// DiagnosisLines ends.
std::vector<std::string> DiagnosisFindingLines(const Diagnosis& diagnosis);

}  // namespace modKestralMGA
