#include "reports/ui/PrinterColumnWriter.h"

#include <QString>
#include <algorithm>
#include <string>
#include <utility>

#include "common/Cp1252.h"
#include "common/Errors.h"

namespace modKestralMGA {

namespace {

constexpr qreal kReportPointSize = 10.0;

// The part of a column by which a position may lie past the column's start and still count as
// at it: absorbs the rounding of text widths summed in device units.
constexpr qreal kColumnSlack = 1e-3;

QFont AtReportSize(QFont font) {
  font.setPointSizeF(kReportPointSize);
  return font;
}

// The painter's device, which must exist: the painter has to be active.
QPaintDevice& ActiveDevice(QPainter& painter) {
  if (!painter.isActive() || painter.device() == nullptr) {
    throw KestralError("The printer could not be started");
  }
  return *painter.device();
}

}  // namespace

QFont ReportFont() {
  // Courier New, the printers' fixed-pitch font, or the fixed-pitch font that stands in for it
  // (Liberation Mono has its metrics).
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return AtReportSize(font);
}

PrinterColumnWriter::PrinterColumnWriter(QPainter& painter, QPagedPaintDevice& device,
                                         const QFont& font)
    : PrinterColumnWriter(
          painter, [pages = &device] { return pages->newPage(); }, font) {}

PrinterColumnWriter::PrinterColumnWriter(QPainter& painter, std::function<bool()> newPage,
                                         const QFont& font)
    : m_painter(painter),
      m_newPage(std::move(newPage)),
      m_font(AtReportSize(font)),
      m_metrics(m_font, &ActiveDevice(painter)) {
  m_painter.setFont(m_font);
  m_columnWidth = m_metrics.averageCharWidth();
  m_lineHeight = m_metrics.lineSpacing();
  m_pageHeight = painter.device()->height();
}

void PrinterColumnWriter::Field(int column, std::string_view text) {
  const qreal start = (std::max(column, 1) - 1) * m_columnWidth;
  if (m_x > start + kColumnSlack * m_columnWidth) EndLine();
  m_x = start;
  if (!text.empty()) Draw(text);
}

void PrinterColumnWriter::Text(std::string_view text) {
  if (!text.empty()) Draw(text);
}

void PrinterColumnWriter::EndLine() {
  m_y += m_lineHeight;
  m_x = 0.0;
  m_lineStarted = false;
}

void PrinterColumnWriter::Draw(std::string_view text) {
  if (!m_lineStarted) {
    if (m_y > 0.0 && m_y + m_lineHeight > m_pageHeight) {
      if (!m_newPage()) throw KestralError("The printer could not start a new page");
      ++m_pages;
      m_y = 0.0;
    }
    m_lineStarted = true;
  }
  const QString shown = QString::fromStdString(Cp1252ToUtf8(text));
  m_painter.drawText(QPointF(m_x, m_y + m_metrics.ascent()), shown);
  m_x += m_metrics.horizontalAdvance(shown);
}

}  // namespace modKestralMGA
