#include "reports/ui/ReportPreview.h"

#include <exception>
#include <utility>

#include "reports/ui/PrintJob.h"

void ShowReportPreview(Dialogs& dialogs, const std::string& title, const std::string& failureTitle,
                       const std::function<void(QPrinter&)>& print) {
  // The preview draws its pages again when the user changes the page set-up: the margins are
  // the report's only on the first drawing.
  dialogs.ShowPrintPreview(title, [&, firstPaint = true](QPrinter& printer) mutable {
    if (std::exchange(firstPaint, false)) modKestralMGA::SetReportMargins(printer);
    try {
      print(printer);
    } catch (const std::exception& e) {
      dialogs.Message(e.what(), failureTitle, modKestralMGA::MessageIcon::Exclamation);
    }
  });
}
