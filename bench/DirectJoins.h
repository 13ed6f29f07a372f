#pragma once

#include <cstdint>

#include "geodesy/JoinSettings.h"
#include "markjoins/MarkJoins.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// CombinedScaleFactor with the direct lookup: at every call every row of the list is read, its
// key made from its PSM No. by the PsmKey rule (a key beyond 32 bits matches nothing), both keys
// tested on every row and a later matching row overriding an earlier one; the join is then
// computed as CombinedScaleFactor computes it. Same arguments and results as CombinedScaleFactor
// over an index of the list: the reference that shows what the index buys.
JoinResult CombinedScaleFactorByScan(const MarkList& list, const JoinSettings& settings,
                                     std::int32_t key1, std::int32_t key2);

}  // namespace modKestralMGA
