#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/Seams.h"

// The dialogs seam: every message box and file dialog of the windows goes through it. The
// program shows Qt's own (QtDialogs); tests install a scripted double that records the messages
// and answers the file prompts from a queue.
class Dialogs : public modKestralMGA::MessageSink {
 public:
  // Asks for a file to open. filter is written as the program writes it: description|pattern
  // pairs ("CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp"), patterns matched
  // regardless of letter case. Returns the chosen path as the file system's bytes, empty when the
  // user cancels.
  virtual std::string OpenFileName(const std::string& title, const std::string& initialName,
                                   const std::string& filter) = 0;

  // Asks for a file to save to, as OpenFileName. With confirmReplace the dialog asks before an
  // existing file is chosen (losing a file to a mistyped name is data loss).
  virtual std::string SaveFileName(const std::string& title, const std::string& initialName,
                                   const std::string& filter, bool confirmReplace) = 0;
};

// One entry of a dialog filter: what the user reads, and the pattern of the names it shows.
struct DialogFilterEntry {
  std::string Description;  // "CSV Files (*.CSV)"
  std::string Pattern;      // "*.csv"
};

// The entries of a filter written as description|pattern pairs, in order. A description without
// its pattern (an odd number of parts) keeps an empty pattern.
std::vector<DialogFilterEntry> ParseDialogFilter(const std::string& filter);
