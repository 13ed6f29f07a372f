#include "cli/CliArguments.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

#include "common/NumericValue.h"
#include "common/Version.h"
#include "reports/DiagramFormat.h"

namespace modKestralMGA {

namespace {

// Splits "P,E,N,H,Z" into the five column numbers; BadArguments unless there are exactly five,
// each holding a digit.
ImportColumns ReadImportColumns(const std::string& text) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  const auto hasDigit = [](const std::string& part) {
    return std::any_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  ImportColumns columns;
  if (parts.size() != columns.size() || !std::all_of(parts.begin(), parts.end(), hasDigit)) {
    throw BadArguments("--columns needs five column numbers P,E,N,H,Z: " + text);
  }
  std::copy(parts.begin(), parts.end(), columns.begin());
  return columns;
}

// A plan identifier names two files, the lines file and the curve file: standard input cannot
// stand for it.
constexpr const char* kPlanNotAStream =
    "a plan names its lines and curve files: it cannot be - (standard input)";
// The option's single value when it was given.
std::optional<std::string> ValueOf(const CLI::Option* option) {
  if (option->count() == 0) return std::nullopt;
  return option->results().front();
}

// A number of the command line, read strictly: BadArguments with reason when it is not wholly a
// number.
double StrictNumber(const std::string& text, const std::string& reason) {
  const NumberReading reading = ReadStrictNumber(text);
  if (text.empty() || reading.Status != NumberStatus::Ok) throw BadArguments(reason + ": " + text);
  return reading.Value;
}

// The diagram's options: --diagram FILE, --diagram-size WIDTHxHEIGHT, --exaggeration N and
// --print-diagram, written into arguments.
struct DiagramOptions {
  CLI::Option* File = nullptr;
  CLI::Option* Size = nullptr;
  CLI::Option* Exaggeration = nullptr;
  bool Print = false;

  void Add(CLI::App& command) {
    File = command
               .add_option("--diagram",
                           "Draw the join diagram into FILE: SVG (.svg) or PNG (.png), as the "
                           "results window's Save diagram... does")
               ->type_name("FILE");
    Size =
        command.add_option("--diagram-size", "Size of the --diagram picture (default 1600x1200)")
            ->type_name("WIDTHxHEIGHT");
    Exaggeration =
        command
            .add_option("--exaggeration",
                        "Draw the residual arrows N times their length (default: the largest a "
                        "tenth of the plan's size, rounded down to 1, 2 or 5 times a power of ten)")
            ->type_name("N");
    command.add_flag("--print-diagram", Print,
                     "End the --pdf report with the join diagram on a page of its own");
  }

  void Read(CompareArguments& arguments) const {
    arguments.Diagram = ValueOf(File);
    if (arguments.Diagram && !DiagramFormatOf(*arguments.Diagram)) {
      throw BadArguments("--diagram needs a file name ending .svg or .png: " + *arguments.Diagram);
    }
    if (const auto size = ValueOf(Size)) {
      const std::size_t x = size->find_first_of("xX");
      const std::string reason = "--diagram-size needs WIDTHxHEIGHT, 100 to 20000 pixels each";
      if (x == std::string::npos) throw BadArguments(reason + ": " + *size);
      const double width = StrictNumber(size->substr(0, x), reason);
      const double height = StrictNumber(size->substr(x + 1), reason);
      const auto fits = [](double pixels) {
        return pixels >= 100 && pixels <= 20000 && std::floor(pixels) >= pixels;
      };
      if (!fits(width) || !fits(height)) throw BadArguments(reason + ": " + *size);
      arguments.DiagramWidth = static_cast<int>(width);
      arguments.DiagramHeight = static_cast<int>(height);
    }
    if (const auto factor = ValueOf(Exaggeration)) {
      const std::string reason = "--exaggeration needs a number above 0";
      arguments.Exaggeration = StrictNumber(*factor, reason);
      if (!(*arguments.Exaggeration > 0.0)) throw BadArguments(reason + ": " + *factor);
    }
    arguments.PrintDiagram = Print;
  }
};

// The mark list options, shared by the commands that read a mark list.
struct MarkListOptions {
  CLI::Option* Marks;
  CLI::Option* Imports;
  CLI::Option* Columns;
  CLI::Option* DecimalComma;
};

// The mark list options of a command, in the order given: each --import takes the numbers of the
// --columns that follows it (before the next --marks or --import), or else the numbers given
// last before it.
std::vector<MarkSource> MarkSourcesInOrder(const CLI::App& command,
                                           const MarkListOptions& options) {
  const CLI::Option* marks = options.Marks;
  const CLI::Option* imports = options.Imports;
  const CLI::Option* columns = options.Columns;
  const bool decimalComma = options.DecimalComma->count() > 0;
  std::vector<MarkSource> sources;
  ImportColumns lastColumns = kInitialImportColumns;
  std::size_t nextMarks = 0;
  std::size_t nextImport = 0;
  std::size_t nextColumns = 0;
  bool importAwaitsColumns = false;
  for (const CLI::Option* option : command.parse_order()) {
    if (option == marks) {
      sources.push_back({MarkSource::Kind::MarkDetails, marks->results()[nextMarks++], {}, false});
      importAwaitsColumns = false;
    } else if (option == imports) {
      sources.push_back({MarkSource::Kind::DelimitedText, imports->results()[nextImport++],
                         lastColumns, decimalComma});
      importAwaitsColumns = true;
    } else if (option == columns) {
      lastColumns = ReadImportColumns(columns->results()[nextColumns++]);
      if (importAwaitsColumns) sources.back().Columns = lastColumns;
      importAwaitsColumns = false;
    }
  }
  return sources;
}

MarkListOptions AddMarkListOptions(CLI::App& command) {
  MarkListOptions options{};
  options.Marks =
      command
          .add_option(
              "--marks",
              "Open a Mark Details or screen dump file into the mark list, or add the marks of a "
              "LandXML .xml file (- reads "
              "standard input)")
          ->type_name("FILE")
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  options.Imports =
      command
          .add_option("--import",
                      "Import the points of a delimited text file into the mark list (- reads "
                      "standard input)")
          ->type_name("FILE")
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  options.Columns = command
                        .add_option("--columns",
                                    "Column numbers of point, east, north, height and zone for "
                                    "--import (0 = not taken; at first 1,2,3,0,0)")
                        ->type_name("P,E,N,H,Z")
                        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  options.DecimalComma =
      command.add_flag("--decimal-comma")
          ->description(
              "--import reads a comma between two digits as the decimal mark (282840,660)");
  return options;
}

// The accuracy criterion of the comparing commands.
CLI::Option* AddCriterionOption(CLI::App& command) {
  return command.add_option("--criterion")
      ->description("Accuracy criterion (default \"" + BuiltInCriteria().First().Name + "\")")
      ->type_name("TEXT");
}

// A user's criteria file, and the leave to compare marks of more than one datum or zone.
std::pair<CLI::Option*, CLI::Option*> AddCriteriaAndMixedOptions(CLI::App& command) {
  CLI::Option* file = command
                          .add_option("--criteria",
                                      "Add the accuracy criteria of the JSON file FILE (the form "
                                      "of the shipped criteria.json) to the shipped ones")
                          ->type_name("FILE");
  CLI::Option* mixed =
      command.add_flag("--allow-mixed")
          ->description(
              "Compare also when the plan's marks lie on more than one datum or in more than one "
              "zone");
  return {file, mixed};
}

// "Compare up to Order", shared by the commands whose joins have an order limit.
CLI::Option* AddMaxOrderOption(CLI::App& command) {
  return command.add_option("--max-order", "Compare up to Order (default 5)")->type_name("TEXT");
}

// The program-wide ellipsoid choice of the join calculation window.
CLI::Option* AddEllipsoidOption(CLI::App& command) {
  return command
      .add_option("--ellipsoid",
                  "Datum of the join calculation: mga (MGA94/2020, GRS80, default), amg "
                  "(AMG84, Australian National Spheroid) or plane (plane joins; GRS80 for the "
                  "comparison)")
      ->type_name("mga|amg|plane")
      ->check(CLI::IsMember({"mga", "amg", "plane"}).description(""));
}

// --format with its choices (text first, the default) and the description of what each writes.
CLI::Option* AddFormatOption(CLI::App& command, std::string& format,
                             const std::vector<std::string>& choices,
                             const std::string& description) {
  std::string typeName;
  for (const std::string& choice : choices) typeName += (typeName.empty() ? "" : "|") + choice;
  return command.add_option("--format", format, description)
      ->type_name(typeName)
      ->check(CLI::IsMember(choices).description(""));
}

OutputFormat FormatOf(const std::string& format) {
  return format == "csv"    ? OutputFormat::Csv
         : format == "json" ? OutputFormat::Json
                            : OutputFormat::Text;
}

DistanceCalculationMode EllipsoidOf(const CLI::Option* option) {
  const std::optional<std::string> name = ValueOf(option);
  return name == "amg"     ? DistanceCalculationMode::AMG84
         : name == "plane" ? DistanceCalculationMode::Plane
                           : DistanceCalculationMode::MGA94_2020;
}

// --geojson and the zone and datum it takes for marks whose cells are empty, shared by the
// commands that compute joins between listed marks.
struct MapOptions {
  CLI::Option* GeoJson;
  CLI::Option* Zone;
  CLI::Option* Datum;
};

MapOptions AddMapOptions(CLI::App& command, const std::string& inPlaceOf) {
  MapOptions options{};
  options.GeoJson = command.add_option("--geojson")
                        ->description(
                            "Write the marks as points and the joins as lines, in "
                            "longitude and latitude, to the GeoJSON file FILE (- "
                            "writes it to standard output in place of " +
                            inPlaceOf + "); QGIS opens it as two layers, marks and joins")
                        ->type_name("FILE");
  options.Zone = command
                     .add_option("--zone",
                                 "MGA zone of the marks whose Zone cell is empty, "
                                 "for --geojson")
                     ->type_name("ZONE")
                     ->needs(options.GeoJson);
  options.Datum =
      command
          .add_option("--mark-datum",
                      "Datum of the marks whose Datum cell is empty, for --geojson (default "
                      "GDA2020)")
          ->type_name("GDA2020|GDA94")
          ->check(CLI::IsMember({"GDA2020", "GDA94"}, CLI::ignore_case).description(""))
          ->needs(options.GeoJson);
  return options;
}

// The --geojson options as given; BadArguments for --geojson with --ellipsoid amg, whose
// coordinates are not on GDA2020 or GDA94.
MapOutput ReadMapOptions(const MapOptions& options, DistanceCalculationMode ellipsoid) {
  MapOutput map;
  map.GeoJson = ValueOf(options.GeoJson);
  map.Zone = ValueOf(options.Zone).value_or("");
  map.Datum = ValueOf(options.Datum).value_or("");
  if (map.GeoJson && map.GeoJson->empty()) throw BadArguments("--geojson needs a file name");
  if (map.GeoJson && ellipsoid == DistanceCalculationMode::AMG84) {
    throw BadArguments(
        "--geojson places MGA coordinates of GDA2020 or GDA94: not with "
        "--ellipsoid amg");
  }
  return map;
}

// The compare command, and the diagnose command that takes its options: the options added to the
// command line, and the arguments read from them once the line is parsed.
class CompareOptions {
 public:
  CompareOptions(CLI::App& app, const std::string& name, const std::string& description,
                 const std::vector<std::string>& formats, const std::string& formatDescription,
                 bool withDiagram = false)
      : m_command(app.add_subcommand(name, description)),
        m_markList(AddMarkListOptions(*m_command)),
        m_withDiagram(withDiagram) {
    m_plan = m_command->add_option("--plan", "Plan identifier, or the plan's .lns file")
                 ->type_name("PLAN")
                 ->required();
    m_criterion = AddCriterionOption(*m_command);
    m_criteriaAndMixed = AddCriteriaAndMixedOptions(*m_command);
    m_maxOrder = AddMaxOrderOption(*m_command);
    m_datum = m_command->add_option("--datum", "Bearing datum derived from 2 PSM's: From and To")
                  ->type_name("PSM")
                  ->expected(2);
    CLI::Option* tertiary = m_command->add_flag(
        "--tertiary", m_tertiary,
        "Bearing datum derived from the Tertiary Network (ticks both full join details boxes)");
    m_datum->excludes(tertiary);
    m_command->add_flag("--full-details", m_fullDetails, "Show full join details");
    m_ellipsoid = AddEllipsoidOption(*m_command);
    m_report =
        m_command
            ->add_option("--report",
                         "Save the joins report to FILE (- writes it to standard output in place "
                         "of the result lines)")
            ->type_name("FILE");
    m_pdf = m_command
                ->add_option("--pdf",
                             "Print the joins report to the PDF file FILE (- writes it to "
                             "standard output in place of the result lines)")
                ->type_name("FILE");
    m_command->add_flag("--no-psm-list", m_noPsmList, "Leave the PSM list out of the report");
    m_command->add_flag("--full-joins", m_fullJoins, "Print full join details in the report");
    m_command->add_flag("--diagnosis", m_diagnosis,
                        "End the report with the diagnosis of its joins");
    AddFormatOption(*m_command, m_format, formats, formatDescription);
    m_map = AddMapOptions(*m_command, "the results");
    if (m_withDiagram) m_diagram.Add(*m_command);
  }
  CompareOptions(const CompareOptions&) = delete;
  CompareOptions& operator=(const CompareOptions&) = delete;

  const CLI::App& Command() const { return *m_command; }
  CLI::App& Command() { return *m_command; }

  CompareArguments Read() const {
    CompareArguments arguments;
    arguments.MarkSources = MarkSourcesInOrder(*m_command, m_markList);
    arguments.Plan = m_plan->results().front();
    if (arguments.Plan.empty()) throw BadArguments("--plan needs a plan identifier or .lns file");
    if (arguments.Plan == kStandardStream) throw BadArguments(kPlanNotAStream);
    arguments.Criterion = ValueOf(m_criterion).value_or(arguments.Criterion);
    arguments.CriteriaFile = ValueOf(m_criteriaAndMixed.first);
    arguments.AllowMixed = m_criteriaAndMixed.second->count() > 0;
    arguments.MaxOrder = ValueOf(m_maxOrder).value_or(arguments.MaxOrder);
    if (m_datum->count() > 0) {
      arguments.Datum = std::make_pair(m_datum->results()[0], m_datum->results()[1]);
    }
    arguments.Tertiary = m_tertiary;
    arguments.FullDetails = m_fullDetails;
    arguments.FullJoins = m_fullJoins;
    arguments.NoPsmList = m_noPsmList;
    arguments.Diagnosis = m_diagnosis;
    arguments.Ellipsoid = EllipsoidOf(m_ellipsoid);
    arguments.Report = ValueOf(m_report);
    arguments.Pdf = ValueOf(m_pdf);
    arguments.Format = FormatOf(m_format);
    arguments.Map = ReadMapOptions(m_map, arguments.Ellipsoid);
    if (m_withDiagram) m_diagram.Read(arguments);
    return arguments;
  }

 private:
  CLI::App* m_command;
  MarkListOptions m_markList;
  MapOptions m_map{};
  bool m_withDiagram;
  DiagramOptions m_diagram;
  CLI::Option* m_plan = nullptr;
  CLI::Option* m_criterion = nullptr;
  std::pair<CLI::Option*, CLI::Option*> m_criteriaAndMixed;
  CLI::Option* m_maxOrder = nullptr;
  CLI::Option* m_datum = nullptr;
  CLI::Option* m_ellipsoid = nullptr;
  CLI::Option* m_report = nullptr;
  CLI::Option* m_pdf = nullptr;
  bool m_tertiary = false;
  bool m_fullDetails = false;
  bool m_noPsmList = false;
  bool m_fullJoins = false;
  bool m_diagnosis = false;
  std::string m_format = "text";
};

// The joins command: the PSM numbers picked in turn, with the settings the joins read.
class JoinsOptions {
 public:
  explicit JoinsOptions(CLI::App& app)
      : m_command(app.add_subcommand("joins",
                                     "Calculate the joins between PSMs picked in turn, as the join "
                                     "calculation window does")),
        m_markList(AddMarkListOptions(*m_command)),
        m_ellipsoid(AddEllipsoidOption(*m_command)),
        m_maxOrder(AddMaxOrderOption(*m_command)) {
    m_height = m_command
                   ->add_option("--height",
                                "Average Height (default: the mean height of the list, as "
                                "Calculate Joins writes it)")
                   ->type_name("TEXT");
    m_picks = m_command
                  ->add_option("PSM", m_pickedNumbers,
                               "PSM numbers picked in turn: each after the first adds the join "
                               "from the one before")
                  ->expected(2, CLI::detail::expected_max_vector_size)
                  ->required();
    AddFormatOption(*m_command, m_format, {"text", "csv", "json"},
                    "Write the joins as tab-separated text (default), as CSV with a header line "
                    "or as one JSON object with the settings used");
    m_map = AddMapOptions(*m_command, "the joins");
  }
  JoinsOptions(const JoinsOptions&) = delete;
  JoinsOptions& operator=(const JoinsOptions&) = delete;

  const CLI::App& Command() const { return *m_command; }

  JoinsArguments Read() const {
    JoinsArguments arguments;
    arguments.MarkSources = MarkSourcesInOrder(*m_command, m_markList);
    arguments.Ellipsoid = EllipsoidOf(m_ellipsoid);
    arguments.MaxOrder = ValueOf(m_maxOrder).value_or(arguments.MaxOrder);
    arguments.Height = ValueOf(m_height);
    arguments.Picks = m_pickedNumbers;
    arguments.Format = FormatOf(m_format);
    arguments.Map = ReadMapOptions(m_map, arguments.Ellipsoid);
    return arguments;
  }

 private:
  CLI::App* m_command;
  MarkListOptions m_markList;
  CLI::Option* m_ellipsoid;
  CLI::Option* m_maxOrder;
  CLI::Option* m_height = nullptr;
  CLI::Option* m_picks = nullptr;
  MapOptions m_map{};
  std::vector<std::string> m_pickedNumbers;
  std::string m_format = "text";
};

// The save command: the mark list saved as a Mark Details file.
class SaveOptions {
 public:
  explicit SaveOptions(CLI::App& app)
      : m_command(app.add_subcommand(
            "save", "Save the mark list as a Mark Details file, as the Save command does")),
        m_markList(AddMarkListOptions(*m_command)) {
    m_out = m_command
                ->add_option("--out",
                             "The Mark Details file to write (replaced whole; - writes standard "
                             "output)")
                ->type_name("FILE")
                ->required();
  }
  SaveOptions(const SaveOptions&) = delete;
  SaveOptions& operator=(const SaveOptions&) = delete;

  const CLI::App& Command() const { return *m_command; }

  SaveArguments Read() const {
    SaveArguments arguments;
    arguments.MarkSources = MarkSourcesInOrder(*m_command, m_markList);
    arguments.Out = m_out->results().front();
    if (arguments.Out.empty()) throw BadArguments("--out needs a file name");
    return arguments;
  }

 private:
  CLI::App* m_command;
  MarkListOptions m_markList;
  CLI::Option* m_out = nullptr;
};

// The batch command: many plans against one mark list, on several threads.
class BatchOptions {
 public:
  explicit BatchOptions(CLI::App& app)
      : m_command(app.add_subcommand("batch",
                                     "Compare many plans against one mark list, read once, and "
                                     "write one summary line per plan")),
        m_markList(AddMarkListOptions(*m_command)) {
    m_plans = m_command
                  ->add_option("PLAN", m_planNames,
                               "Plan identifiers, .lns files, or folders searched (with "
                               "their subfolders) for .lns files")
                  ->type_name("PLAN");
    m_plansFrom =
        m_command
            ->add_option("--plans-from", "A file of plans, one a line (- reads standard input)")
            ->type_name("FILE");
    m_criterion = AddCriterionOption(*m_command);
    m_criteriaAndMixed = AddCriteriaAndMixedOptions(*m_command);
    m_maxOrder = AddMaxOrderOption(*m_command);
    m_ellipsoid = AddEllipsoidOption(*m_command);
    m_jobs = m_command
                 ->add_option("--jobs", m_jobCount,
                              "Plans compared at once (default: the machine's cores)")
                 ->type_name("N");
    m_command->add_option("--reports", m_reports, "Save each plan's joins report in the folder DIR")
        ->type_name("DIR");
    AddFormatOption(*m_command, m_format, {"text", "csv", "json"},
                    "Write the summary as a text table (default), as CSV with a header line or "
                    "as JSON Lines (one object a plan)");
  }
  BatchOptions(const BatchOptions&) = delete;
  BatchOptions& operator=(const BatchOptions&) = delete;

  const CLI::App& Command() const { return *m_command; }

  BatchArguments Read() const {
    BatchArguments arguments;
    arguments.MarkSources = MarkSourcesInOrder(*m_command, m_markList);
    arguments.Plans = m_planNames;
    if (std::find(m_planNames.begin(), m_planNames.end(), kStandardStream) != m_planNames.end()) {
      throw BadArguments(std::string(kPlanNotAStream) + "; --plans-from - reads a list of plans");
    }
    arguments.PlansFrom = ValueOf(m_plansFrom);
    if (arguments.Plans.empty() && !arguments.PlansFrom) {
      throw BadArguments("batch needs plans: PLAN..., a folder or --plans-from FILE");
    }
    arguments.Settings.Criterion = ValueOf(m_criterion).value_or(arguments.Settings.Criterion);
    arguments.Settings.CriteriaFile = ValueOf(m_criteriaAndMixed.first);
    arguments.Settings.AllowMixed = m_criteriaAndMixed.second->count() > 0;
    arguments.Settings.MaxOrder = ValueOf(m_maxOrder).value_or(arguments.Settings.MaxOrder);
    arguments.Settings.Ellipsoid = EllipsoidOf(m_ellipsoid);
    if (m_jobs->count() > 0 && m_jobCount < 1) {
      throw BadArguments("--jobs needs a number of 1 or more");
    }
    arguments.Jobs = m_jobs->count() > 0 ? static_cast<unsigned>(m_jobCount) : 0;
    arguments.Format = FormatOf(m_format);
    if (!m_reports.empty()) arguments.Reports = m_reports;
    return arguments;
  }

 private:
  CLI::App* m_command;
  MarkListOptions m_markList;
  CLI::Option* m_plans = nullptr;
  CLI::Option* m_plansFrom = nullptr;
  CLI::Option* m_criterion = nullptr;
  std::pair<CLI::Option*, CLI::Option*> m_criteriaAndMixed;
  CLI::Option* m_maxOrder = nullptr;
  CLI::Option* m_ellipsoid = nullptr;
  CLI::Option* m_jobs = nullptr;
  std::vector<std::string> m_planNames;
  int m_jobCount = 0;
  std::string m_reports;
  std::string m_format = "text";
};

// The convert command: a plan written as LandXML.
class ConvertOptions {
 public:
  explicit ConvertOptions(CLI::App& app)
      : m_command(app.add_subcommand("convert", "Write a plan as a LandXML 1.2 file")) {
    m_plan =
        m_command
            ->add_option("--plan", "The plan: its identifier, its .lns file or a LandXML .xml file")
            ->type_name("PLAN")
            ->required();
    m_to = m_command->add_option("--to", "The LandXML file to write (- writes standard output)")
               ->type_name("FILE")
               ->required();
  }
  ConvertOptions(const ConvertOptions&) = delete;
  ConvertOptions& operator=(const ConvertOptions&) = delete;

  const CLI::App& Command() const { return *m_command; }

  ConvertArguments Read() const {
    ConvertArguments arguments;
    arguments.Plan = m_plan->results().front();
    arguments.To = m_to->results().front();
    if (arguments.Plan.empty()) throw BadArguments("--plan needs a plan identifier");
    if (arguments.To.empty()) throw BadArguments("--to needs a file name");
    return arguments;
  }

 private:
  CLI::App* m_command;
  CLI::Option* m_plan = nullptr;
  CLI::Option* m_to = nullptr;
};

constexpr const char* kCommandNames =
    "the commands are compare, diagnose, joins, save, batch and convert";

}  // namespace

CliArguments ParseCliArguments(const std::vector<std::string>& args) {
  CLI::App app(
      "Checks survey plans against Map Grid of Australia coordinates of Permanent Survey "
      "Marks. The mark list options (--marks, --import with --columns) may be repeated "
      "and are applied in the order given. An output file that is a device or FIFO (such as "
      "/dev/null) is written in place, any other is replaced whole; an output may not name an "
      "input file or another output.",
      kCliName);
  app.set_help_flag("-h,--help", "Show the usage of every command and exit");
  app.set_version_flag("--version", std::string("KestralMGA ") + kProgramVersion,
                       "Show the program's version and exit");
  app.require_subcommand(1);
  // Parsing writes the commands' flags.
  CompareOptions compare(app, "compare", "Compare the plan's PSM joins with their MGA joins",
                         {"text", "csv", "json"},
                         "Write the result lines (default), CSV with a header line and one row "
                         "per join, or one JSON object with the settings, joins and summary",
                         /*withDiagram=*/true);
  CompareOptions diagnose(app, "diagnose",
                          "Compare the plan's PSM joins and say why joins fail: failures per mark, "
                          "likely culprits, the fit of the marks, renumbered marks and the plan's "
                          "checks",
                          {"text", "csv", "json"},
                          "Write the diagnosis as text (default), its table of marks as CSV with "
                          "a header line, or the whole as one JSON object");
  JoinsOptions joins(app);  // not const: parsing writes the picked numbers
  const SaveOptions save(app);
  BatchOptions batch(app);
  const ConvertOptions convert(app);

  CliArguments result;
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    result.Which = CliArguments::Command::Help;
    const std::vector<CLI::App*> given = app.get_subcommands();
    result.Text =
        given.empty() ? app.help("", CLI::AppFormatMode::All) : given.front()->help(kCliName);
    return result;
  } catch (const CLI::CallForAllHelp&) {
    result.Which = CliArguments::Command::Help;
    result.Text = app.help("", CLI::AppFormatMode::All);
    return result;
  } catch (const CLI::CallForVersion& version) {
    result.Which = CliArguments::Command::Version;
    result.Text = std::string(version.what()) + "\n";
    return result;
  } catch (const CLI::ParseError& error) {
    if (args.empty()) {
      throw BadArguments(std::string("no command given (") + kCommandNames + "; see --help)");
    }
    if (app.get_subcommands().empty() && !args.front().starts_with('-')) {
      throw BadArguments("unknown command " + args.front() + " (" + kCommandNames + ")");
    }
    throw BadArguments(error.what());
  }
  if (joins.Command().parsed()) {
    result.Which = CliArguments::Command::Joins;
    result.Joins = joins.Read();
  } else if (save.Command().parsed()) {
    result.Which = CliArguments::Command::Save;
    result.Save = save.Read();
  } else if (batch.Command().parsed()) {
    result.Which = CliArguments::Command::Batch;
    result.Batch = batch.Read();
  } else if (convert.Command().parsed()) {
    result.Which = CliArguments::Command::Convert;
    result.Convert = convert.Read();
  } else if (diagnose.Command().parsed()) {
    result.Which = CliArguments::Command::Diagnose;
    result.Compare = diagnose.Read();
  } else {
    result.Which = CliArguments::Command::Compare;
    result.Compare = compare.Read();
  }
  return result;
}

}  // namespace modKestralMGA
