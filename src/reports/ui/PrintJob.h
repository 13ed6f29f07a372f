#pragma once

#include <QMarginsF>
#include <QPagedPaintDevice>
#include <functional>
#include <string>

#include "common/ColumnWriter.h"
#include "common/Seams.h"
#include "markjoins/MarkJoins.h"
#include "plan/Plan.h"
#include "reports/ReportSettings.h"

namespace modKestralMGA {

// The page margins of a printed report, in millimetres: 10 at the sides, 15 at top and bottom.
// An A4 portrait page less the side margins holds 89 columns of the report font, a US Letter page
// 92: the PSM list's Status column (79) with a status of ten characters, the widest report line.
QMarginsF ReportPageMargins();

// Gives device the report's page margins. The windows set them before the print dialog and the
// preview, where the user may still change them.
void SetReportMargins(QPagedPaintDevice& device);

// One print job on device (a printer, a PDF writer, the pages of a print preview): begins it,
// lets compose write its lines through the printer back end (10-point report font) and ends the
// job, which sends what was written, also when compose returns false (compose has then shown its
// own failure). Returns what compose returns. Throws KestralError when device cannot be started
// ("The printer could not be started") or the job cannot be finished ("The print job could not
// be finished"), and what compose throws.
// With lastPage, runs it on the job's painter once compose returned true, before the job ends,
// and returns what it returns.
bool RunPrintJob(QPagedPaintDevice& device, const std::function<bool(ColumnWriter&)>& compose,
                 const std::function<bool(QPainter&)>& lastPage = {});

// When "Print diagram" is checked, ends a printed joins report with the join diagram on a page
// of its own of device, on which painter is active: the diagram as ComposeJoinDiagram makes it
// (the residual arrows' exaggeration from the settings), scaled to the printable area with its
// legend and title block; with onlyNotAcceptable, only the joins not acceptable. A failure shows
// its description under "Printing Joins error" (exclamation) and gives false; otherwise true.
bool PrintDiagramPage(QPagedPaintDevice& device, QPainter& painter, const Plan& plan,
                      JoinContext& context, const ReportSettings& settings,
                      const std::string& dateText, MessageSink& sink,
                      bool onlyNotAcceptable = false);

}  // namespace modKestralMGA
