#include "geodesy/JoinCalculation.h"

#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "geodesy/Keys.h"
#include "geodesy/ScaleFactor.h"

namespace modKestralMGA {

namespace {

// The print columns of the five texts of a row.
constexpr std::array<int, kJoinListColumns> kJoinListPrintColumns = {1, 15, 30, 45, 60};

void WriteJoinListLine(const std::array<std::string_view, kJoinListColumns>& texts,
                       ColumnWriter& out) {
  for (std::size_t column = 0; column < texts.size(); ++column) {
    out.Field(kJoinListPrintColumns[column], texts[column]);
  }
  out.EndLine();
}

}  // namespace

JoinListRow CalculateJoin(JoinContext& context, std::string_view fromPsm, std::string_view toPsm) {
  const std::int32_t key1 = PsmKey(fromPsm);
  const std::int32_t key2 = PsmKey(toPsm);
  double bearing = 0.0;
  double distance = 0.0;
  double csf = 0.0;
  if (context.Settings.CalculationMode() == DistanceCalculationMode::Plane) {
    GridJoin(context, key1, key2, bearing, distance, csf);
  } else {
    CombinedScaleFactor(context, key1, key2, bearing, distance, csf);
    if (IsExactly(distance, kJoinOrderAboveLimit)) {
      GridJoin(context, key1, key2, bearing, distance, csf);
    }
  }
  return {FormatNumber(key1, kFormatKey), FormatNumber(key2, kFormatKey),
          FormatNumber(bearing, kFormatBearing), FormatNumber(distance, kFormatMetres),
          FormatNumber(csf, kFormatScaleFactor)};
}

std::optional<JoinListRow> PickMark(JoinContext& context, std::string& fromPsm,
                                    std::string_view pickedPsm) {
  std::optional<JoinListRow> row;
  if (!fromPsm.empty()) row = CalculateJoin(context, fromPsm, pickedPsm);
  fromPsm = pickedPsm;
  return row;
}

void WriteJoinList(const std::vector<JoinListRow>& rows, ColumnWriter& out) {
  out.EndLine();
  std::array<std::string_view, kJoinListColumns> texts;
  for (std::size_t column = 0; column < texts.size(); ++column) {
    texts[column] = kJoinListHeaders[column];
  }
  WriteJoinListLine(texts, out);
  for (const JoinListRow& row : rows) {
    for (std::size_t column = 0; column < texts.size(); ++column) texts[column] = row[column];
    WriteJoinListLine(texts, out);
  }
}

}  // namespace modKestralMGA
