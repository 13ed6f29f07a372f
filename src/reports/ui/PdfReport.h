#pragma once

// The printed joins report as a PDF file, for the batch program. This header is free of Qt, so
// that the batch program's sources stay so; the function itself renders through Qt.
#include <string>

#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

// Renders the printed joins report (PrintJoinsReport through the printer back end, 10-point
// report font) as the bytes of a PDF file: A4 portrait, margins 10 mm at the sides and 15 mm at top
// and bottom. Creates a Qt application on the offscreen platform for the time of the call when the
// program has none, and registers the report font in the application. Failures of the report show
// their own messages; a PDF that cannot be made shows "Cannot write <name>: <reason>" under
// "Printing Joins error" (exclamation), name naming the output. Returns whether the whole report
// was rendered into bytes.
bool RenderJoinsReportPdf(const std::string& name, const Plan& plan, JoinContext& context,
                          const ReportSettings& settings, const std::string& dateText,
                          std::string& bytes, MessageSink& sink);

// RenderJoinsReportPdf written to the file at path (AtomicWriteFile over ops: replaced
// atomically, or a device written in place), only when the whole report was rendered. A file
// that cannot be written shows "Cannot write <path>: <reason>" under "Printing Joins error"
// (exclamation). Returns whether the file was written.
bool PrintJoinsReportToPdf(const std::string& path, const Plan& plan, JoinContext& context,
                           const ReportSettings& settings, const std::string& dateText,
                           MessageSink& sink, FileOps& ops = SystemFileOps());

}  // namespace modKestralMGA
