#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/Seams.h"

class QPrinter;

// The dialogs seam: every message box, file dialog, print dialog and print preview of the
// windows goes through it. The program shows Qt's own (QtDialogs); tests install a scripted
// double that records the messages and answers the prompts from a queue.
class Dialogs : public modKestralMGA::MessageSink {
 public:
  // The answers to the question whether to save changed work first.
  enum class SaveAnswer { Save, Discard, Cancel };
  // Asks text under title with the buttons Save, Discard and Cancel (Escape: Cancel).
  virtual SaveAnswer AskToSave(const std::string& text, const std::string& title) = 0;

  // Warns text under title (exclamation) with the buttons Continue and Cancel (Escape: Cancel,
  // which is also the default). True when the user chooses Continue.
  virtual bool AskToContinue(const std::string& text, const std::string& title) = 0;

  // Asks for a file to open. filter is written as the program writes it: description|pattern
  // pairs ("CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp"), patterns matched
  // regardless of letter case. Returns the chosen path as the file system's bytes, empty when the
  // user cancels.
  virtual std::string OpenFileName(const std::string& title, const std::string& initialName,
                                   const std::string& filter) = 0;

  // Asks for a file to save to, as OpenFileName. With confirmReplace the dialog asks before an
  // existing file is chosen (losing a file to a mistyped name is data loss). A name typed without
  // an extension gets the first pattern's (DefaultSuffix), before that question.
  virtual std::string SaveFileName(const std::string& title, const std::string& initialName,
                                   const std::string& filter, bool confirmReplace) = 0;

  // Asks where and how to print (the print dialog, titled title). Returns false when the user
  // cancels; otherwise printer is set up as chosen.
  virtual bool ChoosePrinter(const std::string& title, QPrinter& printer) = 0;

  // Shows the pages as they would print (the print preview, titled title) until the user closes
  // it: paint draws them on the printer it is given, as Print draws them on the chosen one.
  virtual void ShowPrintPreview(const std::string& title,
                                const std::function<void(QPrinter&)>& paint) = 0;
};

// One entry of a dialog filter: what the user reads, and the pattern of the names it shows.
struct DialogFilterEntry {
  std::string Description;  // "CSV Files (*.CSV)"
  std::string Pattern;      // "*.csv"
};

// The entries of a filter written as description|pattern pairs, in order. A description without
// its pattern (an odd number of parts) keeps an empty pattern.
std::vector<DialogFilterEntry> ParseDialogFilter(const std::string& filter);

// The extension a save dialog adds to a name typed without one: that of the filter's first
// pattern ("csv" for "CSV files (*.CSV)|*.csv"), "" when it names none ("*.*", "*").
std::string DefaultSuffix(const std::string& filter);
