#include "reports/ui/PdfReport.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <array>
#include <memory>

#include "common/Errors.h"
#include "reports/JoinsReport.h"
#include "reports/ui/OffscreenApplication.h"
#include "reports/ui/PrintJob.h"
#include "reports/ui/PrinterColumnWriter.h"
#include "reports/ui/ReportFont.h"

namespace modKestralMGA {

void CannotWrite(const std::string& name, const QString& reason, const std::string& title,
                 MessageSink& sink) {
  sink.Message("Cannot write " + name + ": " + reason.toStdString(), title,
               MessageIcon::Exclamation);
}

bool OffscreenApplication::CanPaint(const std::string& name, const std::string& title,
                                    MessageSink& sink) const {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    CannotWrite(name, QStringLiteral("no graphical application to render with"), title, sink);
    return false;
  }
  try {
    RegisterReportFont();  // an application made here has none yet
  } catch (const KestralError& e) {
    CannotWrite(name, QString::fromUtf8(e.what()), title, sink);
    return false;
  }
  return true;
}

bool RenderJoinsReportPdf(const std::string& name, const Plan& plan, JoinContext& context,
                          const ReportSettings& settings, const std::string& dateText,
                          std::string& bytes, MessageSink& sink) {
  const OffscreenApplication application;
  if (!application.CanPaint(name, kPrintJoinsErrorTitle, sink)) return false;
  QByteArray rendered;
  QBuffer buffer(&rendered);
  buffer.open(QIODevice::WriteOnly);
  bool written = false;
  {
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("KestralMGA"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  ReportPageMargins(), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&pdf)) {
      CannotWrite(name, QStringLiteral("the PDF could not be started"), kPrintJoinsErrorTitle,
                  sink);
      return false;
    }
    PrinterColumnWriter printer(painter, pdf);
    written = PrintJoinsReport(plan, context, settings, dateText, printer, sink) &&
              PrintDiagramPage(pdf, painter, plan, context, settings, dateText, sink);
    painter.end();
  }
  if (written) bytes.assign(rendered.constData(), static_cast<std::size_t>(rendered.size()));
  return written;
}

bool PrintJoinsReportToPdf(const std::string& path, const Plan& plan, JoinContext& context,
                           const ReportSettings& settings, const std::string& dateText,
                           MessageSink& sink, FileOps& ops) {
  std::string bytes;
  if (!RenderJoinsReportPdf(path, plan, context, settings, dateText, bytes, sink)) return false;
  try {
    AtomicWriteFile(path, bytes, ops);
    return true;
  } catch (const FileError& error) {
    sink.Message(error.what(), kPrintJoinsErrorTitle, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace modKestralMGA
