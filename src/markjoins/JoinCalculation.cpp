#include "markjoins/JoinCalculation.h"

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "geodesy/Keys.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

namespace {

// The print columns of the five texts of a row.
constexpr std::array<int, kJoinListColumns> kJoinListPrintColumns = {1, 15, 30, 45, 60};

void WriteJoinListLine(const JoinListRow& row, ColumnWriter& out) {
  for (std::size_t column = 0; column < row.size(); ++column) {
    out.Field(kJoinListPrintColumns[column], row[column]);
  }
  out.EndLine();
}

}  // namespace

bool CheckEnoughMarksForJoins(const MarkList& list, MessageSink& sink) {
  if (list.RowCount() >= 2) return true;
  sink.Message("Not enough coordinates in list", kMgaJoinsErrorTitle, MessageIcon::Exclamation);
  return false;
}

JoinListRow CalculateJoin(JoinContext& context, std::string_view fromPsm, std::string_view toPsm) {
  const std::string height = context.Settings.AverageHeightText();
  if (!HeightWithinLimit(height)) throw KestralError(HeightBeyondLimitText(height));
  const std::int32_t key1 = PsmKey(fromPsm);
  const std::int32_t key2 = PsmKey(toPsm);
  const JoinResult join = context.Settings.CalculationMode() == DistanceCalculationMode::Plane
                              ? GridJoin(context, key1, key2)
                              : CombinedScaleFactor(context, key1, key2, OrderLimitRule::PlaneJoin);
  return {FormatNumber(key1, kFormatKey), FormatNumber(key2, kFormatKey),
          FormatNumber(join.Bearing, kFormatBearing),
          FormatNumber(ShownDistance(join), kFormatMetres),
          FormatNumber(join.Csf, kFormatScaleFactor)};
}

std::optional<JoinListRow> PickMark(JoinContext& context, std::string& fromPsm,
                                    std::string_view pickedPsm) {
  std::optional<JoinListRow> row;
  if (!fromPsm.empty()) row = CalculateJoin(context, fromPsm, pickedPsm);
  fromPsm = pickedPsm;
  return row;
}

JoinListRow JoinListHeaderRow() {
  JoinListRow header;
  for (std::size_t column = 0; column < header.size(); ++column) {
    header[column] = kJoinListHeaders[column];
  }
  return header;
}

std::string TabSeparatedRow(const JoinListRow& row) {
  std::string line = row.front();
  for (std::size_t column = 1; column < row.size(); ++column) line += '\t' + row[column];
  return line;
}

void WriteJoinListHeading(const std::string& dateText, DistanceCalculationMode mode,
                          const std::string& averageHeightText, ColumnWriter& out) {
  out.Field(1, "Joins between PSMs");
  out.Field(kJoinListPrintColumns.back(), dateText);
  out.EndLine();
  switch (mode) {
    case DistanceCalculationMode::MGA94_2020:
      out.Field(1, "Ellipsoid: GRS80 (MGA94/2020)");
      break;
    case DistanceCalculationMode::AMG84:
      out.Field(1, "Ellipsoid: ANS (AMG84)");
      break;
    case DistanceCalculationMode::Plane:
      out.Field(1, "Plane coordinates (no ellipsoid)");
      break;
  }
  out.EndLine();
  out.Field(1, "Average Height: " + averageHeightText);
  out.EndLine();
}

void WriteJoinList(const std::vector<JoinListRow>& rows, ColumnWriter& out) {
  out.EndLine();
  WriteJoinListLine(JoinListHeaderRow(), out);
  for (const JoinListRow& row : rows) WriteJoinListLine(row, out);
}

}  // namespace modKestralMGA
