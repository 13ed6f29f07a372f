#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ColumnWriter.h"
#include "common/Seams.h"
#include "markjoins/MarkJoins.h"
#include "marks/MarkList.h"

namespace modKestralMGA {

// The join calculation: the surveyor picks PSM numbers one after another, and every pick after
// the first gives the join from the previous pick to the new one.

// The title of the join calculation's messages.
inline constexpr const char* kMgaJoinsErrorTitle = "MGA Joins error";

// The Calculate Joins command's refusal: a list of fewer than two rows (complete or not) shows
// "Not enough coordinates in list" under "MGA Joins error" (exclamation) and gives false.
bool CheckEnoughMarksForJoins(const MarkList& list, MessageSink& sink);

// The columns of a row of the join list.
inline constexpr int kJoinListColumns = 5;
inline constexpr std::array<const char*, kJoinListColumns> kJoinListHeaders = {
    "From", "To", "Bearing", "Distance", "Combined S. F."};

// The five cell texts of a row of the join list, in column order.
using JoinListRow = std::array<std::string, kJoinListColumns>;

// The join from the mark numbered fromPsm to the mark numbered toPsm, both keyed by PsmKey.
// With the Plane choice, the plane join (GridJoin); otherwise the combined-scale-factor join
// (CombinedScaleFactor on the ellipsoid of the choice, at the average height), falling back to
// the plane join with csf 1 when a mark's order is above "Compare up to Order". A join not
// computed (a mark missing from the list or without positive coordinates) gives 0.0000, 0.000
// and 0.00000000. Returns the row's cell texts: the keys with
// "#", the bearing (ddd.mmss) with "0.0000", the distance (metres) with "0.000", the csf with
// "0.00000000". Throws, before anything is computed, KestralError (HeightBeyondLimitText) when
// the average height lies beyond 100000 m, whatever the choice, and KeyTooLargeError when a
// number's key does not fit 32 bits (fromPsm's first).
JoinListRow CalculateJoin(JoinContext& context, std::string_view fromPsm, std::string_view toPsm);

// One pick of the walk from mark to mark: when fromPsm (the current from-mark) is not empty, the
// row of the join from it to pickedPsm; nothing for a first pick. Then pickedPsm becomes the
// from-mark of the next join. When the join throws (a key beyond 32 bits, a height beyond the
// limit) fromPsm is unchanged.
std::optional<JoinListRow> PickMark(JoinContext& context, std::string& fromPsm,
                                    std::string_view pickedPsm);

// The header row: "From", "To", "Bearing", "Distance", "Combined S. F.".
JoinListRow JoinListHeaderRow();

// The cells of a row joined by tabs, as the batch program writes a row.
std::string TabSeparatedRow(const JoinListRow& row);

// The heading of the printed join list, at column 1: "Joins between PSMs" with the date text at
// column 60, then the ellipsoid ("Ellipsoid: GRS80 (MGA94/2020)", "Ellipsoid: ANS (AMG84)" or
// "Plane coordinates (no ellipsoid)") and "Average Height: " with the average height's text.
void WriteJoinListHeading(const std::string& dateText, DistanceCalculationMode mode,
                          const std::string& averageHeightText, ColumnWriter& out);

// The printed join list: an empty line, then the header row and every join row, the five texts
// of a row at columns 1, 15, 30, 45 and 60, each row on a line of its own.
void WriteJoinList(const std::vector<JoinListRow>& rows, ColumnWriter& out);

}  // namespace modKestralMGA
