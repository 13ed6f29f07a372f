#include "DirectJoins.h"

#include <optional>

#include "geodesy/Keys.h"
#include "markjoins/MarkJoins.h"

namespace modKestralMGA {

JoinResult CombinedScaleFactorByScan(const MarkList& list, const JoinSettings& settings,
                                     std::int32_t key1, std::int32_t key2) {
  std::optional<std::size_t> from;
  std::optional<std::size_t> to;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    const std::optional<std::int32_t> key = TryPsmKey(list.Cell(row, kColPsmNo));
    if (!key) continue;
    if (*key == key1) from = row;
    if (*key == key2) to = row;
  }
  // The rows found (a missing mark as a row without coordinates, which count as 0), keyed 1 and
  // 2 in a list of their own, joined as the indexed routine joins them.
  MarkList found;
  found.AppendRow(from ? list.Row(*from).Owned() : MarkRow{});
  found.AppendRow(to ? list.Row(*to).Owned() : MarkRow{});
  found.SetCell(0, kColPsmNo, "1");
  found.SetCell(1, kColPsmNo, "2");
  MarkIndex index(found);
  JoinContext context{index, settings};
  return CombinedScaleFactor(context, 1, 2);
}

}  // namespace modKestralMGA
