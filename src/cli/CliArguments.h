#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "compare/AccuracyCriteria.h"
#include "geodesy/JoinSettings.h"

namespace modKestralMGA {

// The program's name as its messages begin: "kestralmga-cli: " + reason.
inline constexpr const char* kCliName = "kestralmga-cli";
// The file name that stands for standard output (--out, --report, --pdf) or standard input
// (--marks, --import).
inline constexpr const char* kStandardStream = "-";
// How standard input is named in messages when a mark list option reads it.
inline constexpr const char* kStandardInputName = "standard input";

// Arguments the batch program cannot run with; what() is the reason.
class BadArguments : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The five column numbers of a delimited text import, as texts in the order Point, East, North,
// Height, Zone (each read by the numeric value rule, 0 = not taken).
using ImportColumns = std::array<std::string, 5>;
// The column numbers before any --columns: the import window's initial boxes.
inline const ImportColumns kInitialImportColumns = {"1", "2", "3", "0", "0"};

// How a command writes its results on standard output: the text lines (the default), comma
// separated values with one header line, or JSON.
enum class OutputFormat { Text, Csv, Json };

// One mark list option, applied in the order given.
struct MarkSource {
  enum class Kind { MarkDetails, DelimitedText };
  Kind SourceKind = Kind::MarkDetails;
  std::string Path;           // as given on the command line
  ImportColumns Columns;      // for DelimitedText: the column numbers it takes
  bool DecimalComma = false;  // for DelimitedText: --decimal-comma given
};

// --geojson FILE with the zone (--zone) and geodetic datum (--mark-datum) it takes for marks whose
// cells are empty (empty when not given).
struct MapOutput {
  std::optional<std::string> GeoJson;
  std::string Zone;
  std::string Datum;
};

// The arguments of the compare command; defaults as the main window starts.
struct CompareArguments {
  std::vector<MarkSource> MarkSources;
  std::string Plan;  // a plan identifier or a .lns file name
  std::string Criterion{BuiltInCriteria().First().Name};
  std::optional<std::string> CriteriaFile;  // --criteria FILE: a user's criteria added
  std::string MaxOrder = "5";
  // "2 PSM's" with its From and To texts; nothing for "None of the above" or "Tertiary Network".
  std::optional<std::pair<std::string, std::string>> Datum;
  bool Tertiary = false;     // "Tertiary Network"
  bool FullDetails = false;  // --full-details given
  bool FullJoins = false;    // --full-joins given
  bool NoPsmList = false;    // --no-psm-list given
  bool Diagnosis = false;    // --diagnosis given
  bool AllowMixed = false;   // --allow-mixed: compare marks of several datums or zones
  DistanceCalculationMode Ellipsoid = DistanceCalculationMode::MGA94_2020;
  std::optional<std::string> Report;         // --report FILE
  std::optional<std::string> Pdf;            // --pdf FILE
  OutputFormat Format = OutputFormat::Text;  // --format
  MapOutput Map;
  std::optional<std::string> Diagram;  // --diagram FILE (.svg or .png)
  int DiagramWidth = 1600;             // --diagram-size WIDTHxHEIGHT, pixels
  int DiagramHeight = 1200;
  std::optional<double> Exaggeration;  // --exaggeration: the residual arrows' factor
  bool PrintDiagram = false;           // --print-diagram given

  // "Show full join details": ticked by "Tertiary Network" or --full-details ("2 PSM's" clears
  // it first, so it cannot untick what --full-details ticks).
  bool ShowFullDetails() const { return Tertiary || FullDetails; }
  // "Print full join details" of the results window, by the same rules.
  bool PrintFullJoins() const { return Tertiary || FullJoins; }
};

// The arguments of the joins command: the join calculation window's walk from mark to mark.
struct JoinsArguments {
  std::vector<MarkSource> MarkSources;
  DistanceCalculationMode Ellipsoid = DistanceCalculationMode::MGA94_2020;
  std::string MaxOrder = "5";
  // --height; without it, the average height the command writes from the list.
  std::optional<std::string> Height;
  std::vector<std::string> Picks;            // the PSM numbers in the order picked, at least two
  OutputFormat Format = OutputFormat::Text;  // --format
  MapOutput Map;
};

// The arguments of the save command.
struct SaveArguments {
  std::vector<MarkSource> MarkSources;
  std::string Out;  // --out FILE, as given
};

// The arguments of the batch command: many plans compared against one mark list.
struct BatchArguments {
  std::vector<MarkSource> MarkSources;
  // Plan identifiers, .lns files and folders (searched, with their subfolders, for .lns files),
  // in the order given.
  std::vector<std::string> Plans;
  std::optional<std::string> PlansFrom;  // --plans-from FILE: one plan a line
  // The settings of every comparison: criterion, order limit and ellipsoid (Plan unused).
  CompareArguments Settings;
  unsigned Jobs = 0;  // --jobs; 0: one thread a core of the machine
  OutputFormat Format = OutputFormat::Text;
  std::optional<std::string> Reports;  // --reports DIR
};

// The arguments of the convert command.
struct ConvertArguments {
  std::string Plan;  // --plan P: a plan identifier, .lns file or LandXML file, as given
  std::string To;    // --to FILE: the LandXML file to write (- writes standard output)
};

// What the command line asks for.
struct CliArguments {
  enum class Command { Compare, Diagnose, Joins, Save, Batch, Help, Version, Convert };
  Command Which = Command::Help;
  std::string Text;          // for Help and Version: what goes to standard output
  CompareArguments Compare;  // for Compare and Diagnose
  JoinsArguments Joins;
  SaveArguments Save;
  BatchArguments Batch;
  ConvertArguments Convert;
};

// Reads the command line (without the program's name). --help gives the usage of every command
// (after a command, that command's usage), --version "KestralMGA " and the program's version.
// Throws BadArguments with the reason for no command, an unknown command or option, a missing or
// surplus value, an option value outside its choices, compare or diagnose without --plan or with
// an empty one, a plan named - (compare, diagnose or batch: a plan is two files), --datum together
// with --tertiary, --diagram without ".svg" or ".png", --diagram-size other than WIDTHxHEIGHT of
// 100 to 20000 pixels each, --exaggeration not above 0, --columns without five comma-separated
// column numbers, joins with fewer than two PSM numbers, save without --out or with an empty one,
// batch without a plan or --plans-from, --jobs below 1, --zone or --mark-datum without --geojson,
// --geojson with --ellipsoid amg, and convert without --plan or --to or with an empty one.
CliArguments ParseCliArguments(const std::vector<std::string>& args);

}  // namespace modKestralMGA
