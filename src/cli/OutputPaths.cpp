#include "cli/OutputPaths.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "common/PathResolve.h"
#include "plan/CurveFile.h"
#include "plan/LinesFile.h"
#include "plan/landxml/LandXmlPlan.h"

namespace modKestralMGA {

namespace {

// A file a command names, with the option that names it.
struct NamedFile {
  const char* Option;
  std::string Path;
};

bool SameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  if (::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  }
  std::error_code error;
  const std::filesystem::path firstPath = std::filesystem::absolute(first, error);
  const std::filesystem::path secondPath = std::filesystem::absolute(second, error);
  return firstPath.lexically_normal() == secondPath.lexically_normal();
}

std::vector<NamedFile> MarkSourceFiles(const std::vector<MarkSource>& sources) {
  std::vector<NamedFile> files;
  for (const MarkSource& source : sources) {
    if (source.Path == kStandardStream) continue;
    files.push_back({source.SourceKind == MarkSource::Kind::MarkDetails ? "--marks" : "--import",
                     ResolvePath(source.Path)});
  }
  return files;
}

// Throws for the first output that is another output named before it, or an input.
void CheckFiles(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs) {
  for (auto output = outputs.begin(); output != outputs.end(); ++output) {
    for (auto earlier = outputs.begin(); earlier != output; ++earlier) {
      if (earlier->Path == output->Path ||
          (output->Path != kStandardStream && earlier->Path != kStandardStream &&
           SameFile(earlier->Path, output->Path))) {
        throw BadArguments(std::string(earlier->Option) + " and " + output->Option +
                           " name the same file");
      }
    }
    if (output->Path == kStandardStream) continue;
    for (const NamedFile& input : inputs) {
      if (SameFile(output->Path, input.Path)) {
        throw BadArguments(std::string(output->Option) + " and " + input.Option +
                           " name the same file");
      }
    }
  }
}

// Throws when two inputs read standard input: the first would leave nothing for the second.
void CheckStandardInputReadOnce(const std::vector<MarkSource>& sources,
                                const std::optional<std::string>& plansFrom) {
  const char* reader = nullptr;
  for (const MarkSource& source : sources) {
    if (source.Path != kStandardStream) continue;
    const char* option =
        source.SourceKind == MarkSource::Kind::MarkDetails ? "--marks" : "--import";
    if (reader != nullptr) {
      throw BadArguments(std::string(reader) + " and " + option + " both read standard input");
    }
    reader = option;
  }
  if (reader != nullptr && plansFrom == kStandardStream) {
    throw BadArguments(std::string(reader) + " and --plans-from both read standard input");
  }
}

}  // namespace

void CheckOutputsAreNotInputs(const CliArguments& arguments) {
  std::vector<NamedFile> outputs;
  std::vector<NamedFile> inputs;
  if (arguments.Which == CliArguments::Command::Compare ||
      arguments.Which == CliArguments::Command::Diagnose) {
    const CompareArguments& compare = arguments.Compare;
    if (compare.Report) outputs.push_back({"--report", *compare.Report});
    if (compare.Pdf) outputs.push_back({"--pdf", *compare.Pdf});
    if (compare.Map.GeoJson) outputs.push_back({"--geojson", *compare.Map.GeoJson});
    inputs = MarkSourceFiles(compare.MarkSources);
    const std::string plan = PlanIdentifierFromName(compare.Plan);
    inputs.push_back({"--plan", ResolvePath(LinesFileName(plan))});
    inputs.push_back({"--plan", ResolvePath(CurveFileName(plan))});
    if (IsLandXmlPlan(plan)) inputs.push_back({"--plan", ResolvePath(plan)});
  } else if (arguments.Which == CliArguments::Command::Convert) {
    const std::string plan = PlanIdentifierFromName(arguments.Convert.Plan);
    outputs.push_back({"--to", arguments.Convert.To});
    inputs.push_back({"--plan", ResolvePath(LinesFileName(plan))});
    inputs.push_back({"--plan", ResolvePath(CurveFileName(plan))});
    if (IsLandXmlPlan(plan)) inputs.push_back({"--plan", ResolvePath(plan)});
  } else if (arguments.Which == CliArguments::Command::Joins) {
    if (arguments.Joins.Map.GeoJson) outputs.push_back({"--geojson", *arguments.Joins.Map.GeoJson});
    inputs = MarkSourceFiles(arguments.Joins.MarkSources);
  } else if (arguments.Which == CliArguments::Command::Save) {
    outputs.push_back({"--out", arguments.Save.Out});
    inputs = MarkSourceFiles(arguments.Save.MarkSources);
  }
  CheckFiles(outputs, inputs);
  CheckStandardInputReadOnce(arguments.Compare.MarkSources, std::nullopt);
  CheckStandardInputReadOnce(arguments.Joins.MarkSources, std::nullopt);
  CheckStandardInputReadOnce(arguments.Save.MarkSources, std::nullopt);
  CheckStandardInputReadOnce(arguments.Batch.MarkSources, arguments.Batch.PlansFrom);
}

}  // namespace modKestralMGA
