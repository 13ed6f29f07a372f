#include "reports/ui/PrinterColumnWriter.h"

#include <QString>
#include <algorithm>
#include <string>
#include <utility>

#include "common/Cp1252.h"
#include "common/Errors.h"
#include "reports/ui/ReportFont.h"

namespace modKestralMGA {

namespace {

// The part of a column by which a position may lie past the column's start and still count as
// at it: absorbs the rounding of text widths summed in device units.
constexpr qreal kColumnSlack = 1e-3;

// The painter's device, which must exist: the painter has to be active.
QPaintDevice& ActiveDevice(QPainter& painter) {
  if (!painter.isActive() || painter.device() == nullptr) {
    throw KestralError("The printer could not be started");
  }
  return *painter.device();
}

}  // namespace

PrinterColumnWriter::PrinterColumnWriter(QPainter& painter, QPagedPaintDevice& device)
    : PrinterColumnWriter(painter, [pages = &device] { return pages->newPage(); }) {}

PrinterColumnWriter::PrinterColumnWriter(QPainter& painter, std::function<bool()> newPage)
    : m_painter(painter),
      m_newPage(std::move(newPage)),
      m_font(ReportFont()),
      m_metrics(m_font, &ActiveDevice(painter)) {
  m_painter.setFont(m_font);
  // Every character of the fixed-pitch font advances by the same width: a digit's is the column.
  m_columnWidth = m_metrics.horizontalAdvance(QLatin1Char('0'));
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
