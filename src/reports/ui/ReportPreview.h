#pragma once

#include <QPrinter>
#include <functional>
#include <string>

#include "app/Dialogs.h"

// Shows a report's pages in the print preview titled title, as print draws them on a printer.
// The pages start with the report's margins (the user may change them there, as in the print
// dialog). A failure of print shows its description under failureTitle (exclamation); the pages
// drawn before it stay in view.
void ShowReportPreview(Dialogs& dialogs, const std::string& title, const std::string& failureTitle,
                       const std::function<void(QPrinter&)>& print);
