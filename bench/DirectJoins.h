#pragma once

#include <cstdint>

#include "geodesy/JoinSettings.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// CombinedScaleFactor with the direct lookup: at every call every row of the list is read, its
// key made from its PSM No. by the PsmKey rule (a key beyond 32 bits matches nothing), both keys
// tested on every row and a later matching row overriding an earlier one; the join is then
// computed as CombinedScaleFactor computes it. Same arguments and results as CombinedScaleFactor
// over an index of the list: the reference that shows what the index buys.
void CombinedScaleFactorByScan(const MarkList& list, const JoinSettings& settings,
                               const std::int32_t& key1, const std::int32_t& key2, double& bearing,
                               double& distance, double& csf);

}  // namespace modKestralMGA
