#pragma once

#include <string>

#include "common/AtomicFile.h"
#include "common/ColumnWriter.h"
#include "common/Seams.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

struct ComparedJoins;

// The two forms of the joins report. They differ in the PSM list (printed: the PSM list print,
// title at column 10, eight columns; saved: title at column 1, seven columns) and in the columns
// of the full block (printed 15, 30, 45, 60; saved 12, 25, 40, 55).
enum class ReportForm { Printed, Saved };

// The titles of the report's failures and of its completion notice.
inline constexpr const char* kPrintJoinsErrorTitle = "Printing Joins error";
inline constexpr const char* kSaveJoinsErrorTitle = "Save Joins to file error";
// Shown by the caller, exclamation icon, only after the report routine succeeded.
inline constexpr const char* kPrintJoinsTitle = "Print Joins";
inline constexpr const char* kPrintingCompletedText = "Printing completed";

// Composes the joins report of the plan into out, in the given form: the PSM list when "Print
// PSM List" is checked; the heading (a rule of 65 hyphens, "Joins between Permanent Survey Marks
// in plan " and the plan identifier, the rule again, "Printed on " and dateText, "Accuracy
// Criterion = " and the criterion, with its BearingFormula and DistanceFormula lines when it is a
// user's own, "Average Height of survey = " and the height text as typed
// and " metres", an empty line); the bearing datum section when "2 PSM's" is chosen; then one
// block for every pair of plan points numbered above 4600 (i from entry 0, j after it), each
// followed by an empty line. A pair is judged by JudgeJoin, as the comparison judges it: not
// acceptable gives the full block and "*** JOIN NOT ACCEPTABLE ***" at column 25; acceptable
// gives "i to j" and "JOIN ACCEPTABLE" at column 35, or the full block and that line when "Print
// full join details" is checked; a point left unsolved, a mark above the order limit or missing
// from the list give "i to j" and, at column 30, "Plan coordinates not available", "Scaled
// Coordinates found" or "MGA Coordinates not available". The full block: headings "From", "To",
// "Bearing", "Distance"; the plan line with "(KESTRAL)" and the MGA line with "(MGA)" (bearings
// ddd.mmss "0.0000", distances metres "0.000"); "Combined Scale Factor = " ("0.00000000");
// "Diff in bearing = " and " Allowable = " in seconds ("0.0"); "Diff in distance = " and
// "Allowable = " in metres ("0.000"). A criterion that is none of the criteria is refused first
// ("Unknown accuracy criterion: ...", "Join Comparison"): nothing is written and false is
// returned; otherwise true. When "Print diagnosis" is checked the report ends with the diagnosis
// of the joins its blocks judged: a rule, "Diagnosis of PSM joins for " and the plan identifier,
// the rule again, then the lines of DiagnosisLines after their title (printed: a line beyond 80
// characters broken at a blank, the rest indented by four). An average height beyond
// 100000 m throws KestralError (HeightBeyondLimitText) before anything is written. Throws what a
// failure inside it throws (KeyTooLargeError for a datum number, a failure of the output).
// compared, when given, holds the comparison's judgements of this plan's joins: while the list
// and the settings are still those they were judged under (JudgingConditions), the report takes
// them in place of judging every join again.
bool WriteJoinsReport(ReportForm form, const Plan& plan, JoinContext& context,
                      const ReportSettings& settings, const std::string& dateText,
                      ColumnWriter& out, MessageSink& sink,
                      const ComparedJoins* compared = nullptr);

// The printed joins report: WriteJoinsReport in the printed form into the printer's column
// writer, whose print job the caller has begun (10-point font) and ends. A failure shows its
// description under "Printing Joins error" (exclamation); what was written stays in the job.
// Returns whether the report was written whole.
bool PrintJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                      const std::string& dateText, ColumnWriter& printer, MessageSink& sink);

// The saved joins report's bytes: WriteJoinsReport in the saved form into the text back end (one
// byte a column, CR LF), handed to output in pieces as they are composed (TextColumnWriter). A
// failure shows its description under "Save Joins to file error" (exclamation). Returns whether
// the report was composed whole (output may have had its first pieces otherwise). compared: as
// WriteJoinsReport takes it.
bool StreamSavedJoinsReport(const Plan& plan, JoinContext& context, const ReportSettings& settings,
                            const std::string& dateText, const TextColumnWriter::Output& output,
                            MessageSink& sink, const ComparedJoins* compared = nullptr);

// The saved joins report: StreamSavedJoinsReport into the file at path (AtomicFileWriter over
// ops: replaced atomically once the report is complete, or a device written in place). A failure
// shows its description under "Save Joins to file error" (exclamation) and leaves any earlier
// file untouched. Returns whether the file was written. compared: as WriteJoinsReport takes it.
bool SaveJoinsReport(const std::string& path, const Plan& plan, JoinContext& context,
                     const ReportSettings& settings, const std::string& dateText, MessageSink& sink,
                     FileOps& ops = SystemFileOps(), const ComparedJoins* compared = nullptr);

}  // namespace modKestralMGA
