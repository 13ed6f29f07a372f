#pragma once

#include <string>
#include <vector>

#include "compare/ComparePSMJoins.h"
#include "compare/CompareSettings.h"
#include "diagnosis/Diagnosis.h"
#include "geodesy/JoinSettings.h"
#include "markjoins/JoinCalculation.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The comparison's judgements counted by verdict, as the comparison counts them.
CompareSummary SummaryOf(const std::vector<JudgedJoin>& joins);

// The judged joins of plan as CSV: the header line "from,to,plan_bearing,plan_distance_m,
// mga_bearing,ground_distance_m,combined_scale_factor,bearing_diff_seconds,distance_diff_m,
// allowable_bearing_seconds,allowable_distance_m,verdict", then one record per join in the order
// judged. Keys with "#", bearings (ddd.mmss) with "0.0000", metres with "0.000", seconds with
// "0.0", the scale factor with "0.00000000" ("." whatever the locale; "NaN" for a difference
// that is not a number); a value the comparison did not reach (the MGA join of a join not
// compared, every value of an unsolved plan point) is an empty field. The verdict is acceptable,
// not_acceptable, order_above_limit, mga_not_available or plan_not_available. Records end with
// CR LF.
std::string CompareCsv(const Plan& plan, const std::vector<JudgedJoin>& joins);

// The comparison as one JSON object: "plan" (the plan identifier), "settings" (criterion,
// max_order, average_height_m, ellipsoid mga|amg|plane, bearing_datum: {from, to}, "tertiary"
// or null), "joins" (the CSV's fields as members, numbers rounded as there, null where the CSV
// field is empty or "NaN") and "summary" (the counts of CompareSummary). Ends with a line feed.
std::string CompareJson(const Plan& plan, const std::vector<JudgedJoin>& joins,
                        const CompareSettings& settings, bool tertiary);

// The joins command's rows as CSV: the header "from,to,bearing,distance_m,combined_scale_factor"
// and the rows' cells as they are, records ended by CR LF.
std::string JoinsCsv(const std::vector<JoinListRow>& rows);

// The joins command's rows as one JSON object: "settings" (ellipsoid, max_order,
// average_height_m) and "joins" (from, to as picked; the numbers of the cells). Ends with a line
// feed.
std::string JoinsJson(const std::vector<JoinListRow>& rows, const JoinSettings& settings);

}  // namespace modKestralMGA
