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
#include "reports/ui/PrintJob.h"
#include "reports/ui/PrinterColumnWriter.h"
#include "reports/ui/ReportFont.h"

namespace modKestralMGA {

namespace {

// Qt's own diagnostics (a missing runtime folder, font fallbacks) are not the batch program's
// messages: its standard error carries only "<title>: <text>" lines.
void DropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// A Qt application on the offscreen platform for as long as it lives, when the program has
// none: fonts and painting need one, and the batch program has no display. While it lives,
// Qt's diagnostics are dropped.
class OffscreenApplication {
 public:
  OffscreenApplication() {
    if (QCoreApplication::instance() == nullptr) {
      m_previousHandler = qInstallMessageHandler(DropQtMessage);
      m_application = std::make_unique<QGuiApplication>(m_argc, m_argv.data());
    }
  }
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;
  ~OffscreenApplication() {
    if (m_application) {
      m_application.reset();
      qInstallMessageHandler(m_previousHandler);
    }
  }

 private:
  std::array<char, 15> m_name{"kestralmga-cli"};
  std::array<char, 10> m_option{"-platform"};
  std::array<char, 10> m_platform{"offscreen"};
  std::array<char*, 4> m_argv{m_name.data(), m_option.data(), m_platform.data(), nullptr};
  int m_argc = 3;
  QtMessageHandler m_previousHandler = nullptr;
  std::unique_ptr<QGuiApplication> m_application;
};

void CannotWrite(const std::string& path, const QString& reason, MessageSink& sink) {
  sink.Message("Cannot write " + path + ": " + reason.toStdString(), kPrintJoinsErrorTitle,
               MessageIcon::Exclamation);
}

}  // namespace

bool RenderJoinsReportPdf(const std::string& name, const Plan& plan, JoinContext& context,
                          const ReportSettings& settings, const std::string& dateText,
                          std::string& bytes, MessageSink& sink) {
  const OffscreenApplication application;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    CannotWrite(name, QStringLiteral("no graphical application to render with"), sink);
    return false;
  }
  try {
    RegisterReportFont();  // the application made here has none yet
  } catch (const KestralError& e) {
    CannotWrite(name, QString::fromUtf8(e.what()), sink);
    return false;
  }
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
      CannotWrite(name, QStringLiteral("the PDF could not be started"), sink);
      return false;
    }
    PrinterColumnWriter printer(painter, pdf);
    written = PrintJoinsReport(plan, context, settings, dateText, printer, sink);
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
