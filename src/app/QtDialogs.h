#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "app/Dialogs.h"

// The program's dialogs: Qt's message boxes (OK button only; Save, Discard and Cancel for the
// question whether to save first), file dialogs, print dialog and print
// preview. The only code that calls QMessageBox, QFileDialog, QPrintDialog and
// QPrintPreviewDialog.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
  // The window the dialogs are shown over.
  void SetParent(QWidget* parent) { m_parent = parent; }

  void Message(const std::string& text, const std::string& title,
               modKestralMGA::MessageIcon icon) override;
  SaveAnswer AskToSave(const std::string& text, const std::string& title) override;
  bool AskToContinue(const std::string& text, const std::string& title) override;
  std::string OpenFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter) override;
  std::string SaveFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter, bool confirmReplace) override;
  bool ChoosePrinter(const std::string& title, QPrinter& printer) override;
  void ShowPrintPreview(const std::string& title,
                        const std::function<void(QPrinter&)>& paint) override;

 private:
  QPointer<QWidget> m_parent;
};

// The name filters of a Qt file dialog for a filter written as description|pattern pairs. A
// description that already ends with its pattern in parentheses ("CSV Files (*.CSV)") is shown
// as it is; otherwise the pattern is added in parentheses, where Qt reads it from.
QStringList QtNameFilters(const std::string& filter);

// A message text as the user reads it: text that is valid UTF-8 (paths, the program's own
// words) is taken as UTF-8; anything else holds cells of the list and is read as Windows-1252.
QString MessageText(const std::string& text);
