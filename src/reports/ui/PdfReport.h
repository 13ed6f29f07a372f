#pragma once

// The printed joins report as a PDF file, for the batch program. This header is free of Qt, so
// that the batch program's sources stay so; the function itself renders through Qt.
#include <string>

#include "common/Seams.h"
#include "geodesy/Joins.h"
#include "plan/Plan.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

// Renders the printed joins report (PrintJoinsReport through the printer back end, in the
// report font) to a PDF file at path: A4 portrait, margins 10 mm at the sides and 15 mm at top
// and bottom. Creates a Qt application on the offscreen platform for the time of the call when
// the program has none, and registers the report font in the application. The file is replaced
// atomically, and only when the whole report was rendered. A file that cannot be written, or a
// report font that cannot be loaded, shows "Cannot write <path>: <reason>" under "Printing Joins
// error" (exclamation); failures of the report show their own messages. Returns whether the
// file was written.
bool PrintJoinsReportToPdf(const std::string& path, const Plan& plan, JoinContext& context,
                           const ReportSettings& settings, const std::string& dateText,
                           MessageSink& sink);

}  // namespace modKestralMGA
