#include "reports/ui/PrintJob.h"

#include <QPageLayout>
#include <QPainter>

#include "common/Errors.h"
#include "reports/ui/PrinterColumnWriter.h"

namespace modKestralMGA {

QMarginsF ReportPageMargins() {
  return {10.0, 15.0, 10.0, 15.0};
}

void SetReportMargins(QPagedPaintDevice& device) {
  device.setPageMargins(ReportPageMargins(), QPageLayout::Millimeter);
}

bool RunPrintJob(QPagedPaintDevice& device, const std::function<bool(ColumnWriter&)>& compose) {
  QPainter painter(&device);
  // The writer refuses a painter that did not start on the device.
  PrinterColumnWriter writer(painter, device);
  const bool written = compose(writer);
  if (!painter.end()) throw KestralError("The print job could not be finished");
  return written;
}

}  // namespace modKestralMGA
