#include "reports/ui/PrintJob.h"

#include <QPageLayout>
#include <QPainter>
#include <algorithm>

#include <exception>

#include "common/Errors.h"
#include "reports/JoinDiagram.h"
#include "reports/JoinsReport.h"
#include "reports/ui/DiagramPainter.h"
#include "reports/ui/PrinterColumnWriter.h"

namespace modKestralMGA {

QMarginsF ReportPageMargins() {
  return {10.0, 15.0, 10.0, 15.0};
}

void SetReportMargins(QPagedPaintDevice& device) {
  device.setPageMargins(ReportPageMargins(), QPageLayout::Millimeter);
}

bool RunPrintJob(QPagedPaintDevice& device, const std::function<bool(ColumnWriter&)>& compose,
                 const std::function<bool(QPainter&)>& lastPage) {
  QPainter painter(&device);
  // The writer refuses a painter that did not start on the device.
  PrinterColumnWriter writer(painter, device);
  bool written = compose(writer);
  if (written && lastPage) written = lastPage(painter);
  if (!painter.end()) throw KestralError("The print job could not be finished");
  return written;
}

bool PrintDiagramPage(QPagedPaintDevice& device, QPainter& painter, const Plan& plan,
                      JoinContext& context, const ReportSettings& settings,
                      const std::string& dateText, MessageSink& sink, bool onlyNotAcceptable) {
  if (!settings.PrintDiagram()) return true;
  try {
    const JoinDiagram diagram =
        ComposeJoinDiagram(plan, context, settings, dateText, settings.DiagramExaggeration());
    if (!device.newPage()) throw KestralError("The printer could not start a new page");
    const QPaintDevice& page = *painter.device();
    const double unit = double(page.width()) / std::max(1, page.widthMM());
    painter.save();
    PaintDiagramSheet(painter, QRectF(0, 0, page.width(), page.height()), diagram, unit,
                      onlyNotAcceptable);
    painter.restore();
    return true;
  } catch (const std::exception& failure) {
    sink.Message(failure.what(), kPrintJoinsErrorTitle, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace modKestralMGA
