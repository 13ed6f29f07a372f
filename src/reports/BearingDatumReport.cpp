#include "reports/BearingDatumReport.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "common/NumberFormat.h"
#include "compare/JoinJudgement.h"
#include "geodesy/Keys.h"

namespace modKestralMGA {

namespace {

constexpr int kToColumn = 15;
constexpr int kBearingColumn = 30;
constexpr int kDistanceColumn = 45;
constexpr int kSourceColumn = 60;

// One version of the datum line: the two datum texts, bearing (ddd.mmss) and distance (metres),
// then the source ("(KESTRAL)" or "(MGA)").
void WriteDatumLine(const std::string& datum1, const std::string& datum2, double bearing,
                    double distance, const char* source, ColumnWriter& out) {
  out.Field(1, datum1);
  out.Field(kToColumn, datum2);
  out.Field(kBearingColumn, FormatNumber(bearing, kFormatBearing));
  out.Field(kDistanceColumn, FormatNumber(distance, kFormatMetres));
  out.Field(kSourceColumn, source);
  out.EndLine();
}

}  // namespace

void BearingDatumReport(const Plan& plan, JoinContext& context, const CompareSettings& settings,
                        ColumnWriter& out, MessageSink& sink) {
  const std::string datum1 = settings.Datum1Text();
  const std::string datum2 = settings.Datum2Text();
  if (datum1.empty() || datum2.empty()) return;
  const std::int32_t key1 = PsmKey(datum1);
  const std::int32_t key2 = PsmKey(datum2);

  // Every entry in use is looked at; the last match of each key wins.
  const PlanPoint* pointA = nullptr;
  const PlanPoint* pointB = nullptr;
  int matches = 0;
  const std::int64_t last =
      std::min<std::int64_t>(plan.PlanPointCount, std::ssize(plan.PlanPoints) - 1);
  for (std::int64_t i = 0; i <= last; ++i) {
    const PlanPoint& point = plan.PlanPoints[static_cast<std::size_t>(i)];
    if (point.PointNo == key1) {
      pointA = &point;
      ++matches;
    }
    if (point.PointNo == key2) {
      pointB = &point;
      ++matches;
    }
  }
  if (matches != 2) {
    sink.Message(kDatumNotInPlanText, kDatumNotInPlanTitle, MessageIcon::Exclamation);
    return;
  }

  out.EndLine();
  out.Field(1, "BEARING DATUM");
  out.Field(kBearingColumn, "Bearing");
  out.Field(kDistanceColumn, "Distance");
  out.EndLine();
  if (pointA->Solved == 0 || pointB->Solved == 0) {
    out.Field(1, datum1);
    out.Field(kToColumn, datum2);
    out.Field(kBearingColumn, VerdictText(JoinVerdict::PlanNotAvailable));
    out.EndLine();
  } else {
    double planBearing = 0.0;
    double planDistance = 0.0;
    PlanJoin(*pointA, *pointB, planBearing, planDistance);
    WriteDatumLine(datum1, datum2, planBearing, planDistance, "(KESTRAL)", out);
  }

  const JoinResult join = CombinedScaleFactor(context, key1, key2, OrderLimitRule::PlaneJoin);
  WriteDatumLine(datum1, datum2, join.Bearing, ShownDistance(join), "(MGA)", out);
  out.Text("Combined Scale Factor = ");
  out.Text(FormatNumber(join.Csf, kFormatScaleFactor));
  out.EndLine();
  out.EndLine();
}

}  // namespace modKestralMGA
