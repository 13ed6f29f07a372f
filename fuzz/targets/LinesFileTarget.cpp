// Reading a plan's lines file as the Compare command does: a file that cannot be used ends the
// command with its messages; a file that is used gives one record per non-blank line, every value
// finite.
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Rounding.h"
#include "common/TextFile.h"
#include "compare/ComparePSMJoins.h"
#include "plan/LinesFile.h"

namespace modKestralMGA::fuzz {

int FuzzLinesFile(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteScratchFile("plan.lns", AsText(data, size));
  const std::string planIdentifier = ScratchFolder() + "/plan";

  Plan plan;
  KeptMessages messages;
  const bool read = ReadPlanForCompare(planIdentifier, plan, messages);
  if (!read) {
    Require(!messages.Empty(), "a lines file that ends the command says why");
    Require(messages.AllTitled(
                {kReadKestralFileErrorTitle, kLoadLinesErrorTitle, kValidKestralFileErrorTitle}),
            "every message is a lines file message");
    return 0;
  }
  Require(messages.Empty(), "a lines file read whole shows nothing");

  const TextFile file = ReadTextFile(path);
  std::size_t records = 0;
  LineSplitter lines(file.Bytes);
  std::string_view line;
  while (lines.Next(line)) {
    if (!IsBlankLine(line)) ++records;
  }
  Require(records > 0 && plan.PlanLines.size() == records, "one record per non-blank line");
  for (const PlanLine& record : plan.PlanLines) {
    Require(std::isfinite(record.Bearing) && std::isfinite(record.Distance),
            "every value read is finite");
    Require(record.InUse == (IsExactly(record.Bearing, 999.0) ? 0 : 1),
            "every record but those coded 999 is in use");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
