#pragma once

#include <cstdint>
#include <string>

#include "common/ByteBuffer.h"
#include "common/Seams.h"
#include "plan/Plan.h"

namespace modKestralMGA {

// The titles of the lines file's messages.
inline constexpr const char* kReadKestralFileErrorTitle = "Read KESTRAL file error";
inline constexpr const char* kLoadLinesErrorTitle = "Load Lines error";

// The plan identifier for a typed or chosen file name: the name without its last four
// characters when those, compared in upper case, are ".LNS" (so /plans/1234.lns and
// /plans/1234.LNS both give /plans/1234); otherwise the name itself.
std::string PlanIdentifierFromName(const std::string& name);

// The lines file of a plan as the program names it: the plan identifier followed by ".lns".
// The file opened is this name resolved without regard to letter case; messages show the name.
std::string LinesFileName(const std::string& planIdentifier);

// The bytes of a plan's lines file as one command read them: ValidKESTRALfile fills it and
// LoadLines reads its records from it, so that the file is read once per command.
struct LinesFileText {
  std::string PlanIdentifier;    // the plan identifier the bytes belong to
  ByteBuffer Bytes;              // the file's bytes after the text-file rules (BOM, 0x1A dropped)
  bool Read = false;             // true once the bytes were read without failure
  std::int64_t RecordCount = 0;  // the non-blank lines of Bytes, once read
};

// The number of records in the lines file of planIdentifier (its non-blank lines), reading the
// file into text. When no such file exists, hands "Cannot find plan file " + planIdentifier to
// sink; when it cannot be read, the description of the failure; both titled "Read KESTRAL file
// error" with an exclamation icon, and returns 0. An empty file (or one of blank lines only)
// gives 0 without a message.
std::int64_t ValidKESTRALfile(const std::string& planIdentifier, MessageSink& sink,
                              LinesFileText& text);

// Reads the records of the lines file of planIdentifier into plan.PlanLines, one record per
// non-blank line: from point, to point, bearing (ddd.mmss or a coded value), distance (metres),
// with InUse 0. Uses the bytes of alreadyRead when they belong to planIdentifier, else reads the
// file. PlanLines gets one zeroed record per non-blank line, filled from index 0. Returns 1 when
// every record was read. On a failure (a line without exactly four values, a value that is not
// a number, a number beyond the range of a double, a point number beyond 32 bits, an unreadable
// file) hands the description to sink titled "Load Lines error" with an exclamation icon and
// returns 0; the records read before the failure stay.
int LoadLines(const std::string& planIdentifier, const LinesFileText& alreadyRead,
              MessageSink& sink, Plan& plan);
int LoadLines(const std::string& planIdentifier, MessageSink& sink, Plan& plan);

// Marks the lines that can place points: InUse = 1 on every record whose Bearing is not exactly
// 999 (bit for bit the double 999.0); the records coded 999 keep InUse 0.
void MarkLinesInUse(Plan& plan);

}  // namespace modKestralMGA
