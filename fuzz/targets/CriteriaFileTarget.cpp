// Reading a user's criteria file: any text is either refused with a FileError or gives criteria
// after the shipped five whose values the file's rules allow and whose allowances are finite for
// any positive join.
#include <cmath>
#include <set>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "common/Errors.h"
#include "compare/CriteriaFile.h"

namespace modKestralMGA::fuzz {

int FuzzCriteriaFile(const std::uint8_t* data, std::size_t size) {
  const CriteriaTable& shipped = BuiltInCriteria();
  CriteriaTable table;
  try {
    table = AddCriteriaText(shipped, AsText(data, size), "fuzz.json", true);
  } catch (const FileError& refused) {
    Require(std::string(refused.what()).starts_with("Criteria file fuzz.json"),
            "a refusal names the file");
    return 0;
  }
  Require(table.All().size() >= shipped.All().size(), "the shipped criteria stay");
  std::set<std::string> names;
  for (std::size_t i = 0; i < table.All().size(); ++i) {
    const AccuracyCriterion& criterion = table.All()[i];
    Require(names.insert(criterion.Name).second && !criterion.Name.empty(),
            "names are unique and not empty");
    Require(criterion.UserDefined == (i >= shipped.All().size()), "the file's criteria are marked");
    Require(criterion.Subtended > 0.0 && criterion.SecondsPerRadian > 0.0 &&
                criterion.FixedSeconds >= 0.0 && criterion.FixedMetres > 0.0 &&
                criterion.LengthDivisor >= 0.0,
            "values within the file's rules");
    for (const double distance : {1e-9, 1.0, 1413.962, 1e7}) {
      Require(std::isfinite(criterion.BearingAllowance(distance)) ||
                  criterion.SecondsPerRadian > 1e300 || criterion.FixedSeconds > 1e300,
              "a bearing allowance is finite");
      Require(criterion.DistanceAllowance(distance) > 0.0, "a distance allowance is positive");
    }
    Require(!criterion.BearingFormula().empty() && !criterion.DistanceFormula().empty(),
            "both formulas are written");
  }
  return 0;
}

}  // namespace modKestralMGA::fuzz
