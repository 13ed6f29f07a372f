#pragma once

#include <string>

#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"

namespace modKestralMGA {

// How opening a Mark Details file went.
enum class OpenOutcome {
  Refused,  // fewer than 11 commas in the first line (or the file could not be read): list
            // unchanged
  Read,     // the marks were read
  Stopped,  // reading stopped at a refused value; the marks before it were added
};

struct OpenResult {
  OpenOutcome Outcome = OpenOutcome::Refused;
  std::string AverageHeightText;  // "0.000" form of the average height, when the file was read
  // The repeated marks the tidy-up left out, each with its place in the list as read (see
  // MarkRowsWithoutRepeats::TakeRemoved): what an undo of the tidy-up puts back.
  std::vector<RemovedRow> RemovedRepeats;
};

// The Open command after its dialog: counts the first line's commas (fewer than 11 refuses the
// file: "This is not a Mark Details file", "Open CSV file error", critical); empties the list
// first when it is empty by IsGridEmpty; reads the file; computes the average height (before the
// duplicates go); removes repeated PSM numbers; leaves one empty mark row when the list is then
// empty; and last shows the too-few-fields and more-fields messages (exclamation). path is
// opened; displayPath names the file in messages.
OpenResult OpenMarkDetailsFile(const std::string& path, const std::string& displayPath,
                               MarkList& list, MessageSink& sink);

// The start-up read of the screen dump file named by the command line: nothing for an empty
// path; fewer than 11 commas: "No mark details found in dump file", "Open Dump file error"
// (exclamation); otherwise reads the marks, computes the average height and removes repeated PSM
// numbers, without clearing the list first or adding an empty row after.
OpenResult ReadDumpFileAtStartUp(const std::string& path, MarkList& list, MessageSink& sink);

// The Save command's refusal before its dialog: an empty list (IsGridEmpty), or one with no
// complete row (DataToSave), shows "Nothing in list to save" under "Save PSM data error"
// (exclamation) and gives false.
bool CheckListToSave(const MarkList& list, MessageSink& sink);

// The Save command after its dialog: writes the complete rows to path atomically. A list with no
// complete row is refused before any dialog by the caller (CheckListToSave); a write failure shows
// its description under "Save CSV file error" (exclamation). Returns true when the file was
// written.
bool SaveMarkDetailsFile(const std::string& path, const MarkList& list, MessageSink& sink,
                         FileOps& ops = SystemFileOps());

}  // namespace modKestralMGA
