#pragma once

#include <string>

#include "diagnosis/Diagnosis.h"

namespace modKestralMGA {

// The diagnosis's table of marks as CSV, for spreadsheets: the header
// "psm,key,listed,joins,failed,suspect,explains,residual_east_m,residual_north_m" and one record
// per plan PSM in the order of the plan points: the PSM number as surveyors write it, the key
// ("#"), listed and suspect as yes or no, the counts, the failed joins a suspect explains (empty
// for a mark that is not one) and the residuals in metres with "0.0000" (empty when the mark has
// none). Records end with CR LF. The summary, fit, renumbering and plan checks are in the text
// and JSON forms.
std::string DiagnosisCsv(const Diagnosis& diagnosis);

}  // namespace modKestralMGA
