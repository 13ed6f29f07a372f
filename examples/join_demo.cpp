// Computes the MGA join between two marks near Adelaide and prints it with the program's
// formats: the worked example of the combined scale factor.
#include <cstdio>
#include <string>

#include "common/NumberFormat.h"
#include "geodesy/Keys.h"
#include "markjoins/MarkJoins.h"
#include "marks/MarkList.h"

using namespace modKestralMGA;

namespace {

void PrintJoin(const char* label, JoinContext& context, std::int32_t key1, std::int32_t key2) {
  const JoinResult join = CombinedScaleFactor(context, key1, key2);
  std::string line = std::string(label) + "  bearing " +
                     FormatNumber(join.Bearing, kFormatBearing) + "  distance " +
                     FormatNumber(ShownDistance(join), kFormatMetres) + " m  csf " +
                     FormatNumber(join.Csf, kFormatScaleFactor) + "\n";
  std::fputs(line.c_str(), stdout);
}

}  // namespace

int main() {
  MarkList marks;
  marks.AppendRow({"6628/1001", "280000.000", "6130000.000", "100.000", "1", "54", "GDA2020", ""});
  marks.AppendRow({"6628/1002", "281000.000", "6131000.000", "100.000", "1", "54", "GDA2020", ""});
  MarkIndex index(marks);

  std::fputs("Join 6628/1001 to 6628/1002, average height 100.000 m\n", stdout);
  FixedJoinSettings mga("5", "100.000", DistanceCalculationMode::MGA94_2020);
  JoinContext onGrs80{index, mga};
  PrintJoin("MGA94/2020 (GRS80):", onGrs80, PsmKey("6628/1001"), PsmKey("6628/1002"));
  FixedJoinSettings amg("5", "100.000", DistanceCalculationMode::AMG84);
  JoinContext onAns{index, amg};
  PrintJoin("AMG84 (ANS):       ", onAns, PsmKey("6628/1001"), PsmKey("6628/1002"));
  return 0;
}
