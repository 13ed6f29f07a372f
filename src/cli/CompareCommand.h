#pragma once

#include <optional>
#include <ostream>

#include "cli/CliArguments.h"
#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "compare/AccuracyCriteria.h"

namespace modKestralMGA {

// The compare command: fills the mark list from its options, refuses an unknown criterion, takes
// the average height (the list's mean written with "0.000", each Height beyond 100000 m left out
// with a line saying so), needs two rows in the list ("Join
// Comparison: Not enough coordinates in list"), reads the plan (a plan identifier or a .lns
// name), builds the plan points and compares the joins, then writes the joins report asked for
// (--report, --pdf). A mark on no grid is taken as without coordinates, said once for the
// comparison and its reports. Messages go to err as "<title>: <text>" lines in the order they are
// shown; the result lines go to out, each ended by a line feed, only when the comparison and the
// report ran to their end. A report named "-" (--report or --pdf) is written to out in their
// place: out then holds only that report (and keeps it when the other report fails after it).
// With --format csv or json, standard output holds the comparison's joins as CompareCsv or
// CompareJson give them in place of the result lines. --geojson writes CompareGeoJson's map of
// the comparison through fileOps after the reports, or to standard output ("-") in place of the
// result lines; marks it refuses end the command before any output is written, and they and a
// failed write show their message under "Save GeoJSON file error".
// Returns 0 when every compared join was acceptable, 1 when at least one was not, 2 when the
// command could not produce its result (its message said why; nothing else written to out). The
// --report and --pdf files are written through fileOps.
// The criteria of the comparing commands: the shipped ones, with those of --criteria added.
// Nothing when that file is refused; its message (title "Accuracy criteria error", critical)
// names the file and the entry at fault.
std::optional<CriteriaTable> CriteriaOf(const CompareArguments& arguments, MessageSink& sink);

int RunCompareCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                      FileOps& fileOps = SystemFileOps());

// The diagnose command: the compare command with its options, messages, reports and exit status,
// whose standard output holds the diagnosis of the comparison's joins in place of the result
// lines: as text (DiagnosisLines), with --format csv as its table of marks (DiagnosisCsv), or with
// --format json as one JSON object (DiagnosisJson).
int RunDiagnoseCommand(const CompareArguments& arguments, std::ostream& out, std::ostream& err,
                       FileOps& fileOps = SystemFileOps());

}  // namespace modKestralMGA
