#pragma once

#include "diagnosis/Diagnosis.h"
#include "exchange/JsonNumbers.h"
#include "markjoins/JoinCalculation.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// A judged join as CompareJson writes it in "joins": from, to, the CSV's values (rounded as
// there, null where it leaves a field empty or writes NaN), verdict.
Json JudgedJoinJson(const Plan& plan, const JudgedJoin& judged);

// A row of the joins command as JoinsJson writes it in "joins": from and to as picked, the
// numbers of the other cells.
Json JoinRowJson(const JoinListRow& row);

}  // namespace modKestralMGA
